#include "ui/process_hardening.h"

#include <objbase.h>

namespace zelvaran::ui {
namespace {

template <class Policy> bool Apply(PROCESS_MITIGATION_POLICY kind, Policy policy) noexcept {
    return SetProcessMitigationPolicy(kind, &policy, sizeof(policy)) != FALSE;
}

} // namespace

void HardenProcess() noexcept {
    // Before anything can load a DLL: never from the current directory or the exe's folder.
    static_cast<void>(SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32));
    // A corrupt heap ends the process instead of being used; a system without the option runs
    // as before, so the result does not matter.
    static_cast<void>(HeapSetInformation(nullptr, HeapEnableTerminationOnCorruption, nullptr, 0));

    // Images: none from a network share or with a low integrity label, System32's copy first.
    // Versions of Windows 10 that do not know the last flag refuse the whole request, so they
    // get the first two alone. The results are not used: the program runs either way.
    PROCESS_MITIGATION_IMAGE_LOAD_POLICY images{};
    images.NoRemoteImages = 1;
    images.NoLowMandatoryLabelImages = 1;
    images.PreferSystem32Images = 1;
    if (!Apply(ProcessImageLoadPolicy, images)) {
        images.PreferSystem32Images = 0;
        static_cast<void>(Apply(ProcessImageLoadPolicy, images));
    }
    // No AppInit DLLs, legacy hooks or Winsock providers injected into the process.
    PROCESS_MITIGATION_EXTENSION_POINT_DISABLE_POLICY extensions{};
    extensions.DisableExtensionPoints = 1;
    static_cast<void>(Apply(ProcessExtensionPointDisablePolicy, extensions));
    // Strict handle checks stay off: the shell's calls (the notification icon, opening the help
    // file and web pages) run third-party shell extensions inside this process, and one bad
    // handle among them would end the program with the password the user has not yet copied.
}

ComApartment::ComApartment() noexcept
    : initialised_(
          SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}

ComApartment::~ComApartment() {
    if (initialised_) {
        CoUninitialize();
    }
}

} // namespace zelvaran::ui
