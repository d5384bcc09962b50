// kadromir-icons DIR: writes the program's icon into DIR as a desktop's icon theme
// holds it: hicolor/scalable/apps/kadromir.svg and hicolor/NxN/apps/kadromir.png.
#include "ui/qt/app_icon.h"

#include "base/file_writer.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2 || argv[1][0] == '\0' || argv[1][0] == '-') {
        std::fputs("usage: kadromir-icons DIR\n", stderr);
        return 1;
    }
    const std::string theme = std::string(argv[1]) + "/hicolor/";
    std::filesystem::create_directories(theme + "scalable/apps");
    if (const int error = kadromir::WriteFileReplacing(theme + "scalable/apps/kadromir.svg",
                                                       kadromir::ui::AppIconSvg());
        error != 0) {
        std::fprintf(stderr, "kadromir-icons: %s\n", std::strerror(error));
        return 1;
    }
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const std::string folder =
            theme + std::to_string(size) + "x" + std::to_string(size) + "/apps";
        std::filesystem::create_directories(folder);
        if (!kadromir::ui::RenderAppIcon(size).save(
                QString::fromStdString(folder + "/kadromir.png"))) {
            std::fprintf(stderr, "kadromir-icons: cannot write %s/kadromir.png\n", folder.c_str());
            return 1;
        }
    }
    return 0;
}
