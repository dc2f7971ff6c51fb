#include "main/AddGathering.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <windows.h>

#include "util/AsciiCase.h"

namespace {

constexpr char kWindowClass[] = "TarvoxAddGathering";
// Tags the paths this program hands over, against any other program's messages.
constexpr ULONG_PTR kPathsTag = 0x54765861;
constexpr DWORD kMostBytes = 1 << 20;
// The shell starts the programs of one selection within a moment of each other; a
// longer wait would delay every add of one item by as much.
constexpr ULONGLONG kQuietFor = 700;       // ms without a newcomer ends the gathering
constexpr ULONGLONG kGatherAtMost = 10000; // ms, newcomers or not
constexpr ULONGLONG kHandOverFor = 5000;   // ms a newcomer tries before it works alone
constexpr UINT kAnswerWithin = 2000;       // ms

struct Gathering {
    std::vector<std::string> paths;
    ULONGLONG last;
    bool open = true;

    void Take(const std::string& path) {
        const std::string key = util::AsciiUpper(path);
        if (!path.empty() && std::none_of(paths.begin(), paths.end(), [&](const std::string& p) {
                return util::AsciiUpper(p) == key;
            })) {
            paths.push_back(path);
        }
    }
};

// One name for the programs started on items of one folder; kernel object names take
// no backslash, and a folder's path may be longer than they may.
std::string FolderKey(const std::string& path) {
    const std::string folder = util::AsciiUpper(path.substr(0, path.find_last_of("\\/") + 1));
    char key[40];
    std::snprintf(key, sizeof key, "TarvoxAdd-%zx", std::hash<std::string>{}(folder));
    return key;
}

LRESULT CALLBACK Receive(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_COPYDATA) {
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    auto* gathering = reinterpret_cast<Gathering*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (gathering == nullptr || !gathering->open || data == nullptr || data->dwData != kPathsTag ||
        data->cbData > kMostBytes || data->lpData == nullptr) {
        return FALSE;
    }
    // Paths one after another, each ended by a zero.
    const std::string_view all(static_cast<const char*>(data->lpData), data->cbData);
    for (std::size_t start = 0; start < all.size();) {
        std::size_t end = all.find('\0', start);
        end = end == std::string_view::npos ? all.size() : end;
        gathering->Take(std::string(all.substr(start, end - start)));
        start = end + 1;
    }
    gathering->last = ::GetTickCount64();
    return TRUE;
}

std::vector<std::string> Gather(const std::vector<std::string>& mine, const std::string& key) {
    Gathering gathering{{}, ::GetTickCount64()};
    for (const std::string& path : mine) {
        gathering.Take(path);
    }
    const HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Receive;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kWindowClass;
    ::RegisterClassA(&windowClass);
    HWND window = ::CreateWindowExA(0, kWindowClass, key.c_str(), 0, 0, 0, 0, 0, HWND_MESSAGE,
                                    nullptr, instance, nullptr);
    if (window == nullptr) {
        return gathering.paths;
    }
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&gathering));
    const ULONGLONG start = gathering.last;
    for (ULONGLONG now = start; now - gathering.last < kQuietFor && now - start < kGatherAtMost;
         now = ::GetTickCount64()) {
        ::MsgWaitForMultipleObjects(
            0, nullptr, FALSE, static_cast<DWORD>(kQuietFor - (now - gathering.last)), QS_ALLINPUT);
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageA(&message);
        }
    }
    // Whoever comes after this is refused, and works alone.
    gathering.open = false;
    ::DestroyWindow(window);
    if (gathering.paths.size() > mine.size()) {
        // They came in the order their programs started: the folder's order instead.
        std::sort(gathering.paths.begin(), gathering.paths.end(),
                  [](const std::string& a, const std::string& b) {
                      return util::AsciiUpper(a) < util::AsciiUpper(b);
                  });
    }
    return gathering.paths;
}

} // namespace

std::vector<std::string> GatherAddedPaths(const std::vector<std::string>& mine) {
    if (mine.empty()) {
        return mine;
    }
    const std::string key = FolderKey(mine.front());
    const std::string mutexName = "Local\\" + key;
    std::string packed;
    for (const std::string& path : mine) {
        packed.append(path).append(1, '\0');
    }
    for (const ULONGLONG start = ::GetTickCount64(); ::GetTickCount64() - start < kHandOverFor;
         ::Sleep(20)) {
        // The first to make the mutex gathers while it holds it.
        ::SetLastError(ERROR_SUCCESS);
        HANDLE mutex = ::CreateMutexA(nullptr, FALSE, mutexName.c_str());
        if (mutex == nullptr) {
            return mine;
        }
        if (::GetLastError() != ERROR_ALREADY_EXISTS) {
            std::vector<std::string> paths = Gather(mine, key);
            ::CloseHandle(mutex);
            return paths;
        }
        // Held open, it would keep the gatherer's name alive after it has gone.
        ::CloseHandle(mutex);
        if (HWND gatherer = ::FindWindowExA(HWND_MESSAGE, nullptr, kWindowClass, key.c_str())) {
            COPYDATASTRUCT data{kPathsTag, static_cast<DWORD>(packed.size()), packed.data()};
            DWORD_PTR taken = FALSE;
            if (::SendMessageTimeoutA(gatherer, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                      SMTO_ABORTIFHUNG, kAnswerWithin, &taken) != 0 &&
                taken == TRUE) {
                return {};
            }
        }
    }
    return mine;
}
