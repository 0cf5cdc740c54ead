#pragma once
// What every part of the generator shares: a fast buffered file and a seeded random source
// that gives the same server for the same seed on every machine.

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tavo::gen {

namespace fs = std::filesystem;

// A file written through a large buffer; lines end with LF like a server on Linux writes them.
class Out {
public:
    explicit Out(const fs::path& path) : file_(std::fopen(path.c_str(), "wb")) {
        if (file_ == nullptr) throw std::runtime_error("cannot write " + path.string());
        buffer_.reserve(kSize + 4096);
    }
    ~Out() { close(); }
    Out(const Out&) = delete;
    Out& operator=(const Out&) = delete;

    Out& operator<<(std::string_view text) {
        buffer_.append(text);
        if (buffer_.size() >= kSize) flush();
        return *this;
    }
    Out& operator<<(char c) {
        buffer_.push_back(c);
        return *this;
    }
    Out& operator<<(long long value) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        buffer_.append(digits, end);
        return *this;
    }
    Out& operator<<(int value) { return *this << static_cast<long long>(value); }
    Out& operator<<(unsigned value) { return *this << static_cast<long long>(value); }

    void close() {
        if (file_ == nullptr) return;
        flush();
        std::fclose(file_);
        file_ = nullptr;
    }

private:
    static constexpr std::size_t kSize = 4 << 20;
    void flush() {
        if (!buffer_.empty() &&
            std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) {
            throw std::runtime_error("write failed");
        }
        buffer_.clear();
    }
    std::FILE* file_;
    std::string buffer_;
};

// splitmix64: small, fast and the same everywhere.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // 0 to n - 1.
    int below(int n) { return n <= 0 ? 0 : static_cast<int>(next() % static_cast<unsigned>(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool chance(double share) { return static_cast<double>(next() >> 11) * 0x1.0p-53 < share; }
    template <class T, std::size_t N>
    const T& pick(const T (&items)[N]) {
        return items[below(static_cast<int>(N))];
    }

private:
    std::uint64_t state_;
};

}  // namespace tavo::gen
