#include "refdata/program_ini.h"

#include "app/settings.h"
#include "app/text.h"
#include "app/text_file.h"
#include "app/ui.h"

namespace tavo {

ProgramIni read_program_ini(const AppContext& app) {
    ProgramIni ini;
    ini.path = app.program_file("tavo.ini");
    if (!file_exists(ini.path)) return ini;
    if (file_length(ini.path) == 0) {
        ini.state = ProgramIni::State::Empty;
        return ini;
    }
    ini.state = ProgramIni::State::Read;
    try {
        ini.lines = read_lines(ini.path);
    } catch (...) {
        ini.failure = failure_from_current_exception();
    }
    return ini;
}

bool program_ini_usable(const ProgramIni& ini, Ui& ui, std::string_view missing_line) {
    switch (ini.state) {
        case ProgramIni::State::Missing:
            ui.program_file_missing("tavo.ini", "File " + ini.path.string() + " not found...\r\n" +
                                                    std::string(missing_line));
            return false;
        case ProgramIni::State::Empty:
            ui.program_file_missing("tavo.ini", "File is empty...\r\nReinstall tavo.ini");
            return false;
        case ProgramIni::State::Read: break;
    }
    if (ini.failure) throw *ini.failure;
    return true;
}

bool is_ini_section_header(std::string_view line) {
    return contains(line, "[") && contains(line, "]");
}

bool opens_section(std::string_view header, std::string_view keyword) {
    return contains(to_lower(header), keyword);
}

}  // namespace tavo
