#pragma once
// Constant-time lookups by item or card number that give the same answer as a scan from the
// first entry: for a number given twice, the lower index wins.

#include <cstdint>
#include <unordered_map>

namespace tavo {

class IdIndex {
public:
    void clear() { first_.clear(); }
    void reserve(std::size_t count) { first_.reserve(count); }
    // Entries must be noted in table order; a number already noted keeps its first index.
    void note(std::int32_t id, std::int32_t index) { first_.try_emplace(id, index); }
    // The first index holding id, or -1.
    std::int32_t find(std::int32_t id) const {
        const auto it = first_.find(id);
        return it == first_.end() ? -1 : it->second;
    }

private:
    std::unordered_map<std::int32_t, std::int32_t> first_;
};

}  // namespace tavo
