#pragma once
// Items beyond maxinventory or maxstorage: the server cannot hold them (it writes past its
// arrays), yet they are the player's. A list read with more keeps them all; only a save may
// drop those beyond the limit, and only when the user agrees.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tavo {

class Ui;

// What a save does with the items beyond the limit.
enum class OnExcess {
    Ask,     // the editor asks; No keeps every item
    Drop,    // tavo-cli --drop-excess
    Refuse,  // tavo-cli without it: nothing is written
};

// How many items a save of a list of `count` writes: all of them, or `limit` when the user
// agrees to drop the rest. Nothing when the save is refused (reported as an error).
// `list` names the list in a sentence ("the store of account 2000003"), `setting` the limit
// ("maxstorage").
std::optional<std::size_t> items_to_write(Ui& ui, OnExcess policy, const std::string& list,
                                          std::size_t count, std::int32_t limit,
                                          const std::string& setting);

}  // namespace tavo
