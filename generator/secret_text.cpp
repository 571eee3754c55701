#include "generator/secret_text.h"

namespace zelvaran {
namespace {

// Growing the string to its capacity makes the whole allocation (or the short-string buffer)
// addressable through data() without reallocating, so nothing outside the wipe is touched.
template <class Char> void WipeWholeBuffer(std::basic_string<Char>& text) noexcept {
    text.resize(text.capacity());
    SecureWipe(text.data(), text.size() * sizeof(Char));
    text.clear();
}

} // namespace

void WipeString(std::u16string& text) noexcept {
    WipeWholeBuffer(text);
}
void WipeString(std::u32string& text) noexcept {
    WipeWholeBuffer(text);
}

} // namespace zelvaran
