// The Windows side of the two operating-system services the core needs: cryptographic random
// bytes and a wipe the compiler may not drop. The only place in the core that sees <windows.h>.
#include "generator/random_source.h"
#include "generator/secret_text.h"

#include <windows.h>
#include <bcrypt.h>

#include <algorithm>
#include <limits>

namespace zelvaran {
namespace {

// bcrypt.dll is not one of the DLLs Windows always maps from System32, so a static import would
// be looked for in the exe's own folder first, before the program could say otherwise. It is
// loaded here, at first use, from System32 and nowhere else.
class SystemGenerator {
public:
    using GenRandom = NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE, PUCHAR, ULONG, ULONG);

    SystemGenerator() noexcept
        : module_(LoadLibraryExW(L"bcrypt.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        if (module_ != nullptr) {
            genRandom_ = reinterpret_cast<GenRandom>(
                reinterpret_cast<void*>(GetProcAddress(module_, "BCryptGenRandom")));
        }
    }
    SystemGenerator(const SystemGenerator&) = delete;
    SystemGenerator& operator=(const SystemGenerator&) = delete;
    ~SystemGenerator() {
        if (module_ != nullptr) {
            FreeLibrary(module_);
        }
    }

    // Null when the module or its entry point could not be had.
    [[nodiscard]] GenRandom Get() const noexcept { return genRandom_; }

private:
    HMODULE module_;
    GenRandom genRandom_ = nullptr;
};

} // namespace

bool FillFromSystem(std::byte* data, std::size_t size) noexcept {
    // Loaded once for the life of the process; the first caller's thread does the loading.
    static const SystemGenerator generator;
    const SystemGenerator::GenRandom genRandom = generator.Get();
    if (genRandom == nullptr) {
        return false;
    }
    std::size_t filled = 0;
    while (filled < size) {
        // One call takes at most a ULONG of bytes.
        const std::size_t chunk =
            std::min<std::size_t>(size - filled, std::numeric_limits<ULONG>::max());
        const NTSTATUS status =
            genRandom(nullptr, reinterpret_cast<PUCHAR>(data + filled), static_cast<ULONG>(chunk),
                      BCRYPT_USE_SYSTEM_PREFERRED_RNG);
        if (!BCRYPT_SUCCESS(status)) {
            return false;
        }
        filled += chunk;
    }
    return true;
}

void SecureWipe(void* data, std::size_t bytes) noexcept {
    if (data != nullptr && bytes != 0) {
        SecureZeroMemory(data, bytes);
    }
}

} // namespace zelvaran
