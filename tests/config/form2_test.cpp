// The configuration dialog's behaviour: what opening, clicking and closing write, and how
// failures leave everything as it was.
#include <functional>
#include <string>

#include "form2_fixture.h"

namespace zelvaran::testing {
namespace {

using namespace config;

// Calls a function each time a window of this thread is about to be shown.
class ShowWatch {
public:
    explicit ShowWatch(std::function<void(HWND)> onShow) {
        onShow_ = std::move(onShow);
        hook_ = SetWindowsHookExW(WH_CALLWNDPROC, &ShowWatch::Proc, nullptr, GetCurrentThreadId());
    }
    ~ShowWatch() {
        if (hook_ != nullptr) {
            UnhookWindowsHookEx(hook_);
        }
        onShow_ = nullptr;
    }
    ShowWatch(const ShowWatch&) = delete;
    ShowWatch& operator=(const ShowWatch&) = delete;
    [[nodiscard]] bool Installed() const { return hook_ != nullptr; }

private:
    static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HC_ACTION && onShow_) {
            const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
            if (call->message == WM_SHOWWINDOW && call->wParam != FALSE) {
                onShow_(call->hwnd);
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline std::function<void(HWND)> onShow_;
    HHOOK hook_ = nullptr;
};

void ExpectOneErrorBox(const RecordingPlatform& platform, HWND owner, const wchar_t* mentions) {
    ASSERT_EQ(platform.Boxes.size(), 1u);
    const MessageBoxCall& box = platform.Boxes.front();
    EXPECT_EQ(box.Title, L"Zelvaran Error");
    EXPECT_EQ(box.Type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(box.Owner, owner);
    EXPECT_NE(box.Text.find(mentions), std::wstring::npos)
        << std::string(box.Text.begin(), box.Text.end());
}

TEST_F(Form2Test, FirstOpeningWithNothingStoredWritesNothing) {
    ASSERT_TRUE(Open());
    EXPECT_TRUE(IsWindowVisible(form_->Handle()));
    EXPECT_EQ(Check(kChTop), BST_UNCHECKED);
    EXPECT_EQ(Check(kInicio), BST_UNCHECKED);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kAppKeyPath));
    EXPECT_FALSE(RunEntry());
    EXPECT_TRUE(platform_.Boxes.empty());
}

TEST_F(Form2Test, CheckingIniciarConWindowsRegistersThisProgramThenStoresOne) {
    ASSERT_TRUE(Open());
    Click(Ctl(kInicio));
    EXPECT_EQ(Check(kInicio), BST_CHECKED);
    const auto entry = RunEntry();
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->Type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(entry->Text, ThisProgramQuoted());
    const auto stored = Stored(L"Inicio");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->Type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(stored->Text, L"1");
    EXPECT_FALSE(Stored(L"ChTop"));
    EXPECT_TRUE(platform_.Boxes.empty());
}

TEST_F(Form2Test, UncheckingDeletesTheRunEntryThenStoresZero) {
    ASSERT_TRUE(Open());
    Click(Ctl(kInicio));
    ASSERT_TRUE(RunEntry());
    Click(Ctl(kInicio));
    EXPECT_EQ(Check(kInicio), BST_UNCHECKED);
    EXPECT_FALSE(RunEntry());
    EXPECT_EQ(StoredText(L"Inicio"), L"0");
    // An entry removed by other means meanwhile: unchecking still succeeds and stores "0".
    Click(Ctl(kInicio));
    ASSERT_TRUE(DeleteValue(HKEY_LOCAL_MACHINE, kRunPath, L"Zelvaran"));
    Click(Ctl(kInicio));
    EXPECT_EQ(Check(kInicio), BST_UNCHECKED);
    EXPECT_EQ(StoredText(L"Inicio"), L"0");
    EXPECT_TRUE(platform_.Boxes.empty());
}

TEST_F(Form2Test, InicioStoredAsOneRegistersAgainBeforeTheDialogIsVisible) {
    ASSERT_TRUE(Store(L"Inicio", L"1"));
    ASSERT_FALSE(RunEntry()); // removed by other means since the last run
    int shows = 0;
    bool registeredBeforeShown = false;
    bool checkedBeforeShown = false;
    ShowWatch watch([&](HWND hwnd) {
        if (hwnd != form_->Handle()) {
            return;
        }
        ++shows;
        const auto entry = RunEntry();
        registeredBeforeShown = entry && entry->Text == ThisProgramQuoted();
        checkedBeforeShown = Check(kInicio) == BST_CHECKED;
    });
    ASSERT_TRUE(watch.Installed());
    ASSERT_TRUE(Open());
    EXPECT_EQ(shows, 1);
    EXPECT_TRUE(registeredBeforeShown);
    EXPECT_TRUE(checkedBeforeShown);
    EXPECT_EQ(StoredText(L"Inicio"), L"1");
    EXPECT_FALSE(Stored(L"ChTop"));
    EXPECT_TRUE(platform_.Boxes.empty());
}

// Writing a value over itself leaves no trace in the registry, so a read-only section is what
// shows whether the load step stores a choice again: any write is refused and reported.
TEST_F(Form2Test, LoadingStoresEachStoredOneAgain) {
    ASSERT_TRUE(Store(L"Inicio", L"1"));
    ASSERT_TRUE(Store(L"ChTop", L"1"));
    ReadOnlyKey settings(HKEY_CURRENT_USER, kSettingsKeyPath);
    ASSERT_TRUE(settings.Denies());
    ASSERT_TRUE(Open());
    ASSERT_EQ(platform_.Boxes.size(), 2u);
    EXPECT_NE(platform_.Boxes[0].Text.find(L"Iniciar con Windows"), std::wstring::npos);
    EXPECT_NE(platform_.Boxes[1].Text.find(L"Siempre al Frente"), std::wstring::npos);
    // Refused, so both boxes went back and the Run entry written on the way was taken out again.
    EXPECT_EQ(Check(kInicio), BST_UNCHECKED);
    EXPECT_EQ(Check(kChTop), BST_UNCHECKED);
    EXPECT_FALSE(RunEntry());
    EXPECT_EQ(StoredText(L"Inicio"), L"1");
    EXPECT_EQ(StoredText(L"ChTop"), L"1");
}

TEST_F(Form2Test, ChTopStoredAsOneChecksItsBoxAndLeavesTheRunKeyAlone) {
    ASSERT_TRUE(Store(L"ChTop", L"1"));
    ASSERT_TRUE(Open());
    EXPECT_EQ(Check(kChTop), BST_CHECKED);
    EXPECT_EQ(Check(kInicio), BST_UNCHECKED);
    EXPECT_EQ(StoredText(L"ChTop"), L"1");
    EXPECT_FALSE(Stored(L"Inicio"));
    EXPECT_FALSE(RunEntry());
    EXPECT_TRUE(platform_.Boxes.empty());
}

// "0" is read by the installed copy each test starts with, the rest by a new portable one each;
// text of another type than REG_SZ is no stored choice either.
TEST_F(Form2Test, StoredZeroOrGarbageChangesNothingAndWritesNothing) {
    const std::pair<const wchar_t*, DWORD> cases[] = {
        {L"0", REG_SZ},  {L"2", REG_SZ},  {L"abc", REG_SZ}, {L"", REG_SZ},   {L"3", REG_SZ},
        {L"-1", REG_SZ}, {L" 1", REG_SZ}, {L"01", REG_SZ},  {L"1 ", REG_SZ}, {L"1", REG_EXPAND_SZ}};
    for (const auto& [text, type] : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "stored \"" << std::string(text, text + wcslen(text)) << "\" " << type);
        for (const wchar_t* key : {L"Inicio", L"ChTop"}) {
            ASSERT_TRUE(WriteValue(HKEY_CURRENT_USER, kSettingsKeyPath, key, type, text));
        }
        ReadOnlyKey settings(HKEY_CURRENT_USER, kSettingsKeyPath);
        ASSERT_TRUE(settings.Denies());
        ReadOnlyKey run(HKEY_LOCAL_MACHINE, kRunPath);
        ASSERT_TRUE(run.Denies());
        ASSERT_TRUE(Open());
        EXPECT_EQ(Check(kChTop), BST_UNCHECKED);
        EXPECT_EQ(Check(kInicio), BST_UNCHECKED);
        EXPECT_EQ(StoredText(L"Inicio"), text);
        EXPECT_EQ(StoredText(L"ChTop"), text);
        EXPECT_TRUE(platform_.Boxes.empty()); // a write would have been refused, and reported
        EXPECT_FALSE(RunEntry());
        form_ = std::make_unique<Form2>([](std::int16_t) {}); // the next row needs a load step
    }
}

TEST_F(Form2Test, SiempreAlFrenteStoresItsStateAndTheClosedHandlerGetsTheFlag) {
    ASSERT_TRUE(Open());
    Click(Ctl(kChTop));
    EXPECT_EQ(Check(kChTop), BST_CHECKED);
    EXPECT_EQ(StoredText(L"ChTop"), L"1");
    EXPECT_EQ(StoredType(L"ChTop"), static_cast<DWORD>(REG_SZ));
    EXPECT_FALSE(Stored(L"Inicio"));
    EXPECT_FALSE(RunEntry());
    EXPECT_TRUE(closed_.empty()); // the choice takes effect when the dialog closes
    CloseBox();
    ASSERT_EQ(closed_.size(), 1u);
    EXPECT_EQ(closed_[0].Flag, -1);
    EXPECT_FALSE(closed_[0].WindowStillThere);
    EXPECT_FALSE(closed_[0].StillLoaded);

    ASSERT_TRUE(Open());
    EXPECT_EQ(Check(kChTop), BST_CHECKED);
    Click(Ctl(kChTop));
    EXPECT_EQ(StoredText(L"ChTop"), L"0");
    CloseBox();
    ASSERT_EQ(closed_.size(), 2u);
    EXPECT_EQ(closed_[1].Flag, 0);
    EXPECT_TRUE(platform_.Boxes.empty());
}

TEST_F(Form2Test, OnlyTheCloseBoxRunsTheClosedHandler) {
    ASSERT_TRUE(Store(L"ChTop", L"1"));
    ASSERT_TRUE(Open());
    form_.reset(); // the program ending destroys the dialog without its closing logic
    EXPECT_TRUE(closed_.empty());
    EXPECT_FALSE(IsWindow(lastHandle_));
}

TEST_F(Form2Test, StoredTopmostFlagIsMinusOneOnlyForAStoredOne) {
    EXPECT_EQ(StoredTopmostFlag(), 0);
    const std::pair<const wchar_t*, std::int16_t> cases[] = {
        {L"1", -1}, {L"0", 0}, {L"2", 0}, {L"abc", 0}, {L" 1", 0}, {L"", 0}, {L"-1", 0}};
    for (const auto& [text, flag] : cases) {
        ASSERT_TRUE(Store(L"ChTop", text));
        EXPECT_EQ(StoredTopmostFlag(), flag);
    }
    ASSERT_TRUE(Store(L"Inicio", L"1"));
    ASSERT_TRUE(Store(L"ChTop", L"0"));
    EXPECT_EQ(StoredTopmostFlag(), 0); // the other key does not count
}

// An installed copy run by an ordinary user: the machine-wide key refuses the dialog, which asks
// an elevated instance instead and waits for it, disabled, with its prompt in front of it.
TEST_F(Form2Test, ElevationAnswersAsTheUserSeesThem) {
    struct Case {
        const char* Name;
        DWORD Error, ExitCode;
        bool Done;
        const wchar_t* Says; // nullptr: no message at all
    };
    const Case cases[] = {
        {"declined", ERROR_CANCELLED, 0, false, nullptr},
        {"failed", ERROR_SUCCESS, ERROR_ACCESS_DENIED, false, L"No hay permiso para cambiar"},
        {"not started", ERROR_FILE_NOT_FOUND, 0, false, L"Error del sistema 2."},
        {"done", ERROR_SUCCESS, ERROR_SUCCESS, true, nullptr},
    };
    for (const bool checking : {true, false}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(::testing::Message() << c.Name << (checking ? ", checking" : ""));
            ASSERT_TRUE(Store(L"Inicio", checking ? L"0" : L"1"));
            static_cast<void>(DeleteValue(HKEY_LOCAL_MACHINE, kRunPath, L"Zelvaran"));
            if (!checking) {
                ASSERT_TRUE(SetRunEntry(ThisProgramQuoted()));
            }
            NewDialog();
            ASSERT_TRUE(Open()); // with "1" stored, the entry is found right: nothing asked
            ASSERT_TRUE(platform_.Elevations.empty());
            ReadOnlyKey guard(HKEY_LOCAL_MACHINE, kRunPath);
            ASSERT_TRUE(guard.Denies());
            platform_.Boxes.clear();
            platform_.ElevationError = c.Error;
            platform_.ElevatedExitCode = c.ExitCode;
            Click(Ctl(kInicio));
            ASSERT_EQ(platform_.Elevations.size(), 1u);
            const ElevationCall call = platform_.Elevations[0];
            platform_.Elevations.clear();
            EXPECT_EQ(call.Owner, form_->Handle());
            EXPECT_EQ(call.File, ThisProgramPath());
            EXPECT_EQ(call.Parameters,
                      checking ? L"/inicio-equipo:escribir" : L"/inicio-equipo:borrar");
            EXPECT_FALSE(call.OwnerEnabled);
            EXPECT_TRUE(IsWindowEnabled(form_->Handle()));
            EXPECT_EQ(Check(kInicio), checking == c.Done ? BST_CHECKED : BST_UNCHECKED);
            EXPECT_EQ(StoredText(L"Inicio"), checking == c.Done ? L"1" : L"0");
            if (c.Says == nullptr) {
                EXPECT_TRUE(platform_.Boxes.empty());
            } else {
                ExpectOneErrorBox(platform_, form_->Handle(), c.Says);
                EXPECT_NE(platform_.Boxes[0].Text.find(checking ? L"No se pudo activar"
                                                                : L"No se pudo desactivar"),
                          std::wstring::npos);
                EXPECT_EQ(platform_.Boxes[0].Text.find(L"administrador"), std::wstring::npos);
            }
        }
    }
}

