#pragma once
// Searches of the census over a line, sixteen bytes at a time: the census reads two million
// character lines, most of whose fields are a few bytes long and whose item lists are long
// runs of digits and commas.

#include <string_view>

#include "characters/character_fields.h"

namespace tavo {

// As character_fields: fields 0 to 18 of the line, false for a line of fewer.
bool character_fields_swept(std::string_view line, CharacterFields& out);

// Where text first holds part from `from` on; npos when it does not. Only the places where
// part's first and last bytes both stand are compared whole.
std::size_t find_part(std::string_view text, std::string_view part, std::size_t from = 0);

}  // namespace tavo
