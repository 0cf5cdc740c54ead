#pragma once
// The text of the Options/About page: what the program is for and the settings in force.

#include <cstdint>
#include <string>

#include "app/settings.h"

namespace tavo {

inline constexpr const char* kProgramCaption = "Tavo v1.0.0 [Final] for eA817 - eA1.0.0SVN";

// 13 lines, each ended by CR LF, with an empty line after the fourth and the fifth.
std::string about_text(const AppSettings& settings, std::int32_t max_parameter);

}  // namespace tavo
