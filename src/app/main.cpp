// Кадромир: the program's entry.
#include "viewer_window.h"

#include "settings/settings_store.h"
#include "ui/form.h"

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <malloc.h>
#include <string>

namespace {

// The running executable's own path, from the kernel; argv[0] may be relative or a
// name found on PATH.
std::string ExecutablePath(const char* argv0) {
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string(argv0) : path.string();
}

} // namespace

int main(int argc, char** argv) {
    // Big blocks (a large directory's list) always get pages of their own, given back
    // when freed. Left to itself the allocator raises this bound after the first such
    // free, and the lists of every later rescan pile up in the heap.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    // The command line as bytes, before Qt takes out the options it knows.
    kadromir::StartupContext context;
    context.Arguments.assign(argv, argv + argc);
    context.ScanInBackground = true;
    context.ConfigFilePath = kadromir::ChooseConfigFilePath(
        ExecutablePath(argv[0]), std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    std::error_code error;
    context.WorkingDirectory = std::filesystem::current_path(error).string();
    QApplication application(argc, argv);
    kadromir::ViewerWindow& viewer = kadromir::BuildViewerWindow(context);
    viewer.Ui().Form->show();
    return application.exec();
}
