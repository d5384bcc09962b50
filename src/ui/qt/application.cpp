// The application on Qt: QApplication with Qt's own Russian texts.
#include "ui/application.h"

#include "form_window.h"
#include "platform_options.h"
#include "qt_translation.h"

#include <cstdlib>

#include <QApplication>

namespace kadromir::ui {

struct Application::Native {
    std::vector<std::string> Arguments; // QApplication keeps pointers into them
    std::vector<char*> Argv;
    int Argc = 0;
    std::unique_ptr<QApplication> Qt;
};

Application::Application(std::vector<std::string> platformArguments)
    : Impl(std::make_unique<Native>()) {
    Impl->Arguments = std::move(platformArguments);
    if (const auto platform = DefaultPlatform(Impl->Arguments, std::getenv("QT_QPA_PLATFORM"),
                                              std::getenv("DISPLAY"))) {
        Impl->Arguments.insert(Impl->Arguments.begin() + 1, {"-platform", *platform});
    }
    for (std::string& argument : Impl->Arguments) {
        Impl->Argv.push_back(argument.data());
    }
    Impl->Argv.push_back(nullptr);
    Impl->Argc = static_cast<int>(Impl->Arguments.size());
    Impl->Qt = std::make_unique<QApplication>(Impl->Argc, Impl->Argv.data());
    InstallQtTranslation(*Impl->Qt);
}

Application::~Application() = default;

int Application::Run(Form& main) {
    main.Show();
    return QApplication::exec();
}

} // namespace kadromir::ui
