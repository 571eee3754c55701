/* A stand-in for bcrypt.dll, planted beside a copy of the program: when loaded it leaves a file
   named after itself plus ".loaded", and its generator gives nothing but zeros. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        wchar_t path[MAX_PATH + 8];
        const DWORD n = GetModuleFileNameW(self, path, MAX_PATH);
        if (n > 0 && n < MAX_PATH) {
            lstrcpyW(path + n, L".loaded");
            HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
            if (file != INVALID_HANDLE_VALUE) {
                CloseHandle(file);
            }
        }
    }
    return TRUE;
}

__declspec(dllexport) LONG WINAPI
    BCryptGenRandom(void* algorithm, unsigned char* buffer, ULONG size, ULONG flags) {
    (void)algorithm;
    (void)flags;
    for (ULONG i = 0; i < size; ++i) {
        buffer[i] = 0;
    }
    return 0;
}
