#include "platform/GuardedCall.h"

#include <csetjmp>
#include <csignal>

namespace platform {

namespace {

thread_local sigjmp_buf* t_guard = nullptr;

constexpr int kFaultSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE};

void OnFault(int signal) {
    if (t_guard != nullptr) {
        siglongjmp(*t_guard, 1);
    }
    // A fault outside any guarded call ends the process as it would have.
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

bool CallGuarded(const std::function<void()>& call) {
    struct sigaction action {};
    action.sa_handler = OnFault;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_NODEFER;
    struct sigaction previous[std::size(kFaultSignals)];
    for (std::size_t i = 0; i < std::size(kFaultSignals); ++i) {
        sigaction(kFaultSignals[i], &action, &previous[i]);
    }
    sigjmp_buf guard;
    sigjmp_buf* const outer = t_guard;
    const bool returned = sigsetjmp(guard, 1) == 0;
    if (returned) {
        t_guard = &guard;
        call();
    }
    t_guard = outer;
    for (std::size_t i = 0; i < std::size(kFaultSignals); ++i) {
        sigaction(kFaultSignals[i], &previous[i], nullptr);
    }
    return returned;
}

} // namespace platform
