// The two pages the About dialog opens. The hosts are the ones printed on the dialog's picture;
// change both places together.
#pragma once

namespace zelvaran::about {

// The program's own page on the maker's site.
inline constexpr wchar_t kProgramPageAddress[] = L"http://www.morvantic.example/zelvaran/";
// The home page of OVRA, the organisation behind the maker.
inline constexpr wchar_t kOvraHomeAddress[] = L"http://www.ovra.example/";

} // namespace zelvaran::about
