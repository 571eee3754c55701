#include "passphrase/phrase_choices.h"

#include "config/settings_parse.h"
#include "config/settings_store.h"
#include "generator/phrase_rules.h"

namespace zelvaran::passphrase {
namespace {

std::wstring Stored(std::wstring_view key, std::wstring_view fallback) {
    return config::GetSetting(config::kAppName, config::kSection, key, fallback);
}

} // namespace

std::optional<int> ParseWordCount(std::wstring_view text) noexcept {
    if (text.empty() || text.size() > 2) {
        return std::nullopt;
    }
    int value = 0;
    for (const wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            return std::nullopt;
        }
        value = value * 10 + (c - L'0');
    }
    if (value < kMinPhraseWords || value > kMaxPhraseWords) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> ParseStoredWordCount(std::wstring_view text) noexcept {
    if (text.starts_with(L'0')) {
        return std::nullopt;
    }
    return ParseWordCount(text);
}

bool SeparatorAllowed(std::wstring_view text) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i, ++characters) {
        const wchar_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            ++i; // a pair is one character
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            return false;
        }
    }
    // Emptiness depends on the capitals, and is judged with them.
    return characters <= 8 &&
           CheckSeparator({reinterpret_cast<const char16_t*>(text.data()), text.size()}, true) ==
               PhraseRefusal::None;
}

PassphraseOptions LoadChoices() {
    PassphraseOptions choices;
    choices.Words = ParseStoredWordCount(Stored(config::kKeyWords, L"")).value_or(choices.Words);
    const std::wstring separator = Stored(config::kKeySeparator, L"-");
    if (SeparatorAllowed(separator)) {
        choices.Separator.assign(separator.begin(), separator.end());
    }
    choices.Capitalize =
        config::ParseStoredState(Stored(config::kKeyCapitals, L""), kUnchecked) == kChecked;
    choices.AddDigit =
        config::ParseStoredState(Stored(config::kKeyDigit, L""), kUnchecked) == kChecked;
    if (CheckSeparator(choices.Separator, choices.Capitalize) != PhraseRefusal::None) {
        choices.Separator = PassphraseOptions{}.Separator; // joined words without their capitals
    }
    return choices;
}

LSTATUS SaveChoices(const PassphraseOptions& choices, PassphraseOptions& stored) {
    const auto save = [](std::wstring_view key, std::wstring_view text) {
        return config::SaveSetting(config::kAppName, config::kSection, key, text);
    };
    const auto flag = [](bool on) {
        return config::StoredStateText(on ? kChecked : kUnchecked);
    };
    LSTATUS status = ERROR_SUCCESS;
    if (choices.Words != stored.Words) {
        status = save(config::kKeyWords, std::to_wstring(choices.Words));
        if (status != ERROR_SUCCESS) {
            return status;
        }
        stored.Words = choices.Words;
    }
    if (choices.Separator != stored.Separator) {
        status = save(config::kKeySeparator,
                      std::wstring(choices.Separator.begin(), choices.Separator.end()));
        if (status != ERROR_SUCCESS) {
            return status;
        }
        stored.Separator = choices.Separator;
    }
    if (choices.Capitalize != stored.Capitalize) {
        status = save(config::kKeyCapitals, flag(choices.Capitalize));
        if (status != ERROR_SUCCESS) {
            return status;
        }
        stored.Capitalize = choices.Capitalize;
    }
    if (choices.AddDigit != stored.AddDigit) {
        status = save(config::kKeyDigit, flag(choices.AddDigit));
        if (status != ERROR_SUCCESS) {
            return status;
        }
        stored.AddDigit = choices.AddDigit;
    }
    return ERROR_SUCCESS;
}

} // namespace zelvaran::passphrase
