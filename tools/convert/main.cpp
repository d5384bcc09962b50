// kadromir-convert: runs pictures through the viewer's own load path and writes PNGs,
// and takes PNGs (or pictures) back into the three formats. No Qt: it runs where only
// libspng is installed, and a thumbnail costs a few milliseconds.
#include "base/file_system.h"
#include "base/file_writer.h"
#include "base/path_rules.h"
#include "base/system.h"
#include "base/version.h"
#include "formats/load_picture.h"
#include "formats/picture_writers.h"
#include "formats/scr_decoder.h"
#include "png/picture_png.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <variant>
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
    "       kadromir-convert [--nearest] IN.png -o OUT.spr|OUT.scr|OUT.rmb\n"
    "       kadromir-convert [--nearest] --to spr|scr|rmb IN.png... -d DIR\n"
    "Converts .SPR, .SCR and .RMB pictures to 256 x 256 palette PNGs (tEXt \"Border\" holds\n"
    "the border colour code). -o - writes the PNG to standard output; with -d each\n"
    "INPUT becomes DIR/NAME.png. -s scales the picture to SIZE x SIZE pixels by nearest\n"
    "neighbour (1 to 4096; default 256), as for a thumbnail.\n"
    "Back the other way, a PNG (or a picture) becomes a .SPR, .SCR or .RMB file, the\n"
    "format named by the output's extension or by --to (needed with -d). The PNG must\n"
    "be 256 x 256 with at most 16 colours, each one of the 256 code colours; --nearest\n"
    "first takes each colour to the nearest code colour. Palette entry 0 is the border.\n"
    "An SCR's colours go into the .pal beside it, unless they are the default palette.\n"
    "A file is never written half: the PNG goes to a temporary file that replaces the\n"
    "old one once complete, and an output that is one of the inputs, or that an earlier\n"
    "input of the same run wrote, is refused.\n"
    "Options end at --: a file whose name starts with - goes after it, with the\n"
    "options before (kadromir-convert -o x.png -- -x.spr). --version prints the version.\n"
    "Exit: 0 converted, 1 usage or write error, 2 rejected by its decoder (a picture\n"
    "file that is not there included) or refused as a PNG (over 16 MiB included),\n"
    "3 nothing loaded (a PNG that cannot be read, an SCR without its lead mark, an\n"
    "extension of no format); with several inputs the worst.\n";

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
    std::optional<std::string> ToText;
    bool Nearest = false;
    int Side = FrameBitmap::Width;
};

// What a run writes.
enum class Target { Png, Spr, Scr, Rmb };
struct TargetName {
    std::string_view Name;
    Target Kind;
};
constexpr TargetName Targets[] = {
    {"png", Target::Png}, {"spr", Target::Spr}, {"scr", Target::Scr}, {"rmb", Target::Rmb}};

std::optional<Target> TargetNamed(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const auto& target : Targets) {
        if (target.Name == name) {
            return target.Kind;
        }
    }
    return std::nullopt;
}

// The format an output's extension names, if any.
std::optional<Target> TargetOfPath(const std::string& path) {
    const std::string extension = ExtensionPart(FileNamePart(path));
    return extension.size() > 1 ? TargetNamed(extension.substr(1)) : std::nullopt;
}

