// A second writer for tavo-cli's tests, loaded with LD_PRELOAD: when tavo-cli makes the first
// temporary file for the save file named by TAVO_SECOND_WRITER_ON (any file when unset or empty),
// it has read what it needs and is about to replace that file. The script named by
// TAVO_SECOND_WRITER runs then, once, and changes the files under it; then tavo-cli goes on.
#include <dlfcn.h>

#include <cstdlib>
#include <string>

extern "C" int mkostemp(char* name, int flags) {
    static bool done = false;
    const char* script = std::getenv("TAVO_SECOND_WRITER");
    const char* on = std::getenv("TAVO_SECOND_WRITER_ON");
    // Temporary files are named ".FILE.XXXXXX" beside the file they replace.
    const bool any = on == nullptr || *on == '\0';
    if (!done && script != nullptr &&
        (any || std::string(name).find("/." + std::string(on) + ".") != std::string::npos)) {
        done = true;
        unsetenv("LD_PRELOAD");
        if (std::system(script) != 0) std::abort();
    }
    using Mkostemp = int (*)(char*, int);
    const auto next = reinterpret_cast<Mkostemp>(dlsym(RTLD_NEXT, "mkostemp"));
    return next(name, flags);
}
