// What the process sets up for its own safety before it opens a window.
#pragma once

#include <windows.h>

namespace zelvaran::ui {

// DLLs only from System32, the heap ended on corruption, and the process mitigation policies
// that cannot break the program. Each is applied where the system offers it and skipped quietly
// where it does not (Wine accepts them all and enforces none).
void HardenProcess() noexcept;

// COM on this thread as a single-threaded apartment, as the shell's functions ask of their
// callers, for the life of the owner.
class ComApartment {
public:
    ComApartment() noexcept;
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment();

    [[nodiscard]] bool Initialised() const noexcept { return initialised_; }

private:
    bool initialised_;
};

} // namespace zelvaran::ui
