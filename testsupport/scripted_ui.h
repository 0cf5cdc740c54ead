#pragma once
// A Ui for tests: records every message, answers questions and folder pickers from queues,
// and is strict about it. The test fails on a question or folder picker nobody scripted, on a
// message the test never looked at (through messages(), questions(), shown() or clear()), and
// on scripted answers or folders left unused when the Ui goes away.

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/ui.h"

namespace tavo::testing {

struct Shown {
    std::string kind;  // "message" or "question"
    std::string text;
    std::string title;
    Icon icon = Icon::None;
};

class ScriptedUi : public Ui {
public:
    ScriptedUi();
    ~ScriptedUi() override;
    ScriptedUi(const ScriptedUi&) = delete;
    ScriptedUi& operator=(const ScriptedUi&) = delete;

    void message(const std::string& text, const std::string& title, Icon icon) override;
    bool ask_yes_no(const std::string& text, const std::string& title, Icon icon) override;
    std::string browse_for_folder(const std::string& instruction) override;
    void progress_show() override;
    void progress_set(const std::string& text) override;
    void progress_close() override;

    // Answers to the next questions, in order.
    void answer(std::initializer_list<bool> answers);
    // Folders the picker returns, in order ("" is a cancel).
    void pick(std::initializer_list<std::string> folders);

    // Reading what was shown counts it as expected.
    std::vector<std::string> messages() const;  // texts of the messages only
    std::vector<std::string> questions() const;
    const std::vector<Shown>& shown() const;
    void clear();

    // Reports what was left over now (the destructor does it too) and forgets it.
    void finish();

    std::vector<std::string> picker_instructions;
    std::vector<std::string> progress_texts;
    int progress_shows = 0;
    int progress_closes = 0;
    bool progress_open = false;

    // Questions or pickers nobody scripted.
    std::vector<std::string> unexpected;
    // How a failure reaches the test framework; GoogleTest's ADD_FAILURE unless replaced.
    std::function<void(const std::string&)> on_failure;

private:
    std::vector<std::string> texts_of(const char* kind) const;
    void note_unexpected(const std::string& what);
    void fail(const std::string& what);
    std::vector<Shown> shown_;
    mutable std::size_t seen_ = 0;  // entries of shown_ a test has looked at
    std::deque<bool> answers_;
    std::deque<std::string> folders_;
};

}  // namespace tavo::testing
