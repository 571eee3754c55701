// A fresh configuration dialog for each test, over a clean registry, with message boxes recorded
// instead of shown and every call of the closed handler kept.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "config/config_layout.h"
#include "config/form2.h"
#include "registry_sandbox.h"
#include "test_platform.h"
#include "win_helpers.h"

namespace zelvaran::testing {

struct ClosedCall {
    std::int16_t Flag;
    bool WindowStillThere; // whether the dialog's window existed when the handler ran
    bool StillLoaded;
};

class Form2Test : public RegistryTest {
protected:
    void SetUp() override {
        RegistryTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        NewDialog();
    }
    void TearDown() override {
        form_.reset();
        Pump();
        RegistryTest::TearDown();
    }

    // As an installed copy: its entry is the machine-wide one.
    void NewDialog() {
        form_ = std::make_unique<config::Form2>([this](std::int16_t flag) {
            closed_.push_back({flag, IsWindow(lastHandle_) != FALSE, form_->IsLoaded()});
        });
        form_->SetThisCopy({ThisProgramPath(), config::RunRoot::Machine});
    }
    // The main window's way of opening the dialog.
    [[nodiscard]] bool Open() {
        const bool shown = form_->Show();
        lastHandle_ = form_->Handle();
        Pump();
        return shown;
    }
    // The title bar's close box.
    void CloseBox() {
        SendMessageW(form_->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
        Pump();
    }
    [[nodiscard]] HWND Ctl(int id) const { return form_->Control(id); }
    [[nodiscard]] LRESULT Check(int id) const { return SendMessageW(Ctl(id), BM_GETCHECK, 0, 0); }

    RecordingPlatform platform_;
    std::unique_ptr<config::Form2> form_;
    std::vector<ClosedCall> closed_;
    HWND lastHandle_ = nullptr;
};

} // namespace zelvaran::testing
