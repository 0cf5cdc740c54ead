// Reading a 1,000,000-line file through the loader pattern, once with the Qt progress window
// shown and once with no window. The window may cost at most half again the plain read.

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <fstream>

#include "app/text_file.h"
#include "app/ui.h"
#include "ui/qt_ui.h"

namespace {

using Clock = std::chrono::steady_clock;

struct NoWindow : tavo::Ui {
    void message(const std::string&, const std::string&, tavo::Icon) override {}
    bool ask_yes_no(const std::string&, const std::string&, tavo::Icon) override { return false; }
    std::string browse_for_folder(const std::string&) override { return {}; }
    void progress_show() override {}
    void progress_set(const std::string&) override {}
    void progress_close() override {}
    bool progress_due() override { return false; }
};

struct CountingUi : tavo::ui::QtUi {
    int repaints = 0;
    void progress_set(const std::string& text) override {
        ++repaints;
        QtUi::progress_set(text);
    }
};

// The loader pattern: a line read, handled, counted in the progress window.
double read_with(tavo::Ui& ui, const std::filesystem::path& file, long long& total) {
    const auto start = Clock::now();
    tavo::LineReader reader(file);
    tavo::Progress progress(ui);
    std::string_view line;
    long long lines = 0;
    total = 0;
    while (reader.next(line)) {
        total += static_cast<long long>(line.size());
        progress.reading(++lines);
    }
    return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::filesystem::path scratch =
        argc > 1 ? argv[1] : std::filesystem::temp_directory_path();
    const auto file = scratch / "million.txt";
    {
        std::ofstream out(file, std::ios::binary);
        for (int i = 0; i < 1000000; ++i) {
            out << (2000000 + i) << "\tplayer" << i << "\tsecret\t2026-11-30 20:15:00.123\tM\t"
                << i % 500 << "\t0\ta@a.com\t-\t0\t127.0.0.1\t-\t0\t\r\n";
        }
    }
    NoWindow plain;
    CountingUi window;
    QWidget owner;
    owner.show();
    window.set_owner(&owner);
    long long bytes = 0;
    double best_plain = 1e9, best_window = 1e9;
    for (int round = 0; round < 3; ++round) {
        best_plain = std::min(best_plain, read_with(plain, file, bytes));
        window.repaints = 0;
        best_window = std::min(best_window, read_with(window, file, bytes));
    }
    std::printf("1,000,000 lines (%lld bytes of text), best of 3\n", bytes);
    std::printf("  no window        %8.1f ms\n", best_plain * 1000);
    std::printf("  progress window  %8.1f ms  (%d repaints, label \"%s\")\n", best_window * 1000,
                window.repaints, window.progress_window()->counter().toLatin1().constData());
    std::printf("  window / plain   %8.2f  (aim: at most 1.50)\n", best_window / best_plain);
    return 0;
}
