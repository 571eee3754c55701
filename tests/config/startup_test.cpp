// The start-up entry and the stored "Inicio": which root a copy uses, order of the steps, the data
// written, what is left alone, failures that must leave everything as it was, and the real wait for
// an elevated step. What a declined or failed elevation shows is in form2_test.cpp.
#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "config/startup.h"
#include "ui/handles.h"
#include "ui/platform.h"
#include "registry_sandbox.h"
#include "test_platform.h"

namespace zelvaran::testing {
namespace {

using config::ApplyStartupChoice;
using config::RunRoot;
using config::StartupStep;

class StartupTest : public RegistryTest {
protected:
    [[nodiscard]] static config::ThisCopy Copy(RunRoot root) { return {ThisProgramPath(), root}; }
    [[nodiscard]] static config::StartupOutcome Apply(std::int16_t state,
                                                      RunRoot root = RunRoot::Machine) {
        return ApplyStartupChoice(state, Copy(root), nullptr);
    }
    // The same path in another case, which Windows takes for the same file.
    [[nodiscard]] static std::wstring InCase(std::wstring text, wint_t (*to)(wint_t)) {
        for (wchar_t& c : text) {
            c = static_cast<wchar_t>(to(c));
        }
        return text;
    }
    RecordingPlatform platform_;
};

TEST_F(StartupTest, TheTestProgramIsFoundWhereItIsAndOutsideProgramFiles) {
    config::ThisCopy copy;
    ASSERT_EQ(config::LocateThisCopy(copy), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_TRUE(config::SamePath(copy.Path, ThisProgramPath()));
    EXPECT_EQ(copy.Path.rfind(L"\\\\?\\", 0), std::wstring::npos);
    EXPECT_EQ(copy.Root, RunRoot::User);
}

TEST_F(StartupTest, CheckedWritesTheQuotedPathInTheCopysRootOnlyThenStoresOne) {
    for (const auto& [root, key, other] :
         {std::tuple{RunRoot::Machine, HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER},
          std::tuple{RunRoot::User, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}}) {
        // The same copy's entry in the other root goes (one an earlier release wrote, say);
        // another copy's stays.
        for (const std::wstring& there : {ThisProgramPath(), std::wstring(L"\"D:\\otra.exe\"")}) {
            CleanConfigRegistry();
            ASSERT_TRUE(SetRunEntry(there, REG_SZ, other));
            EXPECT_TRUE(Apply(1, root).Ok());
            const auto entry = RunEntry(key);
            ASSERT_TRUE(entry);
            EXPECT_EQ(entry->Type, static_cast<DWORD>(REG_SZ));
            EXPECT_EQ(entry->Text, ThisProgramQuoted());
            EXPECT_EQ(RunText(other), there == ThisProgramPath()
                                          ? std::nullopt
                                          : std::optional<std::wstring>(there));
            EXPECT_EQ(StoredText(L"Inicio"), L"1");
        }
    }
    EXPECT_TRUE(platform_.Elevations.empty());
}

// Unchecking takes out whatever starts this copy, in either root, and nothing else.
TEST_F(StartupTest, UncheckingDeletesOnlyEntriesThatStartThisCopy) {
    const std::wstring upper = InCase(ThisProgramPath(), towupper);
    const std::wstring foreign = L"\"C:\\Otra copia\\zelvaran.exe\"";
    struct Case {
        std::wstring Machine, User;
        bool MachineGoes, UserGoes;
    };
    const Case cases[] = {
        {ThisProgramQuoted(), L"", true, false},
        {L"", L"\"" + upper + L"\" ", false, true}, // other case, a blank after: still ours
        {ThisProgramPath(), ThisProgramQuoted(), true, true}, // unquoted, as old releases wrote
        {foreign, ThisProgramQuoted(), false, true},
        {foreign, foreign, false, false},
        {ThisProgramPath() + L"x", L"\"" + ThisProgramPath() + L".old\"", false, false}, // others
    };
    for (const std::int16_t state : {0, 2}) {
        for (const Case& c : cases) {
            CleanConfigRegistry();
            if (!c.Machine.empty()) {
                ASSERT_TRUE(SetRunEntry(c.Machine, REG_SZ, HKEY_LOCAL_MACHINE));
            }
            if (!c.User.empty()) {
                ASSERT_TRUE(SetRunEntry(c.User, REG_SZ, HKEY_CURRENT_USER));
            }
            EXPECT_TRUE(Apply(state).Ok());
            EXPECT_EQ(RunText(HKEY_LOCAL_MACHINE).has_value(), !c.Machine.empty() && !c.MachineGoes)
                << std::string(c.Machine.begin(), c.Machine.end());
            EXPECT_EQ(RunText(HKEY_CURRENT_USER).has_value(), !c.User.empty() && !c.UserGoes)
                << std::string(c.User.begin(), c.User.end());
            EXPECT_EQ(StoredText(L"Inicio"), std::to_wstring(state));
        }
    }
    // Absent in both roots, even where nothing may be written: nothing to do, nothing asked.
    CleanConfigRegistry();
    ReadOnlyKey guard(HKEY_LOCAL_MACHINE, kRunPath);
    ASSERT_TRUE(guard.Denies());
    EXPECT_TRUE(Apply(0).Ok());
    EXPECT_EQ(StoredText(L"Inicio"), L"0");
    EXPECT_TRUE(platform_.Elevations.empty());
}

TEST_F(StartupTest, AnEntryAlreadyRightCaseAsideIsNotWrittenAgainNorAskedFor) {
    const std::wstring lower = InCase(ThisProgramQuoted(), towlower);
    ASSERT_TRUE(SetRunEntry(lower));
    // Wine keeps no trace of a value written over itself; a read-only key refuses any write.
    ReadOnlyKey guard(HKEY_LOCAL_MACHINE, kRunPath);
    ASSERT_TRUE(guard.Denies());
    EXPECT_TRUE(Apply(1).Ok());
    EXPECT_EQ(RunText(), lower);
    EXPECT_EQ(StoredText(L"Inicio"), L"1");
    EXPECT_TRUE(platform_.Elevations.empty());
}

TEST_F(StartupTest, AnEntryWithOtherDataOrTypeIsReplaced) {
    const std::wstring quoted = ThisProgramQuoted();
    const std::pair<std::wstring, DWORD> cases[] = {
        {L"c:\\Archivos de programa\\Morvantic\\Security Zelvaran\\zelvaran.exe", REG_SZ},
        {ThisProgramPath(), REG_SZ},
        {quoted, REG_EXPAND_SZ},
    };
    for (const auto& [text, type] : cases) {
        ASSERT_TRUE(SetRunEntry(text, type));
        EXPECT_TRUE(Apply(1).Ok());
        const auto entry = RunEntry();
        ASSERT_TRUE(entry);
        EXPECT_EQ(entry->Type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(entry->Text, quoted);
    }
}

TEST_F(StartupTest, APortableCopyNeverAsksForElevation) {
    ReadOnlyKey guard(HKEY_CURRENT_USER, kRunPath);
    ASSERT_TRUE(guard.Denies());
    const config::StartupOutcome outcome = Apply(1, RunRoot::User);
    EXPECT_EQ(outcome.FailedStep, StartupStep::Registry);
    EXPECT_EQ(outcome.Code, ERROR_ACCESS_DENIED);
    EXPECT_TRUE(platform_.Elevations.empty());
    EXPECT_FALSE(RunEntry(HKEY_LOCAL_MACHINE));
    EXPECT_FALSE(Stored(L"Inicio"));
}

// A copy others could replace never runs as administrator: its own old machine-wide entry goes
// through the system's reg.exe, and only where a prompt may be shown; otherwise it stays and the
// outcome says so.
TEST_F(StartupTest, APortableCopyDeletesItsMachineWideEntryOnlyThroughRegExe) {
    const auto ask = config::Consent::MayAsk;
    const std::tuple<std::int16_t, config::Consent, DWORD, StartupStep> cases[] = {
        {1, ask, ERROR_SUCCESS, StartupStep::None},
        {0, ask, ERROR_SUCCESS, StartupStep::None},
        {1, ask, ERROR_CANCELLED, StartupStep::Declined},
        {1, config::Consent::Never, ERROR_SUCCESS, StartupStep::None},
    };
    wchar_t system[MAX_PATH] = {};
    ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
    for (const auto& [state, consent, error, step] : cases) {
        // Asked exactly where a prompt may be shown; left only where it may not.
        const bool asked = consent == ask;
        SCOPED_TRACE(::testing::Message() << state << " " << error << " " << asked);
        CleanConfigRegistry();
        ASSERT_TRUE(SetRunEntry(ThisProgramQuoted()));
        ReadOnlyKey guard(HKEY_LOCAL_MACHINE, kRunPath);
        ASSERT_TRUE(guard.Denies());
        platform_.Elevations.clear();
        platform_.ElevationError = error;
        const auto outcome = ApplyStartupChoice(state, Copy(RunRoot::User), nullptr, consent);
        EXPECT_EQ(outcome.FailedStep, step);
        EXPECT_EQ(outcome.MachineEntryLeft, !asked);
        ASSERT_EQ(platform_.Elevations.size(), asked ? 1u : 0u);
        if (asked) {
            EXPECT_EQ(platform_.Elevations[0].File, std::wstring(system) + L"\\reg.exe");
            EXPECT_EQ(platform_.Elevations[0].Parameters, config::kRegDeleteParameters);
        }
        const bool done = step == StartupStep::None;
        EXPECT_EQ(RunText(HKEY_CURRENT_USER).has_value(), done && state == 1);
        EXPECT_EQ(Stored(L"Inicio").has_value(), done);
    }
}

TEST_F(StartupTest, AFailedStorePutsTheRunEntryBackAsItWas) {
    // Enabling: the new entry goes again, and Task Manager's switch comes back.
    ASSERT_TRUE(Store(L"Inicio", L"0"));
    ASSERT_TRUE(WriteValue(HKEY_LOCAL_MACHINE, kStartupApprovedPath, L"Zelvaran", REG_BINARY,
                           L"\x0203", false));
    {
        ReadOnlyKey guard(HKEY_CURRENT_USER, kSettingsKeyPath);
        ASSERT_TRUE(guard.Denies());
        const config::StartupOutcome outcome = Apply(1);
        EXPECT_EQ(outcome.FailedStep, StartupStep::Setting);
        EXPECT_EQ(outcome.Code, ERROR_ACCESS_DENIED);
        EXPECT_FALSE(outcome.RunEntryLeftChanged);
        EXPECT_FALSE(RunEntry());
        const auto kept = ReadValue(HKEY_LOCAL_MACHINE, kStartupApprovedPath, L"Zelvaran");
        ASSERT_TRUE(kept);
        EXPECT_EQ(kept->Text, L"\x0203");
        EXPECT_EQ(StoredText(L"Inicio"), L"0");
    }
    // Disabling: the deleted entries come back with their old data and type, in both roots.
    const std::wstring old = L"\"" + ThisProgramPath() + L"\" /old";
    ASSERT_TRUE(SetRunEntry(old, REG_EXPAND_SZ));
    ASSERT_TRUE(SetRunEntry(ThisProgramQuoted(), REG_SZ, HKEY_CURRENT_USER));
    ASSERT_TRUE(Store(L"Inicio", L"1"));
    {
        ReadOnlyKey guard(HKEY_CURRENT_USER, kSettingsKeyPath);
        ASSERT_TRUE(guard.Denies());
        const config::StartupOutcome outcome = Apply(0);
        EXPECT_EQ(outcome.FailedStep, StartupStep::Setting);
        EXPECT_FALSE(outcome.RunEntryLeftChanged);
        const auto entry = RunEntry();
        ASSERT_TRUE(entry);
        EXPECT_EQ(entry->Type, static_cast<DWORD>(REG_EXPAND_SZ));
        EXPECT_EQ(entry->Text, old);
        EXPECT_EQ(RunText(HKEY_CURRENT_USER), ThisProgramQuoted());
        EXPECT_EQ(StoredText(L"Inicio"), L"1");
    }
}

// Task Manager's switch for the entry goes with every write or delete of the Run entry, in that
// root; the switch of an entry left alone, and switches of other names, stay.
TEST_F(StartupTest, WritingOrDeletingTheEntryTakesOutItsStartupTabSwitch) {
    const std::wstring_view disabled(L"\x0003\0\0\0\0\0", 6); // first byte odd, then a time
    const std::wstring ours = ThisProgramQuoted();
    struct Case {
        std::int16_t State;
        RunRoot Root;
        std::wstring Machine; // the machine-wide Run entry beforehand
        bool MachineSwitchGoes, UserSwitchGoes;
    };
    const Case cases[] = {
        {1, RunRoot::Machine, ours, true, false}, // already right but switched off
        {1, RunRoot::Machine, L"", true, false},
        {1, RunRoot::User, L"", false, true},
        {1, RunRoot::User, ours, true, true}, // ours in the other root goes, with its switch
        {0, RunRoot::Machine, ours, true, false},
        {0, RunRoot::Machine, L"\"D:\\otra.exe\"", false, false}, // another copy's
    };
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) { // another program's switches
        ASSERT_TRUE(WriteValue(root, kStartupApprovedPath, L"Otro", REG_BINARY, disabled, false));
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        CleanConfigRegistry();
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
            ASSERT_TRUE(
                WriteValue(root, kStartupApprovedPath, L"Zelvaran", REG_BINARY, disabled, false));
        }
        if (!c.Machine.empty()) {
            ASSERT_TRUE(SetRunEntry(c.Machine));
        }
        EXPECT_TRUE(Apply(c.State, c.Root).Ok());
        for (const auto& [root, goes] : {std::pair{HKEY_LOCAL_MACHINE, c.MachineSwitchGoes},
                                         std::pair{HKEY_CURRENT_USER, c.UserSwitchGoes}}) {
            EXPECT_EQ(ReadValue(root, kStartupApprovedPath, L"Zelvaran").has_value(), !goes);
            EXPECT_TRUE(ReadValue(root, kStartupApprovedPath, L"Otro"));
        }
    }
    EXPECT_TRUE(DeleteValue(HKEY_LOCAL_MACHINE, kStartupApprovedPath, L"Otro"));
    EXPECT_TRUE(DeleteValue(HKEY_CURRENT_USER, kStartupApprovedPath, L"Otro"));
    EXPECT_TRUE(platform_.Elevations.empty());
    // The elevated instance's delete of this copy's machine-wide entry does the same.
    ASSERT_TRUE(SetRunEntry(ours));
    ASSERT_TRUE(WriteValue(HKEY_LOCAL_MACHINE, kStartupApprovedPath, L"Zelvaran", REG_BINARY,
                           disabled, false));
    EXPECT_EQ(config::RunMachineStep(config::MachineStep::Delete), ERROR_SUCCESS);
    EXPECT_FALSE(RunEntry());
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kStartupApprovedPath, L"Zelvaran"));
}

