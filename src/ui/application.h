#pragma once

#include <memory>
#include <string>
#include <vector>

namespace kadromir::ui {

class Form;

// The window system for this process: made once, before the first window, from the
// platform's own command-line options (the program's name first; none of the
// program's own). Its standard dialogs speak Russian where the platform has the texts.
class Application {
  public:
    explicit Application(std::vector<std::string> platformArguments);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Shows the main window and runs the message loop until it has closed; the exit
    // code of the loop.
    int Run(Form& main);

    struct Native;

  private:
    std::unique_ptr<Native> Impl;
};

} // namespace kadromir::ui
