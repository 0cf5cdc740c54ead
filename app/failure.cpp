#include "app/failure.h"

#include <cerrno>
#include <new>

#include "app/ui.h"

namespace tavo {

std::string_view failure_description(int number) {
    switch (number) {
        case err::kInvalidCall: return "Invalid procedure call or argument";
        case err::kOverflow: return "Overflow";
        case err::kOutOfMemory: return "Out of memory";
        case err::kSubscript: return "Subscript out of range";
        case err::kTypeMismatch: return "Type mismatch";
        case err::kFileNotFound: return "File not found";
        case err::kDeviceIo: return "Device I/O error";
        case err::kDiskFull: return "Disk full";
        case err::kPermissionDenied: return "Permission denied";
        case err::kPathFileAccess: return "Path/File access error";
        case err::kPathNotFound: return "Path not found";
        default: return "Application-defined or object-defined error";
    }
}

Failure::Failure(int number) : number_(number), description_(failure_description(number)) {}

Failure::Failure(int number, std::string description)
    : number_(number), description_(std::move(description)) {}

Failure failure_from_errno(int error_number) {
    switch (error_number) {
        case ENOENT: return Failure(err::kFileNotFound);
        case ENOTDIR: return Failure(err::kPathNotFound);
        case ENOSPC:
        case EDQUOT: return Failure(err::kDiskFull);
        case EACCES:
        case EPERM:
        case EROFS: return Failure(err::kPermissionDenied);
        case EISDIR:
        case ENAMETOOLONG:
        case EXDEV: return Failure(err::kPathFileAccess);
        case ENOMEM: return Failure(err::kOutOfMemory);
        default: return Failure(err::kDeviceIo);
    }
}

Failure& Failure::naming(const std::filesystem::path& path) {
    file_ = file_shown(path);
    return *this;
}

Failure failure_from_errno(int error_number, const std::filesystem::path& path) {
    Failure failure = failure_from_errno(error_number);
    failure.naming(path);
    return failure;
}

std::string file_shown(const std::filesystem::path& path) {
    const std::filesystem::path folder = path.parent_path().filename();
    return folder.empty() ? path.filename().string() : (folder / path.filename()).string();
}

std::string failure_text(const Failure& failure) {
    std::string text = "Error " + std::to_string(failure.number()) + ", " + failure.description();
    if (!failure.file().empty()) text += " (" + failure.file() + ")";
    return text;
}

std::string error_report_text(const Failure& failure, std::string_view procedure) {
    std::string text = failure_text(failure);
    text += "\r\nin ";
    text += procedure;
    return text;
}

void show_error_report(Ui& ui, const Failure& failure, std::string_view procedure) {
    ui.error_report(error_report_text(failure, procedure));
}

Failure failure_from_current_exception() {
    try {
        throw;
    } catch (const Failure& failure) {
        return failure;
    } catch (const std::bad_alloc&) {
        return Failure(err::kOutOfMemory);
    } catch (const std::exception& e) {
        return Failure(err::kDeviceIo, e.what());
    } catch (...) {
        return Failure(err::kDeviceIo);
    }
}

}  // namespace tavo
