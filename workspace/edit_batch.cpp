#include "workspace/edit_batch.h"

#include "app/failure.h"
#include "app/file_batch.h"
#include "app/ui.h"
#include "workspace/workspace.h"

namespace tavo {

void start_edit_batch(Workspace& ws) {
    ws.accounts.start_batch();
    ws.characters.start_batch();
    ws.store.start_batch();
}

BatchWritten write_edit_batch(Workspace& ws, Ui& ui) {
    BatchWritten outcome;
    // The generation is settled before any file is made: it says whether athena.txt needs a
    // %newid% line.
    const ServerGeneration generation = ws.accounts.generation(ui);
    outcome.done = guarded(ui, "batch", [&] {
        FileBatch files(ws.app.files);
        const bool accounts = ws.accounts.held();
        if (accounts) ws.accounts.stage_held(ui, files);
        if (ws.characters.held()) ws.characters.stage_held(ui, files, generation);
        if (ws.store.held()) ws.store.stage_held(ui, files);
        try {
            files.commit();
        } catch (...) {
            throw files.told(failure_from_current_exception());
        }
        outcome.files = files.written();
        const auto take = [&outcome](std::vector<std::string> kept) {
            outcome.kept.insert(outcome.kept.end(), kept.begin(), kept.end());
        };
        if (accounts) take(ws.accounts.held_written());
        take(ws.characters.held_written());
        take(ws.store.held_written());
    });
    return outcome;
}

}  // namespace tavo
