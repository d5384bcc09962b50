// kadromir-icons DIR: writes the program's icon into DIR as a desktop's icon theme
// holds it: hicolor/scalable/apps/kadromir.svg and hicolor/NxN/apps/kadromir.png; and
// kadromir.ico, the Windows form's icon (PNG images at 16, 24, 32, 48 and 256 pixels).
#include "ui/qt/app_icon.h"

#include "base/file_writer.h"

#include <QBuffer>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

void PutLittleEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

// An icon file whose images are PNG, as Windows reads them since Vista.
std::string IconFile() {
    constexpr int Sizes[] = {16, 24, 32, 48, 256};
    std::vector<QByteArray> images;
    for (const int size : Sizes) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        kadromir::ui::RenderAppIcon(size).save(&buffer, "PNG");
        images.push_back(png);
    }
    std::string file;
    PutLittleEndian(file, 0, 2);
    PutLittleEndian(file, 1, 2); // an icon
    PutLittleEndian(file, static_cast<std::uint32_t>(images.size()), 2);
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const int size = Sizes[i];
        PutLittleEndian(file, size == 256 ? 0 : static_cast<std::uint32_t>(size), 1);
        PutLittleEndian(file, size == 256 ? 0 : static_cast<std::uint32_t>(size), 1);
        PutLittleEndian(file, 0, 2);  // no palette, reserved
        PutLittleEndian(file, 1, 2);  // planes
        PutLittleEndian(file, 32, 2); // bits a pixel
        PutLittleEndian(file, static_cast<std::uint32_t>(images[i].size()), 4);
        PutLittleEndian(file, offset, 4);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const QByteArray& png : images) {
        file.append(png.constData(), static_cast<std::size_t>(png.size()));
    }
    return file;
}

} // namespace

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
    const std::string ico = std::string(argv[1]) + "/kadromir.ico";
    if (const int error = kadromir::WriteFileReplacing(ico, IconFile()); error != 0) {
        std::fprintf(stderr, "kadromir-icons: %s: %s\n", ico.c_str(), std::strerror(error));
        return 1;
    }
    return 0;
}
