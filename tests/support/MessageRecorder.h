#pragma once
// Records the message boxes shown while it lives, answering each as scripted.

#include <string>
#include <vector>

#include "platform/Messages.h"

class MessageRecorder {
public:
    explicit MessageRecorder(int answer = platform::kIdOk);
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    const std::vector<platform::MessageBoxRequest>& Requests() const { return requests_; }
    std::vector<std::string> Texts() const;

private:
    std::vector<platform::MessageBoxRequest> requests_;
    platform::MessageBoxHandler previous_;
};
