#include "testsupport/scripted_ui.h"

namespace tavo::testing {

void ScriptedUi::message(const std::string& text, const std::string& title, Icon icon) {
    shown.push_back({"message", text, title, icon});
}

bool ScriptedUi::ask_yes_no(const std::string& text, const std::string& title, Icon icon) {
    shown.push_back({"question", text, title, icon});
    if (answers_.empty()) {
        note_unexpected("question: " + text);
        return false;
    }
    const bool yes = answers_.front();
    answers_.pop_front();
    return yes;
}

std::string ScriptedUi::browse_for_folder(const std::string& instruction) {
    picker_instructions.push_back(instruction);
    if (folders_.empty()) {
        note_unexpected("folder picker: " + instruction);
        return {};
    }
    std::string folder = folders_.front();
    folders_.pop_front();
    return folder;
}

void ScriptedUi::progress_show() {
    ++progress_shows;
    progress_open = true;
}

void ScriptedUi::progress_set(const std::string& text) {
    progress_texts.push_back(text);
}

void ScriptedUi::progress_close() {
    ++progress_closes;
    progress_open = false;
}

void ScriptedUi::answer(std::initializer_list<bool> answers) {
    answers_.insert(answers_.end(), answers);
}

void ScriptedUi::pick(std::initializer_list<std::string> folders) {
    folders_.insert(folders_.end(), folders);
}

std::vector<std::string> ScriptedUi::messages() const {
    std::vector<std::string> texts;
    for (const Shown& s : shown) {
        if (s.kind == "message") texts.push_back(s.text);
    }
    return texts;
}

std::vector<std::string> ScriptedUi::questions() const {
    std::vector<std::string> texts;
    for (const Shown& s : shown) {
        if (s.kind == "question") texts.push_back(s.text);
    }
    return texts;
}

void ScriptedUi::clear() {
    shown.clear();
    picker_instructions.clear();
    progress_texts.clear();
    progress_shows = progress_closes = 0;
}

void ScriptedUi::note_unexpected(const std::string& what) {
    unexpected.push_back(what);
    if (on_unexpected) on_unexpected(what);
}

}  // namespace tavo::testing