// Opening the dialog never shows a consent prompt: what would need one is left as it is, and the
// user is told what to do.
TEST_F(Form2Test, OpeningTheDialogNeverAsksForConsent) {
    ASSERT_TRUE(Store(L"Inicio", L"1"));
    {
        // Installed, its machine-wide entry missing.
        ReadOnlyKey guard(HKEY_LOCAL_MACHINE, kRunPath);
        ASSERT_TRUE(guard.Denies());
        ASSERT_TRUE(Open());
        EXPECT_EQ(Check(kInicio), BST_UNCHECKED);
        EXPECT_FALSE(RunEntry());
        EXPECT_EQ(StoredText(L"Inicio"), L"1");
        ASSERT_EQ(platform_.Boxes.size(), 1u);
        EXPECT_NE(platform_.Boxes[0].Text.find(L"Marque \u00ABIniciar con Windows\u00BB para "
                                               L"escribirla"),
                  std::wstring::npos);
    }
    // Portable, with an old machine-wide entry of its own: the user's entry is written.
    ASSERT_TRUE(SetRunEntry(ThisProgramQuoted()));
    ReadOnlyKey guard(HKEY_LOCAL_MACHINE, kRunPath);
    ASSERT_TRUE(guard.Denies());
    platform_.Boxes.clear();
    form_ = std::make_unique<Form2>([](std::int16_t) {});
    form_->SetThisCopy({ThisProgramPath(), RunRoot::User});
    ASSERT_TRUE(Open());
    EXPECT_EQ(Check(kInicio), BST_CHECKED);
    EXPECT_EQ(RunText(HKEY_CURRENT_USER), ThisProgramQuoted());
    EXPECT_EQ(RunText(), ThisProgramQuoted());
    ASSERT_EQ(platform_.Boxes.size(), 1u);
    EXPECT_NE(platform_.Boxes[0].Text.find(
                  L"\u00ABZelvaran\u00BB de "
                  L"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"),
              std::wstring::npos);
    EXPECT_TRUE(platform_.Elevations.empty());
}

