#pragma once
// Whether a document differs from its file. The document holds it; the window's title mark, its
// close question and the save buttons observe it, so no page keeps a copy.
//
// Copying or assigning a flag carries its value only: the observers stay with the flag they
// were given to, so a table read anew (`table = AccountTable{}`) still tells them.

#include <functional>
#include <utility>
#include <vector>

namespace tavo {

class ModifiedFlag {
public:
    ModifiedFlag() = default;
    ModifiedFlag(const ModifiedFlag& other) : value_(other.value_) {}
    ModifiedFlag& operator=(const ModifiedFlag& other) {
        set(other.value_);
        return *this;
    }
    ModifiedFlag& operator=(bool value) {
        set(value);
        return *this;
    }

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
