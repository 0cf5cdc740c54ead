#pragma once
// A failure of a file procedure, numbered like the classic BASIC run-time errors so that
// the error report reads the same everywhere.

#include <exception>
#include <filesystem>
#include <string>
#include <string_view>

namespace tavo {

class Ui;

namespace err {
inline constexpr int kInvalidCall = 5;
inline constexpr int kOverflow = 6;
inline constexpr int kOutOfMemory = 7;
inline constexpr int kSubscript = 9;
inline constexpr int kTypeMismatch = 13;
inline constexpr int kFileNotFound = 53;
inline constexpr int kDeviceIo = 57;
inline constexpr int kDiskFull = 61;
inline constexpr int kPermissionDenied = 70;
inline constexpr int kPathFileAccess = 75;
inline constexpr int kPathNotFound = 76;
}  // namespace err

// The standard description of a failure number ("File not found" for 53).
std::string_view failure_description(int number);

class Failure : public std::exception {
public:
    explicit Failure(int number);
    Failure(int number, std::string description);
    int number() const { return number_; }
    const std::string& description() const { return description_; }
    const char* what() const noexcept override { return description_.c_str(); }
    // The file the failure met, as the user knows it ("save/athena.txt"); empty when it is not
    // about one file.
    const std::string& file() const { return file_; }
    Failure& naming(const std::filesystem::path& path);

private:
    int number_;
    std::string description_;
    std::string file_;
};

// The failure that matches an errno value of a failed file operation.
Failure failure_from_errno(int error_number);
// The same, naming the file it met.
Failure failure_from_errno(int error_number, const std::filesystem::path& path);
// How a message names a file: its folder and its name ("save/athena.txt").
std::string file_shown(const std::filesystem::path& path);

// "Error 70, Permission denied (save/athena.txt)"
std::string failure_text(const Failure& failure);

// "Error 53, File not found (save/account.txt)" CR LF "in load_account"
std::string error_report_text(const Failure& failure, std::string_view procedure);

// Runs body; any failure inside it is shown as the common error report naming the procedure.
// Returns false when the body ended through the report. Files and the progress window are
// released by their owners' destructors before the report is shown.
template <class Body>
bool guarded(Ui& ui, std::string_view procedure, Body&& body);

void show_error_report(Ui& ui, const Failure& failure, std::string_view procedure);
Failure failure_from_current_exception();

template <class Body>
bool guarded(Ui& ui, std::string_view procedure, Body&& body) {
    try {
        body();
        return true;
    } catch (...) {
        show_error_report(ui, failure_from_current_exception(), procedure);
        return false;
    }
}

}  // namespace tavo
