#include <windows.h>

#include "app/Program.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    app::InitializeApplication();
    app::CreateForms();
    return app::Run();
}
