#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace zelvaran {

// Overwrites memory in a way the optimiser may not remove (SecureZeroMemory on Windows).
void SecureWipe(void* data, std::size_t bytes) noexcept;

// Wipes the whole buffer of a string, its unused capacity and short-string storage included.
void WipeString(std::u16string& text) noexcept;
void WipeString(std::u32string& text) noexcept;

// A password being handed around: move-only, wiped when it dies.
class SecretText {
public:
    SecretText() = default;
    explicit SecretText(std::u16string text) noexcept : text_(std::move(text)) {}
    SecretText(const SecretText&) = delete;
    SecretText& operator=(const SecretText&) = delete;
    SecretText(SecretText&& other) noexcept : text_(std::move(other.text_)) { other.Clear(); }
    SecretText& operator=(SecretText&& other) noexcept {
        if (this != &other) {
            Clear();
            text_ = std::move(other.text_);
            other.Clear();
        }
        return *this;
    }
    ~SecretText() { WipeString(text_); }

    [[nodiscard]] std::u16string_view View() const noexcept { return text_; }
    [[nodiscard]] const char16_t* CStr() const noexcept { return text_.c_str(); }
    [[nodiscard]] std::size_t Size() const noexcept { return text_.size(); }
    // For building in place; callers reserve first so no unwiped copy is left behind.
    [[nodiscard]] std::u16string& Buffer() noexcept { return text_; }
    void Clear() noexcept {
        WipeString(text_);
        text_.clear();
    }

private:
    std::u16string text_;
};

} // namespace zelvaran
