#include "app/about.h"

#ifndef TAVO_WEBSITE
#define TAVO_WEBSITE ""
#endif
#ifndef TAVO_FORUM
#define TAVO_FORUM ""
#endif

namespace tavo {

ProjectAddresses built_addresses() {
    return {TAVO_WEBSITE, TAVO_FORUM};
}

std::string about_text(const AppSettings& s, std::int32_t max_parameter,
                       const ProjectAddresses& addresses) {
    const auto shown = [](const std::string& address) {
        return address.empty() ? std::string("none") : address;
    };
    const std::string crlf = "\r\n";
    std::string text;
    text += "Tavo : an account, character and item editor for the game served by eAthena" + crlf;
    text += "for eAthena 817 Text / 0.52 Text / 1.0.0 Text" + crlf;
    text += "Project WebSite: " + shown(addresses.website) + crlf;
    text += "Forum Topic: " + shown(addresses.forum) + crlf + crlf;
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
