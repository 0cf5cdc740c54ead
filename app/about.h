#pragma once
// The text of the Options/About page: what the program is for and the settings in force.

#include <cstdint>
#include <string>

#include "app/settings.h"

namespace tavo {

inline constexpr const char* kProgramCaption = "Tavo v1.0.0 [Final] for eA817 - eA1.0.0SVN";

// The web site and forum addresses the About text names. They come from the build (the CMake
// options TAVO_WEBSITE and TAVO_FORUM), empty unless whoever builds names addresses they own.
struct ProjectAddresses {
    std::string website;
    std::string forum;
};
ProjectAddresses built_addresses();

// 13 lines, each ended by CR LF, with an empty line after the fourth and the fifth. An empty
// address is shown as "none".
std::string about_text(const AppSettings& settings, std::int32_t max_parameter,
                       const ProjectAddresses& addresses = built_addresses());

}  // namespace tavo
