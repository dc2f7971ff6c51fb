// Window tests run against real windows under Wine and read back what a user sees.

#include <gtest/gtest.h>

#include <windows.h>

#include "main/MainWindow.h"

namespace {

std::string CaptionOf(HWND window) {
    char text[256] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

TEST(MainWindow, ShowsTheProgramCaption) {
    HWND window = CreateMainWindow(::GetModuleHandleA(nullptr));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(CaptionOf(window), "TARVOX  v4.1.0    ");
    EXPECT_FALSE(::IsWindowVisible(window)) << "created hidden";
    ::DestroyWindow(window);
    // Destroying it ends the message loop.
    MSG message;
    ASSERT_TRUE(::PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 0u);
}

} // namespace
