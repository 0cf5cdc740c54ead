#pragma once
// The generation of the server's text files, as told by save/account.txt. It decides how an
// edited account line is written and whether a file ends with a %newid% line.

#include <string>
#include <string_view>

namespace tavo {

enum class ServerGeneration {
    Unknown,  // no account file read yet; written like an 817 file
    V817,     // 7 fields, no %newid% line
    V052,     // 7 fields and a %newid% line
    V100,     // 13 fields and the account registers, and a %newid% line
};

// The generation's own name, as the files and the command line know it: "817", ".52",
// "1.0.0", or "" before any file was read.
std::string_view generation_text(ServerGeneration generation);
// "1.0.0 Text", "0.52 Text", "817 Text", or a word that no file was read yet.
std::string generation_caption(ServerGeneration generation);

// athena.txt and account.txt of .52 and 1.0.0 end with the next free id.
inline bool writes_newid_line(ServerGeneration generation) {
    return generation == ServerGeneration::V052 || generation == ServerGeneration::V100;
}
// Only 1.0.0 account lines hold the e-mail, error message, validity, IP, memo, ban and registers.
inline bool has_long_account_lines(ServerGeneration generation) {
    return generation == ServerGeneration::V100;
}

}  // namespace tavo
