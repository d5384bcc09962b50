// kadromir-convert: runs pictures through the viewer's own load path and writes PNGs.
#include "picture_image/picture_image.h"

#include "base/file_system.h"
#include "base/file_writer.h"
#include "base/path_rules.h"
#include "base/version.h"
#include "formats/load_picture.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

using namespace kadromir;

constexpr int ExitOk = 0;
constexpr int ExitUsageOrWrite = 1;
constexpr int ExitRejected = 2;
constexpr int ExitNothingLoaded = 3;

constexpr std::string_view Usage =
    "usage: kadromir-convert [-s SIZE] INPUT -o OUTPUT.png\n"
    "       kadromir-convert [-s SIZE] INPUT... -d DIR\n"
    "Converts .SPR, .SCR and .RMB pictures to 256 x 256 palette PNGs (tEXt \"Border\" holds\n"
    "the border colour code). -o - writes the PNG to standard output; with -d each\n"
    "INPUT becomes DIR/NAME.png. -s scales the picture to SIZE x SIZE pixels by nearest\n"
    "neighbour (1 to 4096; default 256), as for a thumbnail.\n"
    "A file is never written half: the PNG goes to a temporary file that replaces the\n"
    "old one once complete, and an output that is one of the inputs, or that an earlier\n"
    "input of the same run wrote, is refused.\n"
    "Options end at --: a file whose name starts with - goes after it, with the\n"
    "options before (kadromir-convert -o x.png -- -x.spr). --version prints the version.\n"
    "Exit: 0 converted, 1 usage or write error, 2 rejected by its decoder, 3 nothing\n"
    "loaded; with several inputs the worst.\n";

void Error(const std::string& text) {
    std::fputs(("kadromir-convert: " + text + "\n").c_str(), stderr);
}

int UsageError(const std::string& text) {
    Error(text + " (see kadromir-convert --help)");
    return ExitUsageOrWrite;
}

struct Options {
    std::vector<std::string> Inputs;
    std::optional<std::string> Output;
    std::optional<std::string> Directory;
    std::optional<std::string> SizeText;
    int Side = FrameBitmap::Width;
};

// A side of 1 to MaxPictureSide written in decimal digits alone.
std::optional<int> ParseSide(const std::string& text) {
    if (text.empty() || text.size() > 4 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    const int side = std::stoi(text);
    return side >= 1 && side <= MaxPictureSide ? std::optional<int>(side) : std::nullopt;
}

// The options, or the exit code of a usage error, --help or --version.
std::optional<int> Parse(int argc, char** argv, Options& options) {
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            options.Inputs.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            std::fputs(Usage.data(), stdout);
            return ExitOk;
        } else if (arg == "--version") {
            std::printf("kadromir-convert %s\n", ProjectVersion);
            return ExitOk;
        } else if (arg == "-o" || arg == "-d" || arg == "-s") {
            std::optional<std::string>& value = arg == "-o"   ? options.Output
                                                : arg == "-d" ? options.Directory
                                                              : options.SizeText;
            if (i + 1 >= argc || argv[i + 1][0] == '\0') {
                return UsageError("'" + arg + "' needs " +
                                  (arg == "-o"   ? "a file name"
                                   : arg == "-d" ? "a directory"
                                                 : "a SIZE"));
            }
            if (value) {
                return UsageError("'" + arg + " " + argv[i + 1] + "': " + arg +
                                  " was already given as '" + *value + "'");
            }
            value = argv[++i];
        } else {
            return UsageError("unknown option '" + arg +
                              "'; a file whose name starts with - goes after --");
        }
    }
    if (options.SizeText) {
        const auto side = ParseSide(*options.SizeText);
        if (!side) {
            return UsageError("'-s " + *options.SizeText + "': SIZE is a whole number from 1 to " +
                              std::to_string(MaxPictureSide));
        }
        options.Side = *side;
    }
    if (options.Output && options.Directory) {
        return UsageError("'-o " + *options.Output + "' and '-d " + *options.Directory +
                          "' cannot go together");
    }
    if (options.Inputs.empty()) {
        return UsageError("no INPUT given");
    }
    if (!options.Output && !options.Directory) {
        return UsageError("nowhere to write '" + options.Inputs.front() +
                          "': give -o OUTPUT.png or -d DIR");
    }
    if (options.Output && options.Inputs.size() > 1) {
        return UsageError("'-o " + *options.Output + "' takes one INPUT, but '" +
                          options.Inputs[1] + "' is a second; use -d DIR for several");
    }
    return std::nullopt;
}

