#pragma once
// The changed-on-disk guard. Tavo remembers what it read of a file it may rewrite (its stamp and
// the text of each record it holds); before writing, a file whose stamp changed is compared
// record by record with what is on disk now:
//   - a record Tavo did not change takes the file's current text;
//   - a record only Tavo changed takes Tavo's text;
//   - a record both changed is asked about (or decided by --mine / --theirs in tavo-cli).
// A writer calls settle_record for each record it holds that the file may have changed; the
// account file does it for the whole table (accounts/account_merge.h).

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavo {

class Ui;

// What happens to a record that Tavo and another writer both changed.
enum class OnConflict {
    Ask,     // the editor: "... Keep the version on disk?"
    Mine,    // tavo-cli --mine
    Theirs,  // tavo-cli --theirs
    Refuse,  // tavo-cli without either: nothing is written
};

enum class Side { Disk, Mine };

// The version of one record that goes to the file. Each text is the record's line; nothing means
// the record is not there (made by one writer, or deleted). `label` names the record in the
// question: "Account 2000017 (alice)". Refusing fails with a text that says how to choose.
Side settle_record(Ui& ui, OnConflict policy, const std::string& label,
                   std::optional<std::string_view> read, std::optional<std::string_view> mine,
                   std::optional<std::string_view> disk);

// The text that goes to the file for one record (nothing: the record is left out), for a writer
// that meets the record's line on disk while it copies the file.
std::optional<std::string> settled_text(Ui& ui, OnConflict policy, const std::string& label,
                                        std::optional<std::string_view> read,
                                        std::optional<std::string_view> mine,
                                        std::optional<std::string_view> disk);

// How a file of record lines names its records: the id of a record line (nothing for a comment
// or an empty line) and the record's name in the question.
struct RecordLines {
    std::function<std::optional<double>(std::string_view line)> id;
    std::function<std::string(std::string_view line)> label;
};

// A file Tavo read whole and changed in memory, put onto the lines on disk now: every line of
// the disk stays in its place except the records Tavo read or made, which are settled one by
// one; records Tavo made that the disk lacks are added at the end. Records are matched by id,
// the first line of each id only.
std::vector<std::string> rebase_lines(Ui& ui, OnConflict policy, const RecordLines& records,
                                      const std::vector<std::string>& read,
                                      const std::vector<std::string>& mine,
                                      const std::vector<std::string>& disk);

// "Account 2000017 (alice) was changed on disk since it was read. Keep the version on disk?"
std::string conflict_question(const std::string& label);

}  // namespace tavo
