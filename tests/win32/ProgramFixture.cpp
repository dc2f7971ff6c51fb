#include "tests/win32/ProgramFixture.h"

#include <windows.h>

#include "app/Program.h"
#include "tests/win32/Readback.h"

ProgramFixture::ProgramFixture() {
    char directory[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, directory);
    startDirectory_ = directory;
    // An installed program: the association claimed, the folder registered, the
    // default settings and an empty recent list.
    registry_.SetDefault(".zip", "Tarvox");
    registry_.SetDefault("Tarvox\\dir", Folder());
    WriteSettings("c:\\\r\nc:\\\r\nc:\\\r\n1\r\n", "");
    messages_ = std::make_unique<MessageRecorder>();
    shell_ = std::make_unique<ShellRecorder>();
    previousModal_ = platform::SetModalHandler(
        [this](const platform::ModalRequest& request) { modalWindows_.push_back(request.window); });
    previousEnd_ = platform::SetEndProcessHandler([this](int code) { exitCodes_.push_back(code); });
}

ProgramFixture::~ProgramFixture() {
    if (started_) {
        app::DestroyForms();
    }
    platform::SetEndProcessHandler(std::move(previousEnd_));
    platform::SetModalHandler(std::move(previousModal_));
    // The program folder can only go once it is no longer the current directory.
    ::SetCurrentDirectoryA(startDirectory_.c_str());
}

void ProgramFixture::WriteSettings(const std::string& conf, const std::string& recent) {
    folder_.Write("conf.txm", conf);
    folder_.Write("ult.txm", recent);
}

void ProgramFixture::Start(std::vector<std::string> arguments) {
    app::InitializeApplication();
    app::CreateForms();
    started_ = true;
    PRINCIPAL->Parametros = std::move(arguments);
}

void ProgramFixture::TickStartTimer() {
    ::SendMessageA(PRINCIPAL->Handle(), WM_TIMER, PRINCIPAL->reloj_inicio.Id(), 0);
}

void ProgramFixture::StartAndShow(std::vector<std::string> arguments) {
    Start(std::move(arguments));
    TickStartTimer();
}
