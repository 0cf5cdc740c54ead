#pragma once
// The n entries of highest value met in a pass, however many pass by: equal values rank the
// lower id first, so a ranking reads the same whatever order the file holds them in.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tavo {

// Entry has `long long value` and `std::int32_t id`.
template <class Entry>
class TopList {
public:
    explicit TopList(std::size_t most) : most_(most) {}

    // Whether an entry of this value and id would be kept: the caller builds it only then.
    bool wants(long long value, std::int32_t id) const {
        if (most_ == 0) return false;
        if (heap_.size() < most_) return true;
        return ranks_before(value, id, heap_.front().value, heap_.front().id);
    }
    void add(Entry entry) {
        if (!wants(entry.value, entry.id)) return;
        if (heap_.size() == most_) {
            std::pop_heap(heap_.begin(), heap_.end(), before);
            heap_.pop_back();
        }
        heap_.push_back(std::move(entry));
        std::push_heap(heap_.begin(), heap_.end(), before);
    }
    // The entries, first place first.
    std::vector<Entry> ranked() const {
        std::vector<Entry> list = heap_;
        std::sort(list.begin(), list.end(), before);
        return list;
    }

private:
    static bool ranks_before(long long value, std::int32_t id, long long other_value,
                             std::int32_t other_id) {
        return value != other_value ? value > other_value : id < other_id;
    }
    // As the heap's order, the entry that ranks last is at its front.
    static bool before(const Entry& a, const Entry& b) {
        return ranks_before(a.value, a.id, b.value, b.id);
    }

    std::size_t most_;
    std::vector<Entry> heap_;
};

}  // namespace tavo
