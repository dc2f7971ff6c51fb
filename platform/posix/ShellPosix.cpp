#include "platform/Shell.h"

namespace platform {

// There is no Windows shell to hand anything to.
std::intptr_t PlatformShellExecute(const ShellExecuteRequest&) {
    return kSeErrNoAssoc;
}

} // namespace platform
