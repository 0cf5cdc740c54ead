#pragma once
// An index of a half of athena.txt for reading a few of its lines again.

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string_view>
#include <vector>

namespace tavo {

// Where the lines of a half of athena.txt lie, eight to a block, with the lowest and highest
// character id among them. A maker met after its own line is named by reading again only the
// blocks whose ids may hold it, rather than the whole file. Past its most blocks, neighbours
// are joined and the blocks hold twice the lines: the index stays within a few megabytes however
// many characters the server has.
class LineBlocks {
public:
    static constexpr std::size_t kLines = 8;
    static constexpr std::size_t kMostBlocks = std::size_t{1} << 18;
    explicit LineBlocks(std::size_t most_blocks = kMostBlocks) : most_blocks_(most_blocks) {}
    struct Block {
        std::uint64_t from = 0;
        std::int32_t low = INT32_MAX, high = INT32_MIN;
    };

    // The line `number` of the half (from 1), where it starts and the id it names, if any.
    void add(std::size_t number, std::uint64_t offset, std::string_view line,
             std::optional<std::int32_t> id) {
        if ((number - 1) % lines_ == 0) {
            if (blocks_.size() == most_blocks_) join_neighbours();
            blocks_.push_back({offset});
        }
        if (id) {
            Block& block = blocks_.back();
            block.low = std::min(block.low, *id);
            block.high = std::max(block.high, *id);
        }
        last_lines_ = (number - 1) % lines_ + 1;
        end_ = offset + line.size() + 2;  // the last line's break too: CR LF at most
    }

    // Calls each(from, to, lines) for the blocks holding an id of `ids` (sorted) within their
    // lowest and highest: its bytes (a few more after the last) and how many lines it has.
    template <class Each>
    void each_holding(const std::vector<std::int32_t>& ids, Each&& each) const {
        for (std::size_t i = 0; i < blocks_.size(); ++i) {
            const Block& block = blocks_[i];
            const auto at = std::lower_bound(ids.begin(), ids.end(), block.low);
            if (at == ids.end() || *at > block.high) continue;
            const bool last = i + 1 == blocks_.size();
            each(block.from, last ? end_ : blocks_[i + 1].from, last ? last_lines_ : lines_);
        }
    }

private:
    // Every block is full when this is called, and most_blocks_ is even: pairs join cleanly.
    void join_neighbours() {
        for (std::size_t i = 0; i < blocks_.size() / 2; ++i) {
            const Block& first = blocks_[2 * i];
            const Block& second = blocks_[2 * i + 1];
            blocks_[i] = {first.from, std::min(first.low, second.low),
                          std::max(first.high, second.high)};
        }
        blocks_.resize(blocks_.size() / 2);
        lines_ *= 2;
    }

    std::size_t most_blocks_;  // even
    std::deque<Block> blocks_;
    std::size_t lines_ = kLines;  // in every block but the last
    std::size_t last_lines_ = 0;
    std::uint64_t end_ = 0;
};

}  // namespace tavo
