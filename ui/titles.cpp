#include "ui/titles.h"

namespace zelvaran::ui {
namespace {

std::wstring Dotted(const Version& v) {
    return std::to_wstring(v.Major) + L"." + std::to_wstring(v.Minor) + L"." +
           std::to_wstring(v.Revision);
}

} // namespace

std::wstring MainTitle(const Version& version) {
    return L"Morvantic SecurityZelvaran v" + Dotted(version);
}

std::wstring VersionLine(const Version& version) {
    return L"Versi\u00F3n: " + Dotted(version);
}

} // namespace zelvaran::ui
