// The passphrase window of the built program, opened from its system menu (by its command: the
// menus of another process cannot be read here), and the choices it leaves in the registry.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "generator/words.h"
#include "mainwindow/frm_main.h"
#include "passphrase/phrase_layout.h"
#include "program.h"
#include "program_checks.h"
#include "win_helpers.h"

namespace zelvaran::testing {
namespace {

constexpr const wchar_t* kChoices[] = {L"FrasePalabras", L"FraseSeparador", L"FraseMayusculas",
                                       L"FraseCifra", L"ChTop"};

void Store(const wchar_t* name, const std::wstring& text) {
    ASSERT_EQ(WriteRegistryText(HKEY_CURRENT_USER, kUserSettingsKey, name, text), ERROR_SUCCESS);
}

// The words of a phrase, the digit taken off the one that has it.
std::vector<std::wstring> Words(const std::wstring& phrase, const std::wstring& separator) {
    std::vector<std::wstring> words;
    for (std::size_t start = 0;;) {
        const std::size_t end = phrase.find(separator, start);
        std::wstring word = phrase.substr(start, end - start);
        if (!word.empty() && word.back() >= L'0' && word.back() <= L'9') {
            word.pop_back();
        }
        words.push_back(word);
        if (end == std::wstring::npos) {
            return words;
        }
        start = end + separator.size();
    }
}

bool InList(std::wstring word) {
    std::transform(word.begin(), word.end(), word.begin(), towlower);
    const std::string plain(word.begin(), word.end());
    const auto list = SpanishWords();
    return std::find(list.begin(), list.end(), plain) != list.end();
}

class PassphraseEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        Clear();
        main_ = program_.WaitForWindow(L"Zelvaran.frmMain");
        ASSERT_NE(main_, nullptr);
    }
    void TearDown() override {
        PostMessageW(main_, WM_CLOSE, 0, 0);
        EXPECT_TRUE(program_.WaitForExit(10000));
        Clear();
    }
    static void Clear() {
        for (const wchar_t* name : kChoices) {
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kUserSettingsKey, name);
        }
    }
    HWND Open() {
        PostMessageW(main_, WM_SYSCOMMAND, mainwindow::frmMain::kSysPassphrase, 0);
        window_ = program_.WaitForWindow(L"Zelvaran.frmFrase");
        return window_;
    }
    HWND Item(int id) const { return FindControlById(window_, id); }
    // The figure with its band, and the average time to guess the phrase.
    void ExpectStrength(const wchar_t* entropy, const wchar_t* time) const {
        EXPECT_EQ(RemoteText(Item(passphrase::kLblEntropia)),
                  std::wstring(L"Entrop\u00EDa: ") + entropy);
        EXPECT_EQ(RemoteText(Item(passphrase::kLblTiempo)),
                  std::wstring(L"Tiempo medio para adivinarla: ") + time);
    }
    std::wstring Phrase() const { return RemoteText(Item(passphrase::kTxtFrase)); }
    void SetText(int id, const wchar_t* text) const {
        SendMessageW(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    }

    RunningProgram program_;
    HWND main_ = nullptr;
    HWND window_ = nullptr;
};

TEST_F(PassphraseEndToEnd, OpensWithAPhraseFollowsTheSettingsAndStaysOne) {
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(RemoteText(window_), L"Frase de Contrase\u00F1a Security Zelvaran");
    const std::wstring first = Phrase();
    const auto words = Words(first, L"-");
    EXPECT_EQ(words.size(), 7u) << first; // 84 bits: above 80 with no touch
    EXPECT_TRUE(std::all_of(words.begin(), words.end(), InList)) << first;
    ExpectStrength(L"84,0 bits (fuerte)", L"unos 310\u00A0000 a\u00F1os");

    SetText(passphrase::kTxtPalabras, L"9");
    ExpectStrength(L"108,0 bits (muy fuerte)", L"m\u00E1s que la edad del universo");
    SendMessageW(Item(passphrase::kChkCifra), BM_CLICK, 0, 0);
    ExpectStrength(L"114,5 bits (muy fuerte)", L"m\u00E1s que la edad del universo");
    SendMessageW(Item(passphrase::kCmdGenerar), BM_CLICK, 0, 0);
    const std::wstring second = Phrase();
    EXPECT_EQ(Words(second, L"-").size(), 9u) << second;
    EXPECT_EQ(std::count_if(second.begin(), second.end(), iswdigit), 1) << second;

    // The item again brings the same window forward; there is never a second one.
    PostMessageW(main_, WM_SYSCOMMAND, mainwindow::frmMain::kSysPassphrase, 0);
    EXPECT_EQ(program_.WaitForWindow(L"Zelvaran.frmFrase"), window_);
    EXPECT_EQ(FindWindowExW(nullptr, window_, L"Zelvaran.frmFrase", nullptr), nullptr);
    EXPECT_EQ(Phrase(), second);
}

TEST_F(PassphraseEndToEnd, AWordCountOutsideOneToSixtyFourIsRefusedAndThePhraseKept) {
    ASSERT_NE(Open(), nullptr);
    const std::wstring before = Phrase();
    for (const wchar_t* count : {L"0", L"", L"65"}) {
        SetText(passphrase::kTxtPalabras, count);
        ExpectStrength(L"\u2014", L"\u2014");
        PostClick(Item(passphrase::kCmdGenerar));
        HWND box = program_.WaitForMessageBox(L"Zelvaran Error");
        ASSERT_NE(box, nullptr) << count;
        EXPECT_EQ(MessageBoxText(box), L"El n\u00FAmero de palabras debe ser de 1 a 64.\r\n\r\n"
                                       L"La frase anterior sigue en la ventana.");
        EXPECT_FALSE(IsWindowEnabled(main_)); // every message box holds the whole program
        DismissMessageBox(box);
        EXPECT_EQ(Phrase(), before) << count;
    }
    SetText(passphrase::kTxtPalabras, L"4x2"); // a paste the digits-only box cuts down
    EXPECT_EQ(RemoteText(Item(passphrase::kTxtPalabras)), L"42");
}