TEST_F(Form2Test, AnEntryAlreadyRightNeedsNoRights) {
    ASSERT_TRUE(SetRunEntry(ThisProgramQuoted()));
    ReadOnlyKey guard(HKEY_LOCAL_MACHINE, kRunPath);
    ASSERT_TRUE(guard.Denies());
    ASSERT_TRUE(Open());
    Click(Ctl(kInicio));
    EXPECT_EQ(Check(kInicio), BST_CHECKED);
    EXPECT_EQ(StoredText(L"Inicio"), L"1");
    EXPECT_TRUE(platform_.Boxes.empty());
    EXPECT_TRUE(platform_.Elevations.empty());
}

// The test program lives outside Program Files, as a portable copy would: found for real, it
// registers for this user only and asks nobody.
TEST_F(Form2Test, APortableCopyRegistersForItsUserOnly) {
    form_ = std::make_unique<Form2>([](std::int16_t) {});
    ASSERT_TRUE(Open());
    Click(Ctl(kInicio));
    EXPECT_EQ(Check(kInicio), BST_CHECKED);
    EXPECT_EQ(RunText(HKEY_CURRENT_USER), ThisProgramQuoted());
    EXPECT_FALSE(RunEntry(HKEY_LOCAL_MACHINE));
    EXPECT_EQ(StoredText(L"Inicio"), L"1");
    Click(Ctl(kInicio));
    EXPECT_FALSE(RunEntry(HKEY_CURRENT_USER));
    EXPECT_TRUE(platform_.Elevations.empty());
    EXPECT_TRUE(platform_.Boxes.empty());
}

