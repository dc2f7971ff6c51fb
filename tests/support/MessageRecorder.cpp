#include "tests/support/MessageRecorder.h"

#include <utility>

MessageRecorder::MessageRecorder(int answer) {
    previous_ =
        platform::SetMessageBoxHandler([this, answer](const platform::MessageBoxRequest& r) {
            requests_.push_back(r);
            return answer;
        });
}

MessageRecorder::~MessageRecorder() {
    platform::SetMessageBoxHandler(std::move(previous_));
}

std::vector<std::string> MessageRecorder::Texts() const {
    std::vector<std::string> texts;
    for (const auto& request : requests_) {
        texts.push_back(request.text);
    }
    return texts;
}
