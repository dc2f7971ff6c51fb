#include "platform/FmxUtils.h"

#include "platform/FileSearch.h"
#include "platform/Shell.h"

namespace platform {

std::int32_t FileSizeByName(const std::string& name) {
    const auto size = FindFirstFileSize(name);
    return size ? static_cast<std::int32_t>(static_cast<std::uint32_t>(*size)) : -1;
}

std::int64_t FileSize64ByName(const std::string& name) {
    const auto size = FindFirstFileSize(name);
    return size && *size <= static_cast<std::uint64_t>(INT64_MAX) ? static_cast<std::int64_t>(*size)
                                                                  : -1;
}

std::intptr_t LaunchFile(const std::string& file, const std::string& parameters,
                         const std::string& directory, int showCommand) {
    platform::ShellExecuteRequest request;
    request.owner = platform::ApplicationWindow();
    request.file = file;
    request.parameters = parameters;
    request.directory = directory;
    request.showCommand = showCommand;
    return platform::ExecuteThroughShell(request);
}

} // namespace platform
