#pragma once
// How the core talks to the person at the keyboard: message boxes, Yes/No questions, the
// folder picker and the progress window. The editor implements it with Qt, tavo-cli on the
// terminal, the tests with a script.

#include <string>

namespace tavo {

enum class Icon { None, Critical, Warning, Information, Question };

class Ui {
public:
    virtual ~Ui() = default;

    virtual void message(const std::string& text, const std::string& title = "Tavo",
                         Icon icon = Icon::None) = 0;
    // A message that reports an error: the common error report of a failed file procedure, or
    // a write refused for the sake of the data. A plain message unless the Ui keeps count of
    // errors (tavo-cli's exit code).
    virtual void error_report(const std::string& text, Icon icon = Icon::None) {
        message(text, "Tavo", icon);
    }
    // True only for Yes.
    virtual bool ask_yes_no(const std::string& text, const std::string& title = "Tavo",
                            Icon icon = Icon::None) = 0;
    // The chosen folder, or an empty text when the user cancels.
    virtual std::string browse_for_folder(const std::string& instruction) = 0;

    virtual void progress_show() = 0;
    virtual void progress_set(const std::string& text) = 0;
    virtual void progress_close() = 0;
    // Whether the progress window wants a new text now. A window that repaints a few dozen
    // times a second says no in between, which spares formatting a text for every line.
    virtual bool progress_due() { return true; }
    // A file of the program folder (tavo.ini, a card table, class-skill.txt) is missing or
    // empty, and the program goes on without the names it gives. Shown like any message;
    // tavo-cli sums these up in one line.
    virtual void program_file_missing(const std::string& file, const std::string& text) {
        (void)file;
        message(text);
    }
};

// Shows the progress window for the lifetime of the object and closes it on every path out,
// the error report included. The counter line always ends on the latest count.
class Progress {
public:
    explicit Progress(Ui& ui);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    void reading(long long lines) { update("Reading ", lines); }
    void writing(long long lines) { update("Writing ", lines); }

private:
    void update(const char* verb, long long lines) {
        verb_ = verb;
        lines_ = lines;
        pending_ = true;
        if (ui_.progress_due()) flush();
    }
    void flush();

    Ui& ui_;
    const char* verb_ = "Reading ";
    long long lines_ = 0;
    bool pending_ = false;
};

}  // namespace tavo
