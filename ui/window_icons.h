// Icons at a window's DPI: the image Windows draws at that scale (16 pixels for a small icon at
// 100 %, 20 at 125 %, 24 at 150 %), taken from the icon's own images rather than scaled from
// another size, and taken again when the window moves to a monitor of another scale.
#pragma once

#include <windows.h>

#include "ui/handles.h"

namespace zelvaran::ui {

// The image of icon resource `id` for the system metric `metric` (SM_CXICON or SM_CXSMICON) at
// `dpi`. Null when it cannot be loaded.
[[nodiscard]] UniqueIcon LoadIconForDpi(int id, int metric, int dpi) noexcept;

// A window's title-bar and Alt+Tab icons (WM_SETICON), owned here for as long as the window may
// use them.
class WindowIcons {
public:
    // Gives `window` resource `id`'s images for `dpi`. The pair loaded for the same resource and
    // DPI before is given again, so a window loaded again keeps the same handles; otherwise the
    // old pair is freed once the window no longer uses it. When either new image cannot be
    // loaded, the window keeps the pair it has.
    void Set(HWND window, int id, int dpi) noexcept;
    [[nodiscard]] HICON Small() const noexcept { return small_.get(); }
    [[nodiscard]] HICON Big() const noexcept { return big_.get(); }

private:
    UniqueIcon big_;
    UniqueIcon small_;
    int id_ = 0;
    int dpi_ = 0;
};

} // namespace zelvaran::ui
