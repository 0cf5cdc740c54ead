#include "app/about.h"

namespace tavo {

std::string about_text(const AppSettings& s, std::int32_t max_parameter) {
    const std::string crlf = "\r\n";
    std::string text;
    text += "Tavo : an account, character and item editor for the game served by eAthena" + crlf;
    text += "for eAthena 817 Text / 0.52 Text / 1.0.0 Text" + crlf;
    text += "Project WebSite: https://tavo-editor.github.io/" + crlf;
    text += "Forum Topic: https://github.com/tavo-editor/tavo/discussions" + crlf + crlf;
    text += "USE AT YOUR OWN RISK..." + crlf + crlf;
    text += "Current Setting: " + crlf;
    text += "eAthena folder : " + s.data_folder + crlf;
    text += "Max Base Level : " + std::to_string(s.maxblvl) + crlf;
    text += "Max Job Level : " + std::to_string(s.maxjlvl) + crlf;
    text += "Max Char Stat. : " + std::to_string(max_parameter) + " [battle_athena.conf]" + crlf;
    text += "Max item count : " + std::to_string(s.maxitemcount) + crlf;
    text += "Max Inventory : " + std::to_string(s.maxinventory) + crlf;
    text += "Max Storage : " + std::to_string(s.maxstorage) + crlf;
    return text;
}

}  // namespace tavo
