// The application on Win32: the common controls, and the message loop until the main
// window has gone.
#include "ui/application.h"

#include "form_window.h"
#include "message_loop.h"

#include <commctrl.h>

namespace kadromir::ui {

struct Application::Native {};

Application::Application(std::vector<std::string>) : Impl(std::make_unique<Native>()) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
}

Application::~Application() = default;

int Application::Run(Form& main) {
    const std::weak_ptr<const bool> alive = main.Window().AliveToken();
    main.Show();
    const int code = RunMessages([&alive] { return alive.expired(); });
    return code;
}

} // namespace kadromir::ui
