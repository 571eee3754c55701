// A fresh, real main window for each test, with message boxes and the shell recorded instead of
// shown.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "mainwindow/frm_main.h"
#include "mainwindow/main_layout.h"
#include "test_platform.h"
#include "win_helpers.h"

namespace zelvaran::testing {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { Restart(); }
    void TearDown() override {
        window_.reset();
        Pump();
    }

    [[nodiscard]] mainwindow::frmMain& Main() { return *window_; }
    [[nodiscard]] HWND Ctl(int id) const { return window_->Control(id); }
    void SetText(int id, const wchar_t* text) { SetWindowTextW(Ctl(id), text); }
    void SetCheck(int id, int state) { SendMessageW(Ctl(id), BM_SETCHECK, state, 0); }
    // A new main window in place of the old one, as the program's next start makes it.
    void Restart() {
        window_.reset();
        window_ = std::make_unique<mainwindow::frmMain>();
        ASSERT_TRUE(window_->Create());
        Pump();
    }
    void SysCommand(UINT id) {
        SendMessageW(window_->Handle(), WM_SYSCOMMAND, id, 0);
        Pump();
    }
    // The About, configuration and passphrase windows, open beside the main window.
    void OpenEveryWindow() {
        window_->About().Show();
        window_->OpenConfiguration();
        SysCommand(mainwindow::frmMain::kSysPassphrase);
    }

    RecordingPlatform platform_;
    std::unique_ptr<mainwindow::frmMain> window_;
};

} // namespace zelvaran::testing
