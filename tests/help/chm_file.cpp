#include "chm_file.h"

#include <chm_lib.h>

#include <algorithm>
#include <cstddef>
#include <fstream>

namespace zelvaran::chm {
namespace {

std::uint32_t Le32(const unsigned char* at) {
    return static_cast<std::uint32_t>(at[0] | at[1] << 8 | at[2] << 16) |
           static_cast<std::uint32_t>(at[3]) << 24;
}

int AddName(chmFile*, chmUnitInfo* unit, void* names) {
    static_cast<std::vector<std::string>*>(names)->emplace_back(unit->path);
    return CHM_ENUMERATOR_CONTINUE;
}

} // namespace

void File::Close::operator()(chmFile* file) const noexcept {
    chm_close(file);
}

std::optional<File> File::Open(const std::filesystem::path& path) {
    // chmlib keeps the header to itself; the three fields are read from the file's first bytes.
    unsigned char head[0x18] = {};
    std::ifstream in(path, std::ios::binary);
    if (!in.read(reinterpret_cast<char*>(head), sizeof head)) {
        return std::nullopt;
    }
    File file;
    file.header_ = {Le32(head + 4), Le32(head + 0x10), Le32(head + 0x14)};
    file.file_.reset(chm_open(path.c_str()));
    if (!file.file_ ||
        chm_enumerate(file.file_.get(), CHM_ENUMERATE_ALL, &AddName, &file.names_) == 0) {
        return std::nullopt;
    }
    return file;
}

bool File::Has(const std::string& name) const {
    return std::find(names_.begin(), names_.end(), name) != names_.end();
}

std::optional<std::string> File::Read(const std::string& name) const {
    chmUnitInfo unit{};
    if (chm_resolve_object(file_.get(), name.c_str(), &unit) != CHM_RESOLVE_SUCCESS) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(unit.length), '\0');
    const LONGINT64 read = chm_retrieve_object(
        file_.get(), &unit, reinterpret_cast<unsigned char*>(bytes.data()), 0, unit.length);
    if (read != static_cast<LONGINT64>(unit.length)) {
        return std::nullopt;
    }
    return bytes;
}

std::optional<std::map<std::uint16_t, std::vector<std::byte>>>
SystemRecords(std::string_view system) {
    std::map<std::uint16_t, std::vector<std::byte>> records;
    const auto byte = [system](std::size_t at) {
        return static_cast<unsigned char>(system[at]);
    };
    std::size_t pos = 4; // after the DWORD version
    while (pos < system.size()) {
        if (system.size() - pos < 4) {
            return std::nullopt;
        }
        const auto code = static_cast<std::uint16_t>(byte(pos) | byte(pos + 1) << 8);
        const std::size_t size = byte(pos + 2) | byte(pos + 3) << 8;
        pos += 4;
        if (size > system.size() - pos) {
            return std::nullopt;
        }
        const auto* data = reinterpret_cast<const std::byte*>(system.data() + pos);
        records[code].assign(data, data + size);
        pos += size;
    }
    return system.size() < 4 ? std::nullopt : std::optional(records);
}

} // namespace zelvaran::chm
