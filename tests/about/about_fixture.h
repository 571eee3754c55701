// A fresh About dialog object for each test (not loaded yet), with the shell recorded instead of
// opened.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "about/about_layout.h"
#include "about/form5.h"
#include "about_helpers.h"
#include "test_platform.h"
#include "win_helpers.h"

namespace zelvaran::testing {

class AboutDialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitCommonControlsForTests(); }
    void SetUp() override { dialog_ = std::make_unique<about::Form5>(); }
    void TearDown() override {
        dialog_.reset();
        Pump();
    }

    [[nodiscard]] about::Form5& Dialog() { return *dialog_; }
    [[nodiscard]] HWND Ctl(int id) const { return dialog_->Control(id); }
    // As the menu's "Acerca" shows it, with what that sets off handled.
    void ShowDialog() {
        dialog_->Show();
        Pump();
    }

    RecordingPlatform platform_;
    std::unique_ptr<about::Form5> dialog_;
};

} // namespace zelvaran::testing