bool IsPngName(const std::string& path) {
    return TargetOfPath(path) == Target::Png;
}

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
        } else if (arg == "--nearest") {
            options.Nearest = true;
        } else if (arg == "-o" || arg == "-d" || arg == "-s" || arg == "--to") {
            std::optional<std::string>& value = arg == "-o"   ? options.Output
                                                : arg == "-d" ? options.Directory
                                                : arg == "-s" ? options.SizeText
                                                              : options.ToText;
            if (i + 1 >= argc || argv[i + 1][0] == '\0') {
                return UsageError("'" + arg + "' needs " +
                                  (arg == "-o"   ? "a file name"
                                   : arg == "-d" ? "a directory"
                                   : arg == "-s" ? "a SIZE"
                                                 : "a FORMAT (png, spr, scr or rmb)"));
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
    if (options.ToText && !TargetNamed(*options.ToText)) {
        return UsageError("'--to " + *options.ToText + "': FORMAT is png, spr, scr or rmb");
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
using FileIdentity = std::pair<std::uint64_t, std::uint64_t>;
using InputFiles = std::map<FileIdentity, std::string>;

InputFiles IdentifyInputs(const std::vector<std::string>& inputs) {
    InputFiles files;
    for (const auto& input : inputs) {
        if (const auto status = StatusOf(input)) {
            files.emplace(FileIdentity(status->Device, status->Inode), input);
        }
    }
    return files;
}

// The input an output path names, if any.
const std::string* InputNamedBy(const std::string& output, const InputFiles& inputs) {
    const auto status = output == "-" ? std::nullopt : StatusOf(output);
    if (!status) {
        return nullptr;
    }
    const auto found = inputs.find(FileIdentity(status->Device, status->Inode));
    return found == inputs.end() ? nullptr : &found->second;
}

// Loads the input; an exit code other than ExitOk when it gives no picture.
int Load(const std::string& input, PictureState& picture) {
    if (DecoderFor(input) == nullptr) {
        Error(input + ": the extension is none of .SPR, .SCR, .RMB, .PNG; nothing loaded");
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

// A PNG larger than this is no picture of ours.
constexpr std::size_t MaxPngSize = std::size_t{16} << 20;

// An input as 16 codes and 65536 indices: a PNG read back, or a picture loaded.
int LoadCodes(const std::string& input, bool nearest, PngPicture& codes) {
    if (IsPngName(input)) {
        ReadFailure why = ReadFailure::None;
        const auto bytes = ReadFileBytes(input, MaxPngSize, Oversize::Refuse, &why);
        if (!bytes) {
            Error(input + (why == ReadFailure::TooLarge ? ": larger than any PNG of a picture"
                                                        : ": cannot be read"));
            return why == ReadFailure::TooLarge ? ExitRejected : ExitNothingLoaded;
        }
        auto read = ReadPicturePng(*bytes, nearest);
        if (const auto* refusal = std::get_if<PngRefusal>(&read)) {
            Error(input + ": " + refusal->Message);
            return ExitRejected;
        }
        codes = std::move(std::get<PngPicture>(read));
        if (codes.BorderText && *codes.BorderText != codes.Palette[0]) {
            char text[160];
            std::snprintf(text, sizeof text,
                          ": its Border text names %02X, but the border is palette entry 0 "
                          "(%02X) in all three formats; the text has no effect",
                          *codes.BorderText, codes.Palette[0]);
            Error(input + text);
        }
        return ExitOk;
    }
    PictureState picture;
    if (const int loaded = Load(input, picture); loaded != ExitOk) {
        return loaded;
    }
    for (int i = 0; i < FrameBitmap::PaletteSize; ++i) {
        codes.Palette[static_cast<std::size_t>(i)] =
            CodeOfColour(picture.Bitmap.PaletteEntry(i)).value_or(0);
    }
    codes.Indices = PictureIndices(picture.Bitmap, FrameBitmap::Width);
    return ExitOk;
}

int WriteBytes(const std::string& output, std::string_view bytes) {
    errno = 0;
    const int error = bytes.empty()                            ? EIO
                      : output != "-"                          ? WriteFileReplacing(output, bytes)
                      : WriteAllBytes(StandardOutput(), bytes) ? 0
                                                               : (errno != 0 ? errno : EIO);
    if (error != 0) {
        Error((output == "-" ? std::string("standard output") : output) +
              ": cannot be written: " + std::strerror(error));
        return ExitUsageOrWrite;
    }
    return ExitOk;
}

std::string_view AsText(const std::vector<std::uint8_t>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Writes the picture in one of the three formats; an SCR's colours go into its .pal.
int WriteFormat(const std::string& output, Target target, const PngPicture& codes,
                const InputFiles& inputs) {
    if (target == Target::Spr) {
        return WriteBytes(output, AsText(WriteSpr(codes.Palette, codes.Indices)));
    }
    if (target == Target::Rmb) {
        return WriteBytes(output, AsText(WriteRmb(codes.Palette, codes.Indices)));
    }
    const bool defaultColours = codes.Palette == DefaultScrPalette;
    if (output == "-") {
        if (!defaultColours) {
            Error("standard output: an SCR's colours go in a .pal beside it; give -o a file name");
            return ExitUsageOrWrite;
        }
        return WriteBytes(output, AsText(WriteScr(codes.Indices)));
    }
    const std::string pal = PaletteSideFile(output);
    if (defaultColours) {
        if (ReadScrPalette(output)) {
            Error(pal + ": the colours are the default palette, which needs no .pal, but this "
                        "one is there and gives its own colours; left as it is");
        }
    } else {
        if (const std::string* named = InputNamedBy(pal, inputs)) {
            Error(pal + ": is the input '" + *named + "' itself; not overwritten");
            return ExitUsageOrWrite;
        }
        if (const int written = WriteBytes(pal, AsText(WritePal(codes.Palette)));
            written != ExitOk) {
            return written;
        }
    }
    return WriteBytes(output, AsText(WriteScr(codes.Indices)));
}

int Convert(const std::string& input, const std::string& output, Target target,
            const Options& options, const InputFiles& inputs) {
    if (const std::string* named = InputNamedBy(output, inputs)) {
        Error(output + ": is the input '" + *named + "' itself; not overwritten");
        return ExitUsageOrWrite;
    }
    if (target != Target::Png) {
        PngPicture codes;
        if (const int loaded = LoadCodes(input, options.Nearest, codes); loaded != ExitOk) {
            return loaded;
        }
        return WriteFormat(output, target, codes, inputs);
    }
    if (IsPngName(input)) {
        Error(input + ": is a PNG already; name .spr, .scr or .rmb by the output's extension "
                      "or --to");
        return ExitUsageOrWrite;
    }
    PictureState picture;
    if (const int loaded = Load(input, picture); loaded != ExitOk) {
        return loaded;
    }
    return WriteBytes(output, EncodePicturePng(picture, options.Side));
}

// Several inputs into a directory: each output planned in order (a second input of the
// same name would silently replace the first one's file), then converted on every core.
int ConvertAll(const Options& options, Target target, const InputFiles& inputs) {
    std::string directory = *options.Directory;
    if (directory.back() != '/') {
        directory += '/';
    }
    const std::string extension = "." + std::string(Targets[static_cast<int>(target)].Name);
    std::vector<std::pair<std::string, std::string>> jobs; // input, output
    std::map<std::string, std::string> planned;
    int worst = ExitOk;
    for (const auto& input : options.Inputs) {
        const std::string output = directory + NameWithoutExtension(input) + extension;
        if (const auto earlier = planned.find(output); earlier != planned.end()) {
            Error(input + ": its output " + output + " is written from '" + earlier->second +
                  "' in this run; not converted");
            worst = std::max(worst, ExitUsageOrWrite);
            continue;
        }
        planned.emplace(output, input);
        jobs.emplace_back(input, output);
    }
    std::atomic<std::size_t> next{0};
    std::atomic<int> worstOfJobs{ExitOk};
    const auto work = [&] {
        for (std::size_t i = next++; i < jobs.size(); i = next++) {
            const int result = Convert(jobs[i].first, jobs[i].second, target, options, inputs);
            int seen = worstOfJobs.load();
            while (result > seen && !worstOfJobs.compare_exchange_weak(seen, result)) {
            }
        }
    };
    const std::size_t threads =
        std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()), jobs.size());
    std::vector<std::thread> helpers;
    for (std::size_t t = 1; t < threads; ++t) {
        helpers.emplace_back(work);
    }
    work();
    for (auto& helper : helpers) {
        helper.join();
    }
    return std::max(worst, worstOfJobs.load());
}

} // namespace

int main(int argc, char** argv) {
    // Every name as UTF-8, as the system has it.
    std::vector<std::string> arguments = CommandLineArguments(argc, argv);
    std::vector<char*> pointers;
    for (std::string& argument : arguments) {
        pointers.push_back(argument.data());
    }
    pointers.push_back(nullptr);
    argc = static_cast<int>(arguments.size());
    argv = pointers.data();
    Options options;
    if (const auto exit = Parse(argc, argv, options)) {
        return *exit;
    }
    const InputFiles inputs = IdentifyInputs(options.Inputs);
    std::optional<Target> target = options.ToText ? TargetNamed(*options.ToText) : std::nullopt;
    if (options.Output) {
        // The output's extension names the format; any other name gets a PNG.
        if (!target) {
            target = TargetOfPath(*options.Output).value_or(Target::Png);
        }
        return Convert(options.Inputs.front(), *options.Output, *target, options, inputs);
    }
    return ConvertAll(options, target.value_or(Target::Png), inputs);
}
