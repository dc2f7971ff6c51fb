#include "platform/GuardedCall.h"

#include <csetjmp>
#include <malloc.h>
#include <windows.h>

namespace platform {

namespace {

thread_local std::jmp_buf* t_guard = nullptr;

bool IsHardwareFault(DWORD code) {
    switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
    case EXCEPTION_FLT_INVALID_OPERATION:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_STACK_OVERFLOW:
        return true;
    default:
        return false; // software exceptions belong to whoever raised them
    }
}

LONG CALLBACK OnException(EXCEPTION_POINTERS* info) {
    if (t_guard != nullptr && IsHardwareFault(info->ExceptionRecord->ExceptionCode)) {
        // The stack between here and the guarded call is abandoned; _setjmp3's
        // longjmp also restores the structured exception chain of that frame.
        std::longjmp(
            *t_guard,
            static_cast<int>(info->ExceptionRecord->ExceptionCode == EXCEPTION_STACK_OVERFLOW) + 1);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

} // namespace

bool CallGuarded(const std::function<void()>& call) {
    std::jmp_buf guard;
    std::jmp_buf* const outer = t_guard;
    void* const handler = ::AddVectoredExceptionHandler(1, OnException);
    const int fault = setjmp(guard);
    if (fault == 0) {
        t_guard = &guard;
        call();
    }
    t_guard = outer;
    ::RemoveVectoredExceptionHandler(handler);
    if (fault == 2) {
        _resetstkoflw(); // re-arm the stack's guard page
    }
    return fault == 0;
}

} // namespace platform
