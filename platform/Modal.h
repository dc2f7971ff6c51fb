#pragma once
// The modal-showing seam. The program disables its other windows, shows the form and
// runs a message loop until the form is closed; tests install a handler that records
// which form was shown and acts as scripted.

#include <cstdint>
#include <functional>

namespace platform {

struct ModalRequest {
    std::uintptr_t window = 0;
    std::function<void()> show; // makes the form visible and active
    std::function<void()> hide;
    std::function<bool()> closed; // true once the form asked to be closed
    // Offered each message first (a MSG): true when the form used it as a key of its own.
    std::function<bool(const void* message)> translateKey;
};

using ModalHandler = std::function<void(const ModalRequest&)>;

void ShowModal(const ModalRequest& request);

// Installs a handler (an empty one restores the platform's own) and returns the previous.
ModalHandler SetModalHandler(ModalHandler handler);

} // namespace platform
