#pragma once
// A Ui for tests: records every message, answers questions and folder pickers from queues,
// and notes any question that nobody expected.

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

    std::vector<std::string> messages() const;  // texts of the messages only
    std::vector<std::string> questions() const;
    void clear();

    std::vector<Shown> shown;
    std::vector<std::string> picker_instructions;
    std::vector<std::string> progress_texts;
    int progress_shows = 0;
    int progress_closes = 0;
    bool progress_open = false;

    // Questions or pickers nobody scripted; a test fails when this is not empty.
    std::vector<std::string> unexpected;
    std::function<void(const std::string&)> on_unexpected;

private:
    void note_unexpected(const std::string& what);
    std::deque<bool> answers_;
    std::deque<std::string> folders_;
};

}  // namespace tavo::testing