// The box goes back (and with it a Run entry written on the way), the user is told, and closing
// hands on the flag as it was.
TEST_F(Form2Test, AFailedStorePutsTheBoxBackAndSaysSo) {
    const struct {
        int Box;
        const wchar_t *Key, *Other, *Caption;
    } cases[] = {{kInicio, L"Inicio", L"ChTop", L"Iniciar con Windows"},
                 {kChTop, L"ChTop", L"Inicio", L"Siempre al Frente"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Key);
        CleanConfigRegistry();
        NewDialog();
        platform_.Boxes.clear();
        closed_.clear();
        ASSERT_TRUE(Store(c.Other, L"0"));
        ASSERT_TRUE(Open());
        ReadOnlyKey guard(HKEY_CURRENT_USER, kSettingsKeyPath);
        ASSERT_TRUE(guard.Denies());
        Click(Ctl(c.Box));
        EXPECT_EQ(Check(c.Box), BST_UNCHECKED);
        EXPECT_FALSE(RunEntry());
        EXPECT_FALSE(Stored(c.Key));
        ExpectOneErrorBox(platform_, form_->Handle(), c.Caption);
        CloseBox();
        ASSERT_EQ(closed_.size(), 1u);
        EXPECT_EQ(closed_[0].Flag, 0);
    }
}

} // namespace
} // namespace zelvaran::testing
