#pragma once
// Whether a page holds changes its file does not have yet. The window watches it to enable its
// save button and to ask before the work is thrown away; tavo-cli reads it.

#include <functional>
#include <utility>
#include <vector>

namespace tavo {

class UnsavedFlag {
public:
    bool get() const { return unsaved_; }
    explicit operator bool() const { return unsaved_; }

    // Observers hear every change of the value, not every set.
    void set(bool unsaved) {
        if (unsaved == unsaved_) return;
        unsaved_ = unsaved;
        for (const auto& observer : observers_) observer(unsaved_);
    }
    void observe(std::function<void(bool)> observer) { observers_.push_back(std::move(observer)); }

private:
    bool unsaved_ = false;
    std::vector<std::function<void(bool)>> observers_;
};

}  // namespace tavo
