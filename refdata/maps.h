#pragma once
// The map pick list of the [maps] section of tavo.ini: memo point destinations.

#include <string>
#include <vector>

namespace tavo {

struct AppContext;
struct ProgramIni;
class Ui;

// The list texts, map name + " (" + x + "," + y + ")", fields as written.
using MapList = std::vector<std::string>;

void load_maps(const AppContext& app, Ui& ui, const ProgramIni& ini, MapList& maps);
void load_maps(const AppContext& app, Ui& ui, MapList& maps);

}  // namespace tavo
