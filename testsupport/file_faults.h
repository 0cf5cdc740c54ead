#pragma once
// Faults of the file system, through the writer's seams.

#include <cerrno>
#include <cstdio>
#include <string>

#include "app/file_writer.h"

namespace tavo::testing {

// The rename of a new content over the file named `name` is refused, as for a file made
// immutable; every other rename goes through.
inline void refuse_rename(FileWriter& files, const std::string& name) {
    files.calls().rename = [name](const char* from, const char* to) {
        if (fs::path(to).filename() == name) {
            errno = EPERM;
            return -1;
        }
        return std::rename(from, to);
    };
}

}  // namespace tavo::testing
