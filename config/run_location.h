// Where the start-up entry of a copy of the program belongs, decided from plain path texts. Pure:
// no window or registry code, so the rules are tested on their own, natively too.
//
// A copy inside the machine's Program Files folders can be changed by administrators only, so it
// may start at every user's log-on (HKEY_LOCAL_MACHINE). Any other copy could be replaced by
// whoever can write its folder, so it starts only for the user who chose it (HKEY_CURRENT_USER).
#pragma once

#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zelvaran::config {

enum class RunRoot { Machine, User };

// The two steps an elevated instance of an installed copy carries out, each named by its own
// command-line switch.
enum class MachineStep { Write, Delete };
inline constexpr std::wstring_view kWriteSwitch = L"/inicio-equipo:escribir";
inline constexpr std::wstring_view kDeleteSwitch = L"/inicio-equipo:borrar";

namespace detail {

// Upper case for the letters a path is likely to hold (Latin, Greek, Cyrillic). A letter left
// unfolded can only make two spellings of one path compare as different, which sends a copy to
// the per-user entry or leaves an entry alone: the safe side in both cases.
[[nodiscard]] constexpr wchar_t FoldCase(wchar_t c) noexcept {
    const unsigned u = c;
    if ((u >= 'a' && u <= 'z') || (u >= 0xE0 && u <= 0xFE && u != 0xF7) ||
        (u >= 0x3B1 && u <= 0x3C9 && u != 0x3C2) || (u >= 0x430 && u <= 0x44F)) {
        return static_cast<wchar_t>(u - 0x20);
    }
    if (u >= 0x450 && u <= 0x45F) {
        return static_cast<wchar_t>(u - 0x50);
    }
    if (u == 0xFF) {
        return static_cast<wchar_t>(0x178);
    }
    // Latin Extended-A: capital and small letters alternate, capital first except in two runs.
    if ((u >= 0x100 && u <= 0x137) || (u >= 0x14A && u <= 0x177)) {
        return static_cast<wchar_t>(u & ~1u);
    }
    if ((u >= 0x139 && u <= 0x148) || (u >= 0x179 && u <= 0x17E)) {
        return static_cast<wchar_t>(u % 2 == 0 ? u - 1 : u);
    }
    return c;
}

[[nodiscard]] constexpr bool IsSeparator(wchar_t c) noexcept {
    return c == L'\\' || c == L'/';
}

[[nodiscard]] constexpr bool StartsWithFolded(std::wstring_view text,
                                              std::wstring_view prefix) noexcept {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (FoldCase(text[i]) != FoldCase(prefix[i])) {
            return false;
        }
    }
    return true;
}

} // namespace detail

// A path as it is compared: the "\\?\" and "\\?\UNC\" prefixes of the system's long form taken
// off (so "\\?\UNC\server\share" is "\\server\share"), forward slashes made backslashes, and
// no separator at the end.
[[nodiscard]] inline std::wstring PlainPath(std::wstring_view path) {
    std::wstring plain;
    if (detail::StartsWithFolded(path, L"\\\\?\\UNC\\")) {
        plain = L"\\\\";
        path.remove_prefix(8);
    } else if (detail::StartsWithFolded(path, L"\\\\?\\") ||
               detail::StartsWithFolded(path, L"\\\\.\\")) {
        path.remove_prefix(4);
    }
    plain.append(path);
    for (wchar_t& c : plain) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    while (plain.size() > 1 && plain.back() == L'\\') {
        plain.pop_back();
    }
    return plain;
}

// Whether two texts are equal without regard to case.
[[nodiscard]] constexpr bool SameText(std::wstring_view a, std::wstring_view b) noexcept {
    return a.size() == b.size() && detail::StartsWithFolded(a, b);
}

// Whether two paths name the same place, without regard to case.
[[nodiscard]] inline bool SamePath(std::wstring_view a, std::wstring_view b) {
    const std::wstring left = PlainPath(a);
    const std::wstring right = PlainPath(b);
    return SameText(left, right);
}

// Whether `path` lies inside `folder` (at any depth), without regard to case. "C:\Program Files
// Evil\x.exe" is not inside "C:\Program Files"; a path with "." or ".." steps is inside nothing,
// since it could climb out.
[[nodiscard]] inline bool IsInsideFolder(std::wstring_view path, std::wstring_view folder) {
    const std::wstring p = PlainPath(path);
    const std::wstring f = PlainPath(folder);
    if (f.empty() || p.size() <= f.size() + 1 || !detail::StartsWithFolded(p, f)) {
        return false;
    }
    // The folder's name must end where the path's next step begins.
    if (f.back() != L'\\' && p[f.size()] != L'\\') {
        return false;
    }
    std::wstring_view rest = std::wstring_view(p).substr(f.size());
    while (!rest.empty()) {
        const std::size_t start = rest.find_first_not_of(L'\\');
        if (start == std::wstring_view::npos) {
            break;
        }
        rest.remove_prefix(start);
        const std::wstring_view step = rest.substr(0, rest.find(L'\\'));
        if (step == L"." || step == L"..") {
            return false;
        }
        rest.remove_prefix(step.size());
    }
    return true;
}

