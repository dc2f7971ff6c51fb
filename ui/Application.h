#pragma once
// The application: its title, help file and main form, the message loop, and letting
// pending messages through during long work.

#include <functional>
#include <string>
#include <windows.h>

namespace ui {

class Form;

class Application {
public:
    // Registers the common controls the windows use.
    void Initialize();

    const std::string& Title() const;
    void SetTitle(const std::string& title);
    std::string HelpFile;

    // The first form created; the shell's requests are owned by it.
    Form* MainForm() const { return mainForm_; }
    void SetMainForm(Form* form);

    // Offers a key message to the form it is meant for (Tab, access keys) before it is
    // dispatched; true when the form used it. Escape goes to OnStopKey first.
    static bool PreTranslate(const MSG& message);
    // Escape, whichever window it reaches, disabled ones included: true when it stopped
    // work in progress, and so goes no further.
    std::function<bool()> OnStopKey;
    // Handles every message waiting in the queue, then returns.
    void ProcessMessages();
    // The message loop; it returns only when the process is asked to quit.
    int Run();

private:
    Form* mainForm_ = nullptr;
};

Application& App();

} // namespace ui