// The real elevated start: under Wine "runas" starts at once, without a prompt. While it waits,
// a message already waiting for a window of this thread is handled, as the dialog's repaints are.
TEST(Elevation, TheRealWaitHandsOnMessagesAndGivesTheExitCode) {
    static int handled = 0;
    handled = 0;
    const WNDCLASSW wc{0,
                       [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
                           handled += m == WM_APP ? 1 : 0;
                           return DefWindowProcW(h, m, w, l);
                       },
                       0,
                       0,
                       GetModuleHandleW(nullptr),
                       nullptr,
                       nullptr,
                       nullptr,
                       nullptr,
                       L"Zelvaran.Test.Waiter"};
    RegisterClassW(&wc);
    const ui::UniqueWindow window(CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0,
                                                  HWND_MESSAGE, nullptr, wc.hInstance, nullptr));
    ASSERT_TRUE(window);
    ASSERT_TRUE(PostMessageW(window.get(), WM_APP, 0, 0));
    wchar_t cmd[MAX_PATH] = {};
    ASSERT_GT(GetSystemDirectoryW(cmd, MAX_PATH), 0u);
    const std::wstring file = std::wstring(cmd) + L"\\cmd.exe";
    DWORD exitCode = 0;
    EXPECT_EQ(ui::CurrentPlatform().RunElevated(window.get(), file.c_str(), L"/c exit 7", exitCode),
              static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(exitCode, 7u);
    EXPECT_EQ(handled, 1);
}

} // namespace
} // namespace zelvaran::testing
