#pragma once
// Two pieces of work at once, for the passes that read a large file in halves.

#include <exception>
#include <thread>

namespace tavo {

// Runs `beside` on a second thread while `here` runs on this one. An exception of either is
// thrown once both are done.
template <class Beside, class Here>
void run_together(Beside&& beside, Here&& here) {
    std::exception_ptr failed;
    std::thread other([&] {
        try {
            beside();
        } catch (...) {
            failed = std::current_exception();
        }
    });
    try {
        here();
    } catch (...) {
        other.join();
        throw;
    }
    other.join();
    if (failed) std::rethrow_exception(failed);
}

}  // namespace tavo
