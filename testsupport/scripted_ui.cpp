#include "testsupport/scripted_ui.h"

#include <gtest/gtest.h>

namespace tavo::testing {

ScriptedUi::ScriptedUi()
    : on_failure([](const std::string& what) { ADD_FAILURE() << "Scripted Ui: " << what; }) {}

ScriptedUi::~ScriptedUi() {
    finish();
}

void ScriptedUi::finish() {
    for (std::size_t i = seen_; i < shown_.size(); ++i) {
        if (shown_[i].kind == "message") fail("a message nobody expected: " + shown_[i].text);
    }
    seen_ = shown_.size();
    for (bool answer : answers_) {
        fail(std::string("a scripted answer left unused: ") + (answer ? "Yes" : "No"));
    }
    for (const std::string& folder : folders_) fail("a scripted folder left unused: " + folder);
    answers_.clear();
    folders_.clear();
}

void ScriptedUi::message(const std::string& text, const std::string& title, Icon icon) {
    shown_.push_back({"message", text, title, icon});
}

bool ScriptedUi::ask_yes_no(const std::string& text, const std::string& title, Icon icon) {
    shown_.push_back({"question", text, title, icon});
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

std::vector<std::string> ScriptedUi::texts_of(const char* kind) const {
    std::vector<std::string> texts;
    for (const Shown& s : shown()) {
        if (s.kind == kind) texts.push_back(s.text);
    }
    return texts;
}

std::vector<std::string> ScriptedUi::messages() const {
    return texts_of("message");
}

std::vector<std::string> ScriptedUi::questions() const {
    return texts_of("question");
}

const std::vector<Shown>& ScriptedUi::shown() const {
    seen_ = shown_.size();
    return shown_;
}

void ScriptedUi::clear() {
    shown_.clear();
    seen_ = 0;
    picker_instructions.clear();
    progress_texts.clear();
    progress_shows = progress_closes = 0;
}

void ScriptedUi::note_unexpected(const std::string& what) {
    unexpected.push_back(what);
    fail("nobody scripted the " + what);
}

void ScriptedUi::fail(const std::string& what) {
    if (on_failure) on_failure(what);
}

}  // namespace tavo::testing
