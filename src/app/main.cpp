// Кадромир: the program's entry.
#include "command_line.h"
#include "viewer_window.h"

#include "base/system.h"
#include "base/version.h"
#include "settings/settings_store.h"
#include "ui/application.h"
#include "ui/form.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

std::string SettingsPath(const char* argv0, bool makeDirectory) {
    return kadromir::ChooseConfigFilePath(kadromir::ExecutablePath(argv0),
                                          std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"),
                                          makeDirectory);
}

} // namespace

int main(int argc, char** argv) {
    // Big blocks (a large directory's list) always get pages of their own, given back
    // when freed. Left to itself the allocator raises this bound after the first such
    // free, and the lists of every later rescan pile up in the heap.
    kadromir::GiveLargeBlocksOwnPages(128 * 1024);
    using Request = kadromir::CommandLine::Request;
    // The command line as bytes, read before Qt, which needs a display.
    const kadromir::CommandLine line =
        kadromir::ReadCommandLine(kadromir::CommandLineArguments(argc, argv));
    // What the program says on the command line reaches the console it came from.
    kadromir::UseParentConsole();
    switch (line.Asked) {
    case Request::Help:
        std::fputs(kadromir::HelpText(SettingsPath(argv[0], false)).c_str(), stdout);
        return 0;
    case Request::Version:
        std::printf("Кадромир (kadromir) %s\n", kadromir::ProjectVersion);
        return 0;
    case Request::Mistake:
        std::fprintf(stderr, "%s\n", line.Mistake.c_str());
        return 2;
    case Request::Run:
        break;
    }
    if (line.Arguments.size() > 1) {
        if (const auto problem = kadromir::PictureProblem(line.Arguments[1])) {
            std::fprintf(stderr, "kadromir: %s: %s\n", line.Arguments[1].c_str(), problem->c_str());
        }
    }
    kadromir::StartupContext context;
    context.Arguments = line.Arguments;
    context.ScanInBackground = true;
    context.ConfigFilePath = SettingsPath(argv[0], true);
    std::error_code error;
    const std::u8string working = std::filesystem::current_path(error).u8string();
    context.WorkingDirectory.assign(working.begin(), working.end());
    // The window system gets its own options only: a picture named like one of them
    // stays a picture.
    kadromir::ui::Application application(line.PlatformArguments);
    kadromir::ViewerWindow& viewer = kadromir::BuildViewerWindow(context);
    return application.Run(*viewer.Ui().Form);
}
