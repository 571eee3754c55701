// A file's or folder's owner and DACL read as the system stores them, entry by entry, into the
// plain lists that permissions.h judges.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "config/permissions.h"

namespace zelvaran::config {

// The owner and DACL of a descriptor, walked entry by entry. Nothing when any part cannot be
// read (no owner, an entry of a kind not known, a SID that does not fit in its entry): a
// descriptor not understood protects nothing.
[[nodiscard]] std::optional<SecurityInfo> ReadDescriptor(PSECURITY_DESCRIPTOR descriptor);

// Opens the path with FILE_FLAG_OPEN_REPARSE_POINT and reads its attributes and descriptor from
// the handle, so that what is judged is the object the name leads to and nothing behind it.
// Nothing, with the error, when it cannot be opened or read.
[[nodiscard]] std::optional<PathEntry> ReadPathEntry(const std::wstring& path, DWORD& error);

} // namespace zelvaran::config