// The folders above a path, nearest first, down to its root ("C:\" or "\\server\share\"), the
// root with its backslash as the system's security calls take it. Nothing for a path without a
// root.
[[nodiscard]] inline std::vector<std::wstring> FoldersAbove(std::wstring_view path) {
    const std::wstring p = PlainPath(path);
    std::size_t rootEnd = std::wstring::npos; // the backslash that ends the root
    if (p.size() >= 3 && p[1] == L':' && p[2] == L'\\') {
        rootEnd = 2;
    } else if (p.starts_with(L"\\\\") && p.size() > 2) {
        const std::size_t server = p.find(L'\\', 2);
        rootEnd = server == std::wstring::npos ? server : p.find(L'\\', server + 1);
    }
    if (rootEnd == std::wstring::npos || rootEnd + 1 >= p.size()) {
        return {};
    }
    std::vector<std::wstring> folders;
    for (std::size_t cut = p.rfind(L'\\'); cut > rootEnd; cut = p.rfind(L'\\', cut - 1)) {
        folders.push_back(p.substr(0, cut));
    }
    folders.push_back(p.substr(0, rootEnd + 1));
    return folders;
}

// A path of the system's list of renames and deletes left for the next restart as the file
// system would take it: the "!" before a rename's target, the "\\??\\" and "\\??\\UNC\\"
// prefixes of the native form, "." and ".." steps (".." never above the root) all taken off.
// Short (8.3) names need the disk and are the caller's to expand; case is compared later.
[[nodiscard]] inline std::wstring PendingPath(std::wstring_view entry) {
    if (entry.starts_with(L'!')) {
        entry.remove_prefix(1);
    }
    std::wstring path;
    if (detail::StartsWithFolded(entry, L"\\??\\UNC\\")) {
        path = L"\\\\";
        entry.remove_prefix(8);
    } else if (entry.starts_with(L"\\??\\")) {
        entry.remove_prefix(4);
    }
    path = PlainPath(path.append(entry));
    const std::vector<std::wstring> above = FoldersAbove(path);
    if (above.empty()) {
        return path; // a root, or no root at all: nothing to resolve
    }
    std::wstring resolved = above.back(); // the root, with its backslash
    const std::size_t rootSize = resolved.size();
    std::wstring_view rest = std::wstring_view(path).substr(std::min(rootSize, path.size()));
    while (!rest.empty()) {
        const std::size_t cut = rest.find(L'\\');
        const std::wstring_view step = rest.substr(0, cut);
        rest.remove_prefix(cut == std::wstring_view::npos ? rest.size() : cut + 1);
        if (step.empty() || step == L".") {
            continue;
        }
        if (step == L"..") {
            const std::size_t last = resolved.rfind(L'\\');
            resolved.resize(std::max(rootSize, last == std::wstring::npos ? 0 : last));
            continue;
        }
        if (resolved.size() > rootSize) {
            resolved += L'\\';
        }
        resolved.append(step);
    }
    return PlainPath(resolved);
}

// Whether any path of that list (see PendingPath) is `folder` or lies inside it.
[[nodiscard]] inline bool AnyPendingInside(std::span<const std::wstring> operations,
                                           std::wstring_view folder) {
    for (const std::wstring& entry : operations) {
        const std::wstring path = PendingPath(entry);
        if (!path.empty() && (SamePath(path, folder) || IsInsideFolder(path, folder))) {
            return true;
        }
    }
    return false;
}

// The decision itself. `finalPath` is the copy's real location (links resolved), `programFiles`
// the machine's Program Files folders; empty entries (a folder the system did not give) count
// for nothing.
[[nodiscard]] inline RunRoot RunRootFor(std::wstring_view finalPath,
                                        std::span<const std::wstring> programFiles) {
    for (const std::wstring& folder : programFiles) {
        if (IsInsideFolder(finalPath, folder)) {
            return RunRoot::Machine;
        }
    }
    return RunRoot::User;
}

// The command a Run entry holds for a copy: its path in double quotes, so that a path with
// blanks starts this program and nothing else.
[[nodiscard]] inline std::wstring RunCommandFor(std::wstring_view path) {
    std::wstring command = L"\"";
    command.append(path);
    command += L'"';
    return command;
}

// Whether a Run entry's command starts the copy at `path`: its program part (the quoted text, or
// the whole text when unquoted, as earlier releases wrote it), compared without regard to case.
[[nodiscard]] inline bool CommandStarts(std::wstring_view command, std::wstring_view path) {
    const std::size_t first = command.find_first_not_of(L' ');
    if (first == std::wstring_view::npos) {
        return false;
    }
    command.remove_prefix(first);
    if (command.front() == L'"') {
        const std::size_t close = command.find(L'"', 1);
        if (close == std::wstring_view::npos) {
            return false;
        }
        command = command.substr(1, close - 1);
    } else {
        command = command.substr(0, command.find_last_not_of(L' ') + 1);
    }
    return !command.empty() && SamePath(command, path);
}

// The step a command line asks for: exactly one of the two switches, blanks around it allowed.
// Anything else starts the program as usual.
[[nodiscard]] constexpr std::optional<MachineStep>
MachineStepFromCommandLine(std::wstring_view commandLine) noexcept {
    const std::size_t first = commandLine.find_first_not_of(L" \t");
    if (first == std::wstring_view::npos) {
        return std::nullopt;
    }
    commandLine = commandLine.substr(first, commandLine.find_last_not_of(L" \t") + 1 - first);
    if (commandLine == kWriteSwitch) {
        return MachineStep::Write;
    }
    if (commandLine == kDeleteSwitch) {
        return MachineStep::Delete;
    }
    return std::nullopt;
}

} // namespace zelvaran::config
