#pragma once
// The "<next free id>\t%newid%" line that ends account.txt and athena.txt of the later servers.
// The server takes the counter as the lowest id it may hand out next, so a rewrite may raise it
// but never lower it: ids below it may belong to records deleted since.

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

namespace tavo {

// The counter of a %newid% line; nothing for any other line.
std::optional<long long> newid_counter(std::string_view line);

// Keeps the highest counter met while a file is read and gives the line to write at its end.
class NewIdCounter {
public:
    // True (and the counter noted) when line is a %newid% line.
    bool take(std::string_view line);
    bool seen() const { return seen_; }
    // The highest counter met; 0 before any.
    long long counter() const { return counter_; }
    // The line for a file whose highest id is `highest`: one above it, or the file's own counter
    // when that is higher.
    std::string line_after(long long highest) const;
    // The same for an id read as a number of any size: an id beyond what the server's ids hold
    // (a damaged line) raises the counter only to the highest id there is.
    std::string line_after_read(double highest) const;

private:
    long long counter_ = 0;
    bool seen_ = false;
};

}  // namespace tavo