// The inputs by the file each names (device and inode), so that an output that is
// one of them, under any of its names, is found with one look-up.
using FileIdentity = std::pair<dev_t, ino_t>;
using InputFiles = std::map<FileIdentity, std::string>;

InputFiles IdentifyInputs(const std::vector<std::string>& inputs) {
    InputFiles files;
    for (const auto& input : inputs) {
        struct stat info {};
        if (::stat(input.c_str(), &info) == 0) {
            files.emplace(FileIdentity(info.st_dev, info.st_ino), input);
        }
    }
    return files;
}

// The input an output path names, if any.
const std::string* InputNamedBy(const std::string& output, const InputFiles& inputs) {
    struct stat info {};
    if (output == "-" || ::stat(output.c_str(), &info) != 0) {
        return nullptr;
    }
    const auto found = inputs.find(FileIdentity(info.st_dev, info.st_ino));
    return found == inputs.end() ? nullptr : &found->second;
}

// Loads the input; an exit code other than ExitOk when it gives no picture.
int Load(const std::string& input, PictureState& picture) {
    if (DecoderFor(input) == nullptr) {
        Error(input + ": the extension is none of .SPR, .SCR, .RMB; nothing loaded");
        return ExitNothingLoaded;
    }
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
    return ExitOk;
}

int Write(const std::string& output, const QByteArray& png) {
    const std::string_view bytes(png.constData(), static_cast<std::size_t>(png.size()));
    errno = 0;
    const int error = png.isEmpty()                         ? EIO
                      : output != "-"                       ? WriteFileReplacing(output, bytes)
                      : WriteAllBytes(STDOUT_FILENO, bytes) ? 0
                                                            : (errno != 0 ? errno : EIO);
    if (error != 0) {
        Error((output == "-" ? std::string("standard output") : output) +
              ": cannot be written: " + std::strerror(error));
        return ExitUsageOrWrite;
    }
    return ExitOk;
}

int Convert(const std::string& input, const std::string& output, const InputFiles& inputs,
            int side) {
    if (const std::string* named = InputNamedBy(output, inputs)) {
        Error(output + ": is the input '" + *named + "' itself; not overwritten");
        return ExitUsageOrWrite;
    }
    PictureState picture;
    if (const int loaded = Load(input, picture); loaded != ExitOk) {
        return loaded;
    }
    return Write(output, EncodePng(picture, side));
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (const auto exit = Parse(argc, argv, options)) {
        return *exit;
    }
    const InputFiles inputs = IdentifyInputs(options.Inputs);
    if (options.Output) {
        return Convert(options.Inputs.front(), *options.Output, inputs, options.Side);
    }
    std::string directory = *options.Directory;
    if (directory.back() != '/') {
        directory += '/';
    }
    // Outputs written in this run, and from which input: a second input of the same
    // name would silently replace the first one's picture.
    std::map<std::string, std::string> written;
    int worst = ExitOk;
    for (const auto& input : options.Inputs) {
        const std::string output = directory + NameWithoutExtension(input) + ".png";
        if (const auto earlier = written.find(output); earlier != written.end()) {
            Error(input + ": its output " + output + " was written from '" + earlier->second +
                  "' in this run; not converted");
            worst = std::max(worst, ExitUsageOrWrite);
            continue;
        }
        const int result = Convert(input, output, inputs, options.Side);
        if (result == ExitOk) {
            written.emplace(output, input);
        }
        worst = std::max(worst, result);
    }
    return worst;
}
