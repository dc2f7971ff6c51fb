#pragma once
// Records the requests handed to the shell while it lives, answering each as scripted.

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/Shell.h"

class ShellRecorder {
public:
    explicit ShellRecorder(std::intptr_t answer = 42) {
        previous_ = platform::SetShellExecuteHandler(
            [this, answer](const platform::ShellExecuteRequest& request) {
                requests.push_back(request);
                return answer;
            });
    }
    ~ShellRecorder() { platform::SetShellExecuteHandler(std::move(previous_)); }
    ShellRecorder(const ShellRecorder&) = delete;
    ShellRecorder& operator=(const ShellRecorder&) = delete;

    std::vector<platform::ShellExecuteRequest> requests;

private:
    platform::ShellExecuteHandler previous_;
};
