#include "platform/Console.h"
#include "platform/Messages.h"

namespace platform {

// Without windows a message can only be written out; a question is answered "no".
int ShowPlatformMessageBox(const MessageBoxRequest& request) {
    WriteErrorLine(request.text);
    return (request.style & kMbYesNo) == kMbYesNo ? kIdNo : kIdOk;
}

} // namespace platform
