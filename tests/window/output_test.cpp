// Copiar, Cortar and Cortar y Salir against the real clipboard of the test prefix.
#include <atomic>
#include <thread>

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "main_window_fixture.h"
#include "output/clipboard.h"
#include "passphrase/phrase_layout.h"

namespace zelvaran::testing {
namespace {

using namespace mainwindow;

class OutputTest : public MainWindowTest {
protected:
    std::wstring GenerateOne() {
        Click(Ctl(kCmdGennerate));
        return TextOf(Ctl(kTxtPassword));
    }
    // A run, then `button`: what the run gave, checked to be what the clipboard holds.
    std::wstring ClickAfterARun(int button) {
        const std::wstring password = GenerateOne();
        Click(Ctl(button));
        EXPECT_EQ(ClipboardText(), password);
        return password;
    }
    void ExpectOutputButtonsEnabled(bool enabled) {
        for (int id : {kCopy, kCut, kCutxit}) {
            EXPECT_EQ(IsEnabled(Ctl(id)), enabled) << id;
        }
    }
};

TEST_F(OutputTest, CopyPlacesTheTextKeepsItAndDisablesTheButtons) {
    const std::wstring password = ClickAfterARun(kCopy);
    ASSERT_EQ(password.size(), 5u);
    EXPECT_EQ(TextOf(Ctl(kTxtPassword)), password);
    ExpectOutputButtonsEnabled(false);
    ASSERT_EQ(platform_.Log, std::vector<std::wstring>{L"box:Texto Copiado"});
    EXPECT_EQ(platform_.Boxes[0].Title, L"Zelvaran");
    EXPECT_EQ(platform_.Boxes[0].Type & (MB_ICONMASK | MB_TYPEMASK),
              static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    // Only a new run enables them again.
    Click(Ctl(kCopy));
    EXPECT_EQ(platform_.Boxes.size(), 1u);
    GenerateOne();
    ExpectOutputButtonsEnabled(true);
}

TEST_F(OutputTest, CutPlacesTheTextAndEmptiesTheBox) {
    ClickAfterARun(kCut);
    EXPECT_EQ(TextOf(Ctl(kTxtPassword)), L"");
    ExpectOutputButtonsEnabled(false);
    EXPECT_EQ(platform_.Log, std::vector<std::wstring>{L"box:Texto Cortado"});
}

TEST_F(OutputTest, TheClipboardIsClearedAndMarkedAsPrivate) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    const UINT other = RegisterClipboardFormatW(L"ZelvaranTestLeftover");
    HGLOBAL leftover = GlobalAlloc(GMEM_MOVEABLE, 4);
    ASSERT_NE(SetClipboardData(other, leftover), nullptr);
    CloseClipboard();

    ClickAfterARun(kCopy);
    EXPECT_FALSE(IsClipboardFormatAvailable(other));
    EXPECT_TRUE(ClipboardHasFormat(output::kExcludeFromMonitoring));
    EXPECT_TRUE(ClipboardHasFormat(output::kViewerIgnore));
    EXPECT_EQ(ClipboardDword(output::kCanIncludeInHistory), DWORD{0});
    EXPECT_EQ(ClipboardDword(output::kCanUploadToCloud), DWORD{0});
}

TEST_F(OutputTest, CopyingAnEmptyBoxLeavesOnlyTheEmptyText) {
    ASSERT_TRUE(SetClipboardText(L"something older"));
    SetText(kTxtLength, L"0");
    EXPECT_EQ(ClickAfterARun(kCopy), L"");
}

TEST_F(OutputTest, CutAndExitConfirmsThenClosesTheWindow) {
    HWND main = Main().Handle();
    ClickAfterARun(kCutxit);
    // The box comes first, then the unload step ends the process (recorded here).
    EXPECT_EQ(platform_.Log, (std::vector<std::wstring>{L"box:Texto Cortado", L"end:0"}));
    EXPECT_FALSE(Main().Tray().IsShown());
    EXPECT_TRUE(IsWindow(main));
}

// Another thread holds the clipboard open for longer than the retries last. Plain flags and short
// sleeps, not std::latch: the MinGW C++ library's atomic waits can miss a wake-up and hang.
class ClipboardHolder {
public:
    ClipboardHolder() {
        thread_ = std::thread([this] {
            opened_ = OpenClipboard(nullptr) != FALSE;
            ready_ = true;
            while (!release_) {
                Sleep(10);
            }
            if (opened_) {
                CloseClipboard();
            }
        });
        while (!ready_) {
            Sleep(1);
        }
    }
    ~ClipboardHolder() {
        release_ = true;
        thread_.join();
    }
    [[nodiscard]] bool Opened() const { return opened_; }

private:
    std::atomic<bool> ready_{false};
    std::atomic<bool> release_{false};
    std::atomic<bool> opened_{false};
    std::thread thread_;
};

TEST_F(OutputTest, BusyClipboardIsReportedAndNothingIsLost) {
    ASSERT_TRUE(SetClipboardText(L"before"));
    const std::wstring password = GenerateOne();
    HWND main = Main().Handle();
    {
        ClipboardHolder holder;
        ASSERT_TRUE(holder.Opened());
        for (int id : {kCopy, kCut, kCutxit}) {
            Click(Ctl(id));
        }
    }
    ASSERT_EQ(platform_.Boxes.size(), 3u);
    for (const auto& box : platform_.Boxes) {
        EXPECT_EQ(box.Title, L"Zelvaran Error");
        EXPECT_EQ(box.Type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
        EXPECT_NE(box.Text.find(L"Portapapeles"), std::wstring::npos);
    }
    EXPECT_EQ(TextOf(Ctl(kTxtPassword)), password);
    ExpectOutputButtonsEnabled(true);
    EXPECT_TRUE(IsWindow(main));
    EXPECT_TRUE(platform_.EndCodes.empty());
    EXPECT_EQ(ClipboardText(), L"before");
}

// What the passphrase read-out is asked to do: the texts set on it, and whether anyone reached for
// its buffer (EM_GETHANDLE), which a program must not write into.
std::vector<std::wstring> g_readOutSets;
int g_bufferRequests = 0;

LRESULT CALLBACK WatchReadOut(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR) {
    if (msg == WM_SETTEXT) {
        g_readOutSets.emplace_back(reinterpret_cast<const wchar_t*>(lParam));
    }
    g_bufferRequests += msg == EM_GETHANDLE ? 1 : 0;
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

TEST_F(OutputTest, ThePhraseIsBlankedThenReplacedWithoutTouchingTheBoxBuffer) {
    SysCommand(frmMain::kSysPassphrase);
    HWND readOut = Main().Passphrase().Control(passphrase::kTxtFrase);
    const std::wstring first = TextOf(readOut);
    ASSERT_FALSE(first.empty());
    ASSERT_TRUE(SetWindowSubclass(readOut, &WatchReadOut, 1, 0));
    Click(Main().Passphrase().Control(passphrase::kCmdGenerar));
    const std::wstring second = TextOf(readOut);
    SendMessageW(Main().Passphrase().Handle(), WM_CLOSE, 0, 0); // the subclass goes with the box
    const std::vector<std::wstring> expected{std::wstring(first.size(), L' '), second,
                                             std::wstring(second.size(), L' '), L""};
    EXPECT_EQ(g_readOutSets, expected);
    EXPECT_EQ(g_bufferRequests, 0);
}

} // namespace
} // namespace zelvaran::testing
