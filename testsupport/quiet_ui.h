#pragma once
// A Ui for runs nobody watches (benchmarks, fuzz targets): every question is answered No,
// progress is not shown, messages are counted and, where asked, told on stderr.

#include <cstdio>
#include <string>

#include "app/ui.h"

namespace tavo::testing {

class QuietUi : public Ui {
public:
    explicit QuietUi(bool tell_messages = false) : tell_messages_(tell_messages) {}
    void message(const std::string& text, const std::string&, Icon) override {
        ++messages;
        if (tell_messages_) std::fprintf(stderr, "message: %s\n", text.c_str());
    }
    bool ask_yes_no(const std::string&, const std::string&, Icon) override { return false; }
    std::string browse_for_folder(const std::string&) override { return {}; }
    void progress_show() override {}
    void progress_set(const std::string&) override {}
    void progress_close() override {}
    bool progress_due() override { return false; }

    int messages = 0;

private:
    bool tell_messages_;
};

}  // namespace tavo::testing
