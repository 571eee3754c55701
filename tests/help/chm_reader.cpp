#include "chm_reader.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>

namespace zelvaran::chm {
namespace {

constexpr std::size_t kItsfHeaderLength = 0x60;
constexpr std::size_t kItspHeaderLength = 0x54;
constexpr std::size_t kPmglHeaderLength = 0x14;
constexpr std::uint32_t kNoChunk = 0xFFFFFFFF;
constexpr std::string_view kResetTable =
    "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/"
    "InstanceData/ResetTable";
constexpr std::string_view kCompressedContent = "::DataSpace/Storage/MSCompressed/Content";

// Little-endian integer of N bytes at pos; the caller has checked the bounds.
template <class T> T ReadLe(std::span<const std::byte> data, std::size_t pos) {
    T value = 0;
    for (std::size_t i = sizeof(T); i-- > 0;) {
        value = static_cast<T>((value << 8) | std::to_integer<T>(data[pos + i]));
    }
    return value;
}

bool HasTag(std::span<const std::byte> data, std::size_t pos, std::string_view tag) {
    if (pos + tag.size() > data.size()) {
        return false;
    }
    return std::equal(tag.begin(), tag.end(), data.begin() + static_cast<std::ptrdiff_t>(pos),
                      [](char c, std::byte b) { return static_cast<std::byte>(c) == b; });
}

// Parses the entries of one PMGL chunk; returns an error text or an empty string.
std::string ReadListingChunk(std::span<const std::byte> chunk, std::vector<Entry>& out) {
    const auto freeSpace = ReadLe<std::uint32_t>(chunk, 4);
    if (freeSpace < 2 || freeSpace > chunk.size() - kPmglHeaderLength) {
        return "listing chunk free space out of range";
    }
    const std::size_t end = chunk.size() - freeSpace;
    const auto expected = ReadLe<std::uint16_t>(chunk, chunk.size() - 2);
    std::size_t pos = kPmglHeaderLength;
    std::size_t count = 0;
    while (pos < end) {
        const auto nameLength = ReadEncint(chunk, pos);
        if (!nameLength || *nameLength == 0 || *nameLength > end - pos) {
            return "listing entry name runs past its chunk";
        }
        Entry entry;
        const auto* first = reinterpret_cast<const char*>(chunk.data() + pos);
        entry.Name.assign(first, static_cast<std::size_t>(*nameLength));
        pos += static_cast<std::size_t>(*nameLength);
        const auto section = ReadEncint(chunk, pos);
        const auto offset = ReadEncint(chunk, pos);
        const auto length = ReadEncint(chunk, pos);
        if (!section || !offset || !length || pos > end) {
            return "listing entry '" + entry.Name + "' is cut short";
        }
        entry.Section = *section;
        entry.Offset = *offset;
        entry.Length = *length;
        out.push_back(std::move(entry));
        ++count;
    }
    if (count != expected) {
        return "listing chunk holds " + std::to_string(count) + " entries but says " +
               std::to_string(expected);
    }
    return {};
}

// Reads the uncompressed size of section 1 from its reset table (both stored in section 0).
std::string CheckCompressedSection(std::span<const std::byte> file, Archive& archive) {
    const Entry* table = archive.Find(kResetTable);
    const Entry* content = archive.Find(kCompressedContent);
    if (table == nullptr || content == nullptr) {
        return "the compressed section's reset table or content is missing";
    }
    const auto bytes = StoredContent(file, archive, *table);
    if (!bytes || bytes->size() < 0x20) {
        return "the reset table is not readable";
    }
    archive.CompressedLength = ReadLe<std::uint64_t>(*bytes, 0x10);
    if (ReadLe<std::uint64_t>(*bytes, 0x18) != content->Length) {
        return "the reset table's compressed length differs from the content's";
    }
    return {};
}

std::string CheckEntryBounds(std::span<const std::byte> file, const Archive& archive) {
    std::set<std::string> seen;
    for (const Entry& entry : archive.Entries) {
        if (!seen.insert(entry.Name).second) {
            return "entry '" + entry.Name + "' is listed twice";
        }
        const std::uint64_t limit = entry.Section == 0   ? file.size() - archive.ContentOffset
                                    : entry.Section == 1 ? archive.CompressedLength
                                                         : 0;
        if (entry.Offset > limit || entry.Length > limit - entry.Offset) {
            return "entry '" + entry.Name + "' lies outside its section";
        }
    }
    return {};
}

} // namespace

const Entry* Archive::Find(std::string_view name) const {
    const auto it = std::find_if(Entries.begin(), Entries.end(),
                                 [name](const Entry& e) { return e.Name == name; });
    return it == Entries.end() ? nullptr : &*it;
}

std::optional<std::uint64_t> ReadEncint(std::span<const std::byte> data, std::size_t& pos) {
    std::uint64_t value = 0;
    for (std::size_t p = pos; p < data.size(); ++p) {
        if ((value >> 57) != 0) {
            return std::nullopt;
        }
        const auto b = std::to_integer<std::uint8_t>(data[p]);
        value = (value << 7) | (b & 0x7Fu);
        if ((b & 0x80u) == 0) {
            pos = p + 1;
            return value;
        }
    }
    return std::nullopt;
}

std::variant<Archive, Error> ReadArchive(std::span<const std::byte> file) {
    if (file.size() < kItsfHeaderLength || !HasTag(file, 0, "ITSF")) {
        return Error{"no ITSF signature"};
    }
    Archive archive;
    archive.Version = ReadLe<std::uint32_t>(file, 4);
    if (archive.Version != 3 || ReadLe<std::uint32_t>(file, 8) != kItsfHeaderLength) {
        return Error{"not an ITSF version 3 header"};
    }
    archive.TimeStamp = ReadLe<std::uint32_t>(file, 0x10);
    archive.LanguageId = ReadLe<std::uint32_t>(file, 0x14);
    const auto sizeSectionAt = ReadLe<std::uint64_t>(file, 0x38);
    const auto dirOffset = ReadLe<std::uint64_t>(file, 0x48);
    const auto dirLength = ReadLe<std::uint64_t>(file, 0x50);
    archive.ContentOffset = ReadLe<std::uint64_t>(file, 0x58);
    // The first header section records the whole file's length: a cut-off copy shows here.
    if (sizeSectionAt > file.size() - 16 ||
        ReadLe<std::uint64_t>(file, sizeSectionAt + 8) != file.size()) {
        return Error{"the recorded file length differs from the actual one"};
    }
    if (dirOffset > file.size() || dirLength > file.size() - dirOffset ||
        archive.ContentOffset > file.size() || dirLength < kItspHeaderLength) {
        return Error{"directory or content offsets lie outside the file"};
    }
    const auto dir =
        file.subspan(static_cast<std::size_t>(dirOffset), static_cast<std::size_t>(dirLength));
    if (!HasTag(dir, 0, "ITSP") || ReadLe<std::uint32_t>(dir, 8) != kItspHeaderLength) {
        return Error{"no ITSP directory header"};
    }
    archive.ChunkSize = ReadLe<std::uint32_t>(dir, 0x10);
    archive.ChunkCount = ReadLe<std::uint32_t>(dir, 0x2C);
    if (archive.ChunkSize < kPmglHeaderLength + 2 || archive.ChunkCount == 0 ||
        kItspHeaderLength + std::uint64_t{archive.ChunkSize} * archive.ChunkCount > dir.size()) {
        return Error{"directory chunks do not fit the directory"};
    }
    // Walk the listing chunks from the first along their next links; a loop or a link out of
    // range is damage, not an endless walk.
    std::uint32_t chunkNo = ReadLe<std::uint32_t>(dir, 0x20);
    while (chunkNo != kNoChunk) {
        if (chunkNo >= archive.ChunkCount || archive.ListingChunks == archive.ChunkCount) {
            return Error{"listing chunk chain is broken"};
        }
        const auto chunk = dir.subspan(kItspHeaderLength + std::size_t{chunkNo} * archive.ChunkSize,
                                       archive.ChunkSize);
        if (!HasTag(chunk, 0, "PMGL")) {
            return Error{"chunk " + std::to_string(chunkNo) + " is not a PMGL listing chunk"};
        }
        if (auto problem = ReadListingChunk(chunk, archive.Entries); !problem.empty()) {
            return Error{"chunk " + std::to_string(chunkNo) + ": " + problem};
        }
        ++archive.ListingChunks;
        chunkNo = ReadLe<std::uint32_t>(chunk, 0x10);
    }
    if (archive.Entries.empty()) {
        return Error{"the directory lists no entries"};
    }
    if (auto problem = CheckCompressedSection(file, archive); !problem.empty()) {
        return Error{problem};
    }
    if (auto problem = CheckEntryBounds(file, archive); !problem.empty()) {
        return Error{problem};
    }
    return archive;
}

std::optional<std::span<const std::byte>>
StoredContent(std::span<const std::byte> file, const Archive& archive, const Entry& entry) {
    if (entry.Section != 0 || archive.ContentOffset > file.size()) {
        return std::nullopt;
    }
    const auto data = file.subspan(static_cast<std::size_t>(archive.ContentOffset));
    if (entry.Offset > data.size() || entry.Length > data.size() - entry.Offset) {
        return std::nullopt;
    }
    return data.subspan(static_cast<std::size_t>(entry.Offset),
                        static_cast<std::size_t>(entry.Length));
}

std::optional<std::map<std::uint16_t, std::vector<std::byte>>>
SystemRecords(std::span<const std::byte> system) {
    if (system.size() < 4) {
        return std::nullopt;
    }
    std::map<std::uint16_t, std::vector<std::byte>> records;
    std::size_t pos = 4; // after the DWORD version
    while (pos < system.size()) {
        if (system.size() - pos < 4) {
            return std::nullopt;
        }
        const auto code = ReadLe<std::uint16_t>(system, pos);
        const auto size = ReadLe<std::uint16_t>(system, pos + 2);
        pos += 4;
        if (size > system.size() - pos) {
            return std::nullopt;
        }
        const auto data = system.subspan(pos, size);
        records[code] = std::vector<std::byte>(data.begin(), data.end());
        pos += size;
    }
    return records;
}

std::optional<std::vector<std::byte>> ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::vector<char> chars((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::byte> bytes(chars.size());
    std::transform(chars.begin(), chars.end(), bytes.begin(),
                   [](char c) { return static_cast<std::byte>(c); });
    return bytes;
}

} // namespace zelvaran::chm