TEST_F(PassphraseEndToEnd, SeparatorsThatMisleadAreRefusedAndThePhraseKept) {
    Store(L"FraseSeparador", L"\u200B"); // invisible: counts as the default, left as it is
    Store(L"FrasePalabras", L"6");       // stored before the default became 7: kept
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(RemoteText(Item(passphrase::kTxtSeparador)), L"-");
    EXPECT_EQ(RemoteText(Item(passphrase::kTxtPalabras)), L"6");
    const std::wstring before = Phrase();
    for (const auto& [separator, message] :
         {std::pair{L"",
                    L"Sin separador, solo las may\u00FAsculas marcan d\u00F3nde empieza cada "
                    L"palabra: escriba un separador o marque \u00ABMay\u00FAscula inicial\u00BB."},
          std::pair{L"\u202E", L"El separador admite hasta 8 caracteres, ninguno de ellos de "
                               L"control ni invisible."}}) {
        SetText(passphrase::kTxtSeparador, separator);
        PostClick(Item(passphrase::kCmdGenerar));
        HWND box = program_.WaitForMessageBox(L"Zelvaran Error");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(MessageBoxText(box),
                  std::wstring(message) + L"\r\n\r\nLa frase anterior sigue en la ventana.");
        DismissMessageBox(box);
        EXPECT_EQ(Phrase(), before);
    }
    SetText(passphrase::kTxtSeparador, L"");
    EXPECT_EQ(RemoteText(Item(passphrase::kLblEntropia)), L"Entrop\u00EDa: \u2014");
    SendMessageW(Item(passphrase::kChkMayusculas), BM_CLICK, 0, 0); // capitals mark the words
    EXPECT_EQ(RemoteText(Item(passphrase::kLblEntropia)), L"Entrop\u00EDa: 72,0 bits (buena)");
    SendMessageW(Item(passphrase::kChkMayusculas), BM_CLICK, 0, 0);
    // Closed with a separator Generar refuses: the stored one stays untouched.
    PostMessageW(Item(passphrase::kTxtFrase), WM_KEYDOWN, VK_ESCAPE, 0);
    for (int i = 0; i < 100 && IsWindow(window_); ++i) {
        Sleep(50);
    }
    EXPECT_EQ(Stored(L"FraseSeparador"), L"\u200B");
    EXPECT_EQ(Stored(L"FrasePalabras"), L"6");
}

TEST_F(PassphraseEndToEnd, CopiarPutsThePhraseOnTheClipboard) {
    ASSERT_NE(Open(), nullptr);
    ASSERT_TRUE(SetClipboardText(L"antes"));
    PostClick(Item(passphrase::kCmdCopiar));
    HWND box = program_.WaitForMessageBox(L"Zelvaran");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), L"Texto Copiado");
    DismissMessageBox(box);
    EXPECT_EQ(ClipboardText(), Phrase());
    EXPECT_TRUE(ClipboardHasFormat(L"ExcludeClipboardContentFromMonitorProcessing"));
    // Ctrl+C in the read-out copies the selection the same way.
    ASSERT_TRUE(SetClipboardText(L"antes"));
    SendMessageW(Item(passphrase::kTxtFrase), EM_SETSEL, 2, 7);
    SendMessageW(Item(passphrase::kTxtFrase), WM_COPY, 0, 0);
    EXPECT_EQ(ClipboardText(), Phrase().substr(2, 5));
    EXPECT_TRUE(ClipboardHasFormat(L"ExcludeClipboardContentFromMonitorProcessing"));
}

TEST_F(PassphraseEndToEnd, ChoicesAreRememberedAndAMalformedOneIsLeftAlone) {
    Store(L"FraseCifra", L"s\u00ED");
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(SendMessageW(Item(passphrase::kChkCifra), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    SetText(passphrase::kTxtPalabras, L"4");
    SetText(passphrase::kTxtSeparador, L" + ");
    SendMessageW(Item(passphrase::kChkMayusculas), BM_CLICK, 0, 0);
    PostMessageW(Item(passphrase::kTxtFrase), WM_KEYDOWN, VK_ESCAPE, 0); // Esc closes it
    for (int i = 0; i < 100 && IsWindow(window_); ++i) {
        Sleep(50);
    }
    ASSERT_FALSE(IsWindow(window_));
    EXPECT_EQ(Stored(L"FrasePalabras"), L"4");
    EXPECT_EQ(Stored(L"FraseSeparador"), L" + ");
    EXPECT_EQ(Stored(L"FraseMayusculas"), L"1");
    EXPECT_EQ(Stored(L"FraseCifra"), L"s\u00ED");

    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(RemoteText(Item(passphrase::kTxtPalabras)), L"4");
    EXPECT_EQ(RemoteText(Item(passphrase::kTxtSeparador)), L" + ");
    const std::wstring phrase = Phrase();
    const auto words = Words(phrase, L" + ");
    ASSERT_EQ(words.size(), 4u) << phrase;
    for (const std::wstring& word : words) {
        EXPECT_TRUE(iswupper(word[0]) && InList(word)) << phrase;
    }
}

} // namespace
} // namespace zelvaran::testing
