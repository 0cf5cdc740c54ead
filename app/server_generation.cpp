#include "app/server_generation.h"

namespace tavo {

std::string_view generation_text(ServerGeneration generation) {
    switch (generation) {
        case ServerGeneration::V817: return "817";
        case ServerGeneration::V052: return ".52";
        case ServerGeneration::V100: return "1.0.0";
        case ServerGeneration::Unknown: break;
    }
    return "";
}

std::string generation_caption(ServerGeneration generation) {
    switch (generation) {
        case ServerGeneration::V817: return "817 Text";
        case ServerGeneration::V052: return "0.52 Text";
        case ServerGeneration::V100: return "1.0.0 Text";
        case ServerGeneration::Unknown: break;
    }
    return "no account file read yet";
}

}  // namespace tavo
