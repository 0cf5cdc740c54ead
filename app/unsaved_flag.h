#pragma once
// Whether a page holds changes not yet written: the window enables its save button from it
// and asks before throwing the changes away.

#include <functional>
#include <utility>
#include <vector>

namespace tavo {

class UnsavedFlag {
public:
    bool get() const { return value_; }
    explicit operator bool() const { return value_; }
    void set(bool value) {
        if (value == value_) return;
        value_ = value;
        for (const auto& observer : observers_) observer(value_);
    }
    void observe(std::function<void(bool)> observer) { observers_.push_back(std::move(observer)); }

private:
    bool value_ = false;
    std::vector<std::function<void(bool)>> observers_;
};

}  // namespace tavo
