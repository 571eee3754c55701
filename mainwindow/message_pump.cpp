#include "mainwindow/message_pump.h"

#include "ui/window.h"

namespace zelvaran::mainwindow {
namespace {

LONGLONG Now() noexcept {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now); // cannot fail on XP and later
    return now.QuadPart;
}

} // namespace

void PumpPendingMessages() noexcept {
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (!ui::PreTranslateForForms(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

ResponsiveYield::ResponsiveYield() noexcept {
    LARGE_INTEGER f{};
    QueryPerformanceFrequency(&f);
    const LONGLONG frequency = f.QuadPart > 0 ? f.QuadPart : 1;
    interval_ = frequency * kIntervalMicroseconds / 1'000'000;
    last_ = Now();
}

void ResponsiveYield::operator()() noexcept {
    const LONGLONG now = Now();
    if (now - last_ < interval_) {
        return;
    }
    PumpPendingMessages();
    ++pumps_;
    last_ = Now();
}

} // namespace zelvaran::mainwindow
