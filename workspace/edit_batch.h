#pragma once
// A batch of edits over the documents (tavo-cli batch): while it runs, the documents read files
// whole and index them once, and every save is held instead of written; at its end each changed
// file is written once, all of them through one FileBatch, so that they change together or not
// at all.

#include <string>
#include <vector>

namespace tavo {

struct Workspace;
class Ui;

void start_edit_batch(Workspace& ws);

struct BatchWritten {
    bool done = false;               // every changed file was written (or none had changed)
    std::vector<std::string> files;  // the files written ("save/athena.txt")
    std::vector<std::string> kept;   // records whose version on disk was kept (--theirs)
};

// Writes every file the batch changed. A failure is reported ("in batch") with the file that
// failed and what the files are like now; no file is then changed.
BatchWritten write_edit_batch(Workspace& ws, Ui& ui);

}  // namespace tavo
