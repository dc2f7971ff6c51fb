#include "ui/OpenDialog.h"

namespace ui {

bool OpenDialog::Execute(HWND owner) {
    platform::OpenFileRequest request = design_;
    request.owner = reinterpret_cast<std::uintptr_t>(owner);
    auto chosen = platform::RunOpenFileDialog(request);
    if (!chosen || chosen->empty()) {
        return false;
    }
    files_ = std::move(*chosen);
    return true;
}

} // namespace ui
