#include "refdata/maps.h"

#include "app/failure.h"
#include "app/numbers.h"
#include "app/text.h"
#include "refdata/program_ini.h"

namespace tavo {

void load_maps(const AppContext&, Ui& ui, const ProgramIni& ini, MapList& maps) {
    maps.clear();
    guarded(ui, "load_maps", [&] {
        if (!program_ini_usable(ini, ui, "Maps will not shown...")) return;
        std::vector<std::string_view> fields;
        for_each_section_line(ini, "maps", [&](std::string_view line) {
            split_into(line, ',', fields);
            if (fields.size() != 3 || fields[0].empty() || fields[0].front() == '/') return true;
            if (!is_numeric(fields[1]) || !is_numeric(fields[2])) return true;
            std::string text(fields[0]);
            text += " (";
            text += fields[1];
            text += ',';
            text += fields[2];
            text += ')';
            maps.push_back(std::move(text));
            return true;
        });
    });
}

void load_maps(const AppContext& app, Ui& ui, MapList& maps) {
    load_maps(app, ui, read_program_ini(app), maps);
}

}  // namespace tavo
