#pragma once
// The pick-list sections of tavo.ini ([jobclass], [maps], [skills]). The file is read once and
// serves the three list loaders; each loader still reports a missing or empty file, or a
// failed read, in its own words.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "app/failure.h"

namespace tavo {

struct AppContext;
class Ui;
namespace fs = std::filesystem;

struct ProgramIni {
    enum class State { Missing, Empty, Read };

    fs::path path;
    State state = State::Missing;
    std::vector<std::string> lines;
    std::optional<Failure> failure;  // a read that failed, reported by each loader
};

ProgramIni read_program_ini(const AppContext& app);

// Calls visit(line) or visit(line, line_number) for every non-empty line inside the sections
// whose header, lower-cased, contains keyword. A header is any line holding both "[" and "]";
// visit returns false to stop.
template <class Visit>
void for_each_section_line(const ProgramIni& ini, std::string_view keyword, Visit&& visit);

// True when the ini can be read; otherwise the loader's own message has been shown (missing
// file: "File <path> not found..." + the loader's second line) or the read failure thrown.
bool program_ini_usable(const ProgramIni& ini, Ui& ui, std::string_view missing_line);

bool is_ini_section_header(std::string_view line);
bool opens_section(std::string_view header, std::string_view keyword);

template <class Visit>
void for_each_section_line(const ProgramIni& ini, std::string_view keyword, Visit&& visit) {
    bool inside = false;
    for (std::size_t i = 0; i < ini.lines.size(); ++i) {
        const std::string& line = ini.lines[i];
        if (line.empty()) continue;
        if (is_ini_section_header(line)) {
            inside = opens_section(line, keyword);
            continue;
        }
        if (!inside) continue;
        bool go_on = true;
        if constexpr (std::is_invocable_v<Visit, std::string_view, std::size_t>) {
            go_on = visit(std::string_view(line), i + 1);  // with the line number
        } else {
            go_on = visit(std::string_view(line));
        }
        if (!go_on) return;
    }
}

}  // namespace tavo
