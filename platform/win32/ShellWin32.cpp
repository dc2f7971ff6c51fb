#include "platform/Shell.h"

#include <windows.h>

#include <shellapi.h>

namespace platform {

std::intptr_t PlatformShellExecute(const ShellExecuteRequest& request) {
    HINSTANCE result =
        ::ShellExecuteA(reinterpret_cast<HWND>(request.owner),
                        request.verb ? request.verb->c_str() : nullptr, request.file.c_str(),
                        request.parameters.c_str(), request.directory.c_str(), request.showCommand);
    return reinterpret_cast<std::intptr_t>(result);
}

} // namespace platform
