// kadromir-convert: runs pictures through the viewer's own load path and writes PNGs.
#include "png_writer.h"

#include "base/file_system.h"
#include "base/path_rules.h"
#include "formats/load_picture.h"

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

using namespace kadromir;

constexpr int ExitOk = 0;
constexpr int ExitUsageOrWrite = 1;
constexpr int ExitRejected = 2;
constexpr int ExitNothingLoaded = 3;

constexpr std::string_view Usage =
    "usage: kadromir-convert INPUT -o OUTPUT.png\n"
    "       kadromir-convert INPUT... -d DIR\n"
    "Converts .SPR, .SCR and .RMB pictures to 256 x 256 palette PNGs (tEXt \"Border\" holds\n"
    "the border colour code). Exit: 0 converted, 1 usage or write error, 2 rejected by\n"
    "its decoder, 3 nothing loaded; with several inputs the worst.\n";

void Error(const std::string& text) {
    std::fputs((text + "\n").c_str(), stderr);
}

bool WriteAll(const std::string& path, const QByteArray& data) {
    // Paths are byte strings; POSIX calls take them without any re-encoding.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    bool ok = WriteAllBytes(
        fd, std::string_view(data.constData(), static_cast<std::size_t>(data.size())));
    ok = (::close(fd) == 0) && ok;
    if (!ok) {
        ::unlink(path.c_str());
    }
    return ok;
}

int Convert(const std::string& input, const std::string& output) {
    if (DecoderFor(input) == nullptr) {
        Error(input + ": the extension is none of .SPR, .SCR, .RMB; nothing loaded");
        return ExitNothingLoaded;
    }
    PictureState picture;
    switch (LoadPicture(input, picture)) {
    case LoadOutcome::Rejected:
        Error(input + picture.LoadMessage);
        return ExitRejected;
    case LoadOutcome::NothingLoaded:
        Error(input + ": no SCR lead mark (0xFF 0x7F); nothing loaded");
        return ExitNothingLoaded;
    case LoadOutcome::Loaded:
        break;
    }
    const QByteArray png = EncodePng(picture);
    if (png.isEmpty() || !WriteAll(output, png)) {
        Error(output + ": cannot be written");
        return ExitUsageOrWrite;
    }
    return ExitOk;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> inputs;
    std::string output;
    std::string directory;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(Usage.data(), stdout);
            return ExitOk;
        }
        if ((arg == "-o" || arg == "-d") && i + 1 < argc) {
            (arg == "-o" ? output : directory) = argv[++i];
        } else if (arg == "-o" || arg == "-d" || (arg.size() > 1 && arg[0] == '-')) {
            std::fputs(Usage.data(), stderr);
            return ExitUsageOrWrite;
        } else {
            inputs.emplace_back(arg);
        }
    }
    const bool oneOutput = !output.empty() && directory.empty() && inputs.size() == 1;
    const bool toDirectory = output.empty() && !directory.empty() && !inputs.empty();
    if (!oneOutput && !toDirectory) {
        std::fputs(Usage.data(), stderr);
        return ExitUsageOrWrite;
    }
    if (oneOutput) {
        return Convert(inputs.front(), output);
    }
    if (directory.back() != '/') {
        directory += '/';
    }
    int worst = ExitOk;
    for (const auto& input : inputs) {
        worst = std::max(worst, Convert(input, directory + NameWithoutExtension(input) + ".png"));
    }
    return worst;
}
