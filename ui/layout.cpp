#include "ui/layout.h"

namespace zelvaran::ui {

const ControlSpec* FindControl(std::span<const ControlSpec> table, int id) noexcept {
    for (const ControlSpec& c : table) {
        if (c.Id == id) {
            return &c;
        }
    }
    return nullptr;
}

} // namespace zelvaran::ui
