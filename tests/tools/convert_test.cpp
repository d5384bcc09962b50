// The converter as a user runs it: the real binary on fixture files, its PNGs read back.
#include "formats/colour_code.h"
#include "picture_encoder.h"
#include "png/picture_png.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

#include <QImage>
#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <sys/stat.h>

namespace kadromir {
namespace {

using test_support::RunCommand;

const std::string Converter = KADROMIR_CONVERT;

std::array<ColourCode, 16> Palette(ColourCode first) {
    std::array<ColourCode, 16> palette{};
    for (std::size_t i = 0; i < 16; ++i) {
        palette[i] = static_cast<ColourCode>(first + 3 * i);
    }
    return palette;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Checks the file is an 8-bit palette PNG of 256 x 256 with a tEXt "Border" chunk,
// and returns it decoded.
QImage ReadPng(const std::string& path, const std::string& border) {
    const std::string bytes = ReadAll(path);
    EXPECT_GT(bytes.size(), 33u);
    if (bytes.size() <= 33) {
        return {};
    }
    EXPECT_EQ(bytes.substr(12, 4), "IHDR");
    EXPECT_EQ(static_cast<unsigned char>(bytes[24]), 8) << "bit depth";
    EXPECT_EQ(static_cast<unsigned char>(bytes[25]), 3) << "colour type: palette";
    EXPECT_NE(bytes.find("tEXtBorder" + std::string(1, '\0') + border), std::string::npos);
    const QImage image(QString::fromStdString(path));
    EXPECT_EQ(image.size(), QSize(256, 256));
    EXPECT_EQ(image.format(), QImage::Format_Indexed8);
    EXPECT_EQ(image.colorCount(), 16);
    return image;
}

TEST(Convert, RmbPixelsAndPaletteComeOutAsIndices) {
    test_support::TempDir dir;
    PlaneBuffer planes{};
    planes[PlaneIndex(0, 0, 1)] = 0x80;  // pixel (0, 1) gets index 1
    planes[PlaneIndex(3, 31, 0)] = 0x01; // pixel (255, 0) gets index 8
    const auto input = dir.Write("pic.rmb", encoder::EncodeRmb(Palette(0x07), planes));
    const auto run = RunCommand({Converter, input, "-o", dir.Path() + "pic.png"});
    ASSERT_EQ(run.ExitCode, 0) << run.Error;
    const QImage image = ReadPng(dir.Path() + "pic.png", "07");
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(image.color(i), 0xFF000000u | ColourCodeTable::PaletteForm[Palette(0x07)[i]])
            << i;
    }
    EXPECT_EQ(image.pixelIndex(0, 1), 1);
    EXPECT_EQ(image.pixelIndex(255, 0), 8);
    EXPECT_EQ(image.pixelIndex(0, 0), 0);
}

TEST(Convert, SprIsMirroredAndScrTakesItsSideFile) {
    test_support::TempDir dir;
    PlaneBuffer planes{};
    planes[PlaneIndex(3, 0, 0)] = 0x80;
    dir.Write("a.spr", encoder::EncodeSpr(Palette(0x40), planes));
    dir.Write("b.scr", encoder::EncodeScr(planes));
    dir.Write("b.pal", encoder::EncodePal(Palette(0xC0)));
    dir.Write("c.scr", encoder::EncodeScr(planes));
    const auto out = dir.MakeDirectory("out");
    const auto run = RunCommand(
        {Converter, dir.Path() + "a.spr", dir.Path() + "b.scr", dir.Path() + "c.scr", "-d", out});
    ASSERT_EQ(run.ExitCode, 0) << run.Error;
    const struct {
        const char* Name;
        const char* Border;
        ColourCode Entry8;
    } expected[] = {{"a", "40", 0x58}, {"b", "C0", 0xD8}, {"c", "40", 0x00}};
    for (const auto& e : expected) {
        SCOPED_TRACE(e.Name);
        const QImage image = ReadPng(out + "/" + e.Name + ".png", e.Border);
        EXPECT_EQ(image.pixelIndex(248, 0), 8);
        EXPECT_EQ(image.pixelIndex(0, 0), 0);
        EXPECT_EQ(image.color(8), 0xFF000000u | ColourCodeTable::PaletteForm[e.Entry8]);
    }
}

TEST(Convert, FailuresGiveTheirExitCodeAndNoFile) {
    test_support::TempDir dir;
    auto noLead = encoder::EncodeScr(PlaneBuffer{});
    noLead[1] = 0x7E;
    const struct {
        const char* Name;
        std::vector<std::uint8_t> Bytes;
        int ExitCode;
        std::string Message;
    } cases[] = {
        {"short.spr", std::vector<std::uint8_t>(535, 1), 2, "short.spr - Неподходящий файл!"},
        {"bad.rmb", std::vector<std::uint8_t>(40, 0), 2, "bad.rmb-Несоответствие в заголовке!"},
        {"nolead.scr", noLead, 3, "nolead.scr"},
        {"picture.txt", std::vector<std::uint8_t>(600, 0), 3, "picture.txt"},
        {"picture.png", std::vector<std::uint8_t>(600, 0), 1, "is a PNG already"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const auto input = dir.Write(c.Name, c.Bytes);
        const auto output = dir.Path() + "out.png";
        const auto run = RunCommand({Converter, input, "-o", output});
        EXPECT_EQ(run.ExitCode, c.ExitCode);
        EXPECT_NE(run.Error.find(c.Message), std::string::npos) << run.Error;
        EXPECT_FALSE(std::filesystem::exists(output));
    }
}

TEST(Convert, SeveralFilesGoOnAfterAFailureAndExitWithTheWorst) {
    test_support::TempDir dir;
    const auto good = dir.Write("good.rmb", encoder::EncodeRmb(Palette(0), PlaneBuffer{}));
    const auto rejected = dir.Write("bad.rmb", std::vector<std::uint8_t>(40, 0));
    const auto other = dir.Write("other.txt", {1, 2, 3});
    const auto out = dir.MakeDirectory("out");
    EXPECT_EQ(RunCommand({Converter, rejected, good, "-d", out}).ExitCode, 2);
    EXPECT_EQ(RunCommand({Converter, other, rejected, good, "-d", out}).ExitCode, 3);
    EXPECT_TRUE(std::filesystem::exists(out + "/good.png"));
    EXPECT_FALSE(std::filesystem::exists(out + "/bad.png"));
}

TEST(Convert, UsageAndWriteErrors) {
    test_support::TempDir dir;
    const auto good = dir.Write("good.rmb", encoder::EncodeRmb(Palette(0), PlaneBuffer{}));
    const auto help = RunCommand({Converter, "--help"});
    EXPECT_EQ(help.ExitCode, 0);
    EXPECT_NE(help.Output.find("usage"), std::string::npos);
    EXPECT_EQ(RunCommand({Converter}).ExitCode, 1);
    EXPECT_EQ(RunCommand({Converter, good}).ExitCode, 1);
    EXPECT_EQ(RunCommand({Converter, good, good, "-o", dir.Path() + "x.png"}).ExitCode, 1);
    EXPECT_EQ(RunCommand({Converter, good, "-o", dir.Path() + "missing/dir/x.png"}).ExitCode, 1);
    EXPECT_EQ(RunCommand({Converter, good, "-d", dir.Path() + "missing"}).ExitCode, 1);
}

TEST(Convert, UsageErrorsNameWhatIsWrong) {
    const struct {
        std::vector<std::string> Arguments;
        std::string Named;
    } cases[] = {
        {{}, "no INPUT"},
        {{"-x.rmb"}, "'-x.rmb'"},
        {{"a.spr"}, "'a.spr'"},
        {{"a.spr", "-o"}, "'-o'"},
        {{"-d", "", "a.spr"}, "'-d'"},
        {{"a.spr", "-o", "x.png", "-o", "y.png"}, "'-o y.png'"},
        {{"a.spr", "b.spr", "-o", "x.png"}, "'b.spr'"},
        {{"-o", "x.png", "-d", "out", "a.spr"}, "'-d out'"},
        {{"-s", "0", "a.spr", "-o", "x.png"}, "'-s 0'"},
        {{"-s", "4097", "a.spr", "-o", "x.png"}, "'-s 4097'"},
        {{"-s", "12px", "a.spr", "-o", "x.png"}, "'-s 12px'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.Arguments));
        std::vector<std::string> argv{Converter};
        argv.insert(argv.end(), c.Arguments.begin(), c.Arguments.end());
        const auto run = RunCommand(argv);
        EXPECT_EQ(run.ExitCode, 1);
        EXPECT_NE(run.Error.find(c.Named), std::string::npos) << run.Error;
        EXPECT_EQ(std::count(run.Error.begin(), run.Error.end(), '\n'), 1) << run.Error;
    }
    const auto version = RunCommand({Converter, "--version"});
    EXPECT_EQ(version.ExitCode, 0);
    EXPECT_EQ(version.Output, std::string("kadromir-convert ") + KADROMIR_VERSION + "\n");
}

// Planes whose PNG is some tens of kilobytes.
PlaneBuffer Noise() {
    PlaneBuffer planes{};
    std::uint32_t state = 1;
    for (auto& byte : planes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<std::uint8_t>(state >> 24);
    }
    return planes;
}

// What is in a directory, name by name, with each regular file's bytes.
std::map<std::string, std::string> Contents(const std::string& dir) {
    std::map<std::string, std::string> contents;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        contents[entry.path().filename().string()] =
            entry.is_regular_file() ? ReadAll(entry.path().string()) : "<not a file>";
    }
    return contents;
}

TEST(Convert, NeverDestroysAFile) {
    const std::string converter = Converter;
    const struct {
        const char* What;
        // Run in a directory holding a.spr, b/a.rmb, old.png ("old") and full.png, a
        // link to /dev/full.
        std::vector<std::string> Arguments;
        int ExitCode;
        std::string Said;
        std::vector<std::string> Unchanged;
    } cases[] = {
        {"the output is the input", {"a.spr", "-o", "a.spr"}, 1, "itself", {"a.spr"}},
        {"the output is a hard link to an input",
         {"b/a.rmb", "a.spr", "-d", "b"},
         1,
         "itself",
         {"b/a.rmb", "a.spr"}},
        {"two inputs of one name",
         {"a.spr", "b/a.rmb", "-d", "out"},
         1,
         "b/a.rmb: its output out/a.png is written from 'a.spr'",
         {"a.spr", "b/a.rmb"}},
        // Through a link of the test's own: a faulty converter removes the link, never
        // the device.
        {"a device that takes nothing",
         {"a.spr", "-o", "full.png"},
         1,
         "No space left on device",
         {"a.spr", "old.png"}},
        {"a file over the size limit",
         {"/bin/bash", "-c", "trap '' XFSZ; ulimit -f 1; exec \"$0\" a.spr -o old.png", converter},
         1,
         "old.png: cannot be written",
         {"old.png"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        test_support::TempDir dir;
        dir.Write("a.spr", encoder::EncodeSpr(Palette(0x40), Noise()));
        dir.MakeDirectory("b");
        dir.MakeDirectory("out");
        if (std::string(c.What).find("hard link") != std::string::npos) {
            std::filesystem::create_hard_link(dir.Path() + "a.spr", dir.Path() + "b/a.png");
        }
        dir.Write("b/a.rmb", encoder::EncodeRmb(Palette(0x80), PlaneBuffer{}));
        dir.Write("old.png", {'o', 'l', 'd'});
        std::filesystem::create_symlink("/dev/full", dir.Path() + "full.png");
        const auto before = Contents(dir.Path());
        std::map<std::string, std::string> files;
        for (const auto& name : c.Unchanged) {
            files[name] = name.starts_with("/") ? "" : ReadAll(dir.Path() + name);
        }
        std::vector<std::string> argv = c.Arguments;
        if (argv.front() != "/bin/bash") {
            argv.insert(argv.begin(), converter);
        }
        // The converter runs in the directory, so relative names are the user's own.
        const std::string cwd = std::filesystem::current_path();
        std::filesystem::current_path(dir.Path());
        const auto run = RunCommand(argv);
        std::filesystem::current_path(cwd);
        EXPECT_EQ(run.ExitCode, c.ExitCode) << run.Error;
        EXPECT_NE(run.Error.find(c.Said), std::string::npos) << run.Error;
        for (const auto& [name, bytes] : files) {
            EXPECT_EQ(ReadAll(dir.Path() + name), bytes) << name;
        }
        // Nothing is left behind, and nothing is removed.
        EXPECT_EQ(Contents(dir.Path()).size(), before.size());
        EXPECT_TRUE(std::filesystem::is_symlink(dir.Path() + "full.png"));
    }
}

TEST(Convert, ReplacesWholeKeepsModesFollowsLinksAndWritesToStandardOutput) {
    test_support::TempDir dir;
    const auto input = dir.Write("-x.rmb", encoder::EncodeRmb(Palette(0x07), PlaneBuffer{}));
    // A name that starts with '-' goes after "--".
    ASSERT_EQ(RunCommand({Converter, "-o", dir.Path() + "made.png", "--", input}).ExitCode, 0);
    const std::string png = ReadAll(dir.Path() + "made.png");
    ReadPng(dir.Path() + "made.png", "07");
    const auto piped = RunCommand({Converter, input, "-o", "-"});
    EXPECT_EQ(piped.ExitCode, 0);
    EXPECT_EQ(piped.Output, png);
    // An old file is replaced as a whole and keeps its mode; a link stays a link.
    const auto old = dir.Write("old.png", {'o', 'l', 'd'});
    ::chmod(old.c_str(), 0640);
    std::filesystem::create_symlink(old, dir.Path() + "link.png");
    ASSERT_EQ(RunCommand({Converter, "-o", dir.Path() + "link.png", "--", input}).ExitCode, 0);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.Path() + "link.png"));
    EXPECT_EQ(ReadAll(old), png);
    struct stat info {};
    ASSERT_EQ(::stat(old.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

// A thumbnail service makes an empty temporary file, names it as the output and reads
// the thumbnail back through the descriptor it kept: the bytes must land in that file.
TEST(Convert, AnEmptyOutputIsWrittenIntoForWhoeverHoldsItOpen) {
    test_support::TempDir dir;
    const auto input = dir.Write("pic.rmb", encoder::EncodeRmb(Palette(0x07), PlaneBuffer{}));
    const auto output = dir.Write("tumbler-Ab12Cd.png", {});
    const int held = ::open(output.c_str(), O_RDONLY);
    ASSERT_GE(held, 0);
    ASSERT_EQ(RunCommand({Converter, "-s", "128", input, "-o", output}).ExitCode, 0);
    std::string read(4096, '\0');
    const ssize_t got = ::read(held, read.data(), read.size());
    ::close(held);
    ASSERT_GT(got, 0);
    read.resize(static_cast<std::size_t>(got));
    EXPECT_EQ(read, ReadAll(output));
    EXPECT_EQ(QImage::fromData(QByteArray::fromStdString(read), "png").size(), QSize(128, 128));
}

} // namespace
} // namespace kadromir

namespace kadromir {
namespace {

// Back the other way: a PNG into each format, by the output's extension or --to, and
// the PNG of what was written is the first PNG again.
TEST(ConvertBack, PngIntoEachFormatAndBackExactly) {
    test_support::TempDir dir;
    const auto spr = dir.Write("pic.spr", encoder::EncodeSpr(Palette(0x40), Noise()));
    const std::string png = dir.Path() + "pic.png";
    ASSERT_EQ(RunCommand({Converter, spr, "-o", png}).ExitCode, 0);
    for (const char* format : {"spr", "scr", "rmb"}) {
        SCOPED_TRACE(format);
        const std::string out = dir.Path() + "back." + format;
        const auto run = RunCommand({Converter, png, "-o", out});
        ASSERT_EQ(run.ExitCode, 0) << run.Error;
        ASSERT_EQ(RunCommand({Converter, out, "-o", dir.Path() + "again.png"}).ExitCode, 0);
        EXPECT_EQ(ReadAll(dir.Path() + "again.png"), ReadAll(png));
    }
    // The SCR's colours went into its .pal.
    EXPECT_EQ(ReadAll(dir.Path() + "back.pal").size(), 16u);
    // Several with -d and --to, on every core; the outputs named after the inputs.
    const auto out = dir.MakeDirectory("out");
    std::vector<std::string> argv{Converter, "--to", "rmb", "-d", out};
    for (int i = 0; i < 6; ++i) {
        const std::string copy = dir.Path() + "copy" + std::to_string(i) + ".png";
        std::filesystem::copy_file(png, copy);
        argv.push_back(copy);
    }
    ASSERT_EQ(RunCommand(argv).ExitCode, 0);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(ReadAll(out + "/copy" + std::to_string(i) + ".rmb"),
                  ReadAll(dir.Path() + "back.rmb"));
    }
}

// The format is named by the output's extension or --to in any letter case, and a PNG
// input is one by its extension in any letter case.
TEST(ConvertBack, FormatNamesInAnyLetterCase) {
    test_support::TempDir dir;
    const auto spr = dir.Write("pic.spr", encoder::EncodeSpr(Palette(0x40), Noise()));
    ASSERT_EQ(RunCommand({Converter, spr, "-o", dir.Path() + "PIC.PNG"}).ExitCode, 0);
    const std::string png = dir.Path() + "PIC.PNG";
    std::map<std::string, std::string> lower; // each format as the lower-case name writes it
    for (const char* format : {"spr", "scr", "rmb"}) {
        const std::string out = dir.Path() + "lower." + format;
        ASSERT_EQ(RunCommand({Converter, png, "-o", out}).ExitCode, 0);
        lower[format] = ReadAll(out);
    }
    const struct {
        std::vector<std::string> Arguments;
        std::string Output;
        std::string Format; // "png" for a PNG
    } cases[] = {
        {{png, "-o", dir.Path() + "OUT.SPR"}, "OUT.SPR", "spr"},
        {{png, "-o", dir.Path() + "Out.Rmb"}, "Out.Rmb", "rmb"},
        {{png, "-o", dir.Path() + "OUT.SCR"}, "OUT.SCR", "scr"},
        {{"--to", "RMB", png, "-o", dir.Path() + "to-rmb"}, "to-rmb", "rmb"},
        {{spr, "-o", dir.Path() + "AGAIN.SCR"}, "AGAIN.SCR", "scr"},
        {{spr, "-o", dir.Path() + "AGAIN.Png"}, "AGAIN.Png", "png"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Output);
        std::vector<std::string> argv{Converter};
        argv.insert(argv.end(), c.Arguments.begin(), c.Arguments.end());
        const auto run = RunCommand(argv);
        ASSERT_EQ(run.ExitCode, 0) << run.Error;
        const std::string written = ReadAll(dir.Path() + c.Output);
        if (c.Format == "png") {
            EXPECT_EQ(written, ReadAll(png));
        } else {
            EXPECT_EQ(written, lower[c.Format]);
        }
    }
}

// --nearest reaches the conversion: colours a little off the code colours are refused
// without it and taken to the nearest code colours with it.
TEST(ConvertBack, NearestTakesColoursToTheCodeColours) {
    test_support::TempDir dir;
    QImage image(256, 256, QImage::Format_RGB32);
    const QRgb colours[] = {qRgb(0xFC, 0, 0), qRgb(0, 0xFD, 0), qRgb(0, 0, 0xFE), qRgb(1, 1, 1)};
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            image.setPixel(x, y, colours[x / 64]);
        }
    }
    const std::string png = dir.Path() + "near.png";
    ASSERT_TRUE(image.save(QString::fromStdString(png), "PNG"));
    const std::string out = dir.Path() + "near.rmb";
    const auto refused = RunCommand({Converter, png, "-o", out});
    EXPECT_EQ(refused.ExitCode, 2);
    EXPECT_NE(refused.Error.find("none of the 256 code colours"), std::string::npos)
        << refused.Error;
    EXPECT_FALSE(std::filesystem::exists(out));
    const auto taken = RunCommand({Converter, "--nearest", png, "-o", out});
    ASSERT_EQ(taken.ExitCode, 0) << taken.Error;
    // RMB holds the palette reversed: entries 0 to 3 at offsets 15 down to 12.
    const std::string rmb = ReadAll(out);
    ASSERT_GE(rmb.size(), 16u);
    EXPECT_EQ(static_cast<unsigned char>(rmb[15]), 0x07);
    EXPECT_EQ(static_cast<unsigned char>(rmb[14]), 0x38);
    EXPECT_EQ(static_cast<unsigned char>(rmb[13]), 0xC0);
    EXPECT_EQ(static_cast<unsigned char>(rmb[12]), 0x00);
}

// A PNG input that cannot be read loads nothing (3), as any input that gives nothing
// to convert; one that is read and is no picture of ours, or is larger than any PNG of
// a picture, is refused as a PNG (2). A picture file that is not there is its
// decoder's to refuse (2), as in the viewer.
TEST(ConvertBack, InputsThatFailGiveTheirExitCode) {
    test_support::TempDir dir;
    dir.MakeDirectory("folder.png");
    dir.Write("small.png", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'});
    const std::string huge = dir.Write("huge.png", {});
    std::filesystem::resize_file(huge, (std::uintmax_t{16} << 20) + 1);
    const struct {
        const char* Name;
        int ExitCode;
        std::string Message;
    } cases[] = {
        {"missing.png", 3, "missing.png: cannot be read"},
        {"folder.png", 3, "folder.png: cannot be read"},
        {"small.png", 2, "small.png: not a PNG that can be read"},
        {"huge.png", 2, "huge.png: larger than any PNG of a picture"},
        {"missing.spr", 2, "missing.spr - Неподходящий файл!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string out = dir.Path() + "out.spr";
        const auto run = RunCommand({Converter, dir.Path() + c.Name, "-o", out});
        EXPECT_EQ(run.ExitCode, c.ExitCode);
        EXPECT_NE(run.Error.find(c.Message), std::string::npos) << run.Error;
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

TEST(ConvertBack, PalettesBordersAndRefusals) {
    test_support::TempDir dir;
    // The default palette needs no .pal; one already there is reported and kept.
    const auto scr = dir.Write("plain.scr", encoder::EncodeScr(Noise()));
    ASSERT_EQ(RunCommand({Converter, scr, "-o", dir.Path() + "plain.png"}).ExitCode, 0);
    dir.Write("copy.pal", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
    const auto run =
        RunCommand({Converter, dir.Path() + "plain.png", "-o", dir.Path() + "copy.scr"});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_NE(run.Error.find("copy.pal: the colours are the default palette"), std::string::npos)
        << run.Error;
    EXPECT_EQ(ReadAll(dir.Path() + "copy.pal").size(), 16u);
    ASSERT_EQ(
        RunCommand({Converter, dir.Path() + "plain.png", "-o", dir.Path() + "fresh.scr"}).ExitCode,
        0);
    EXPECT_FALSE(std::filesystem::exists(dir.Path() + "fresh.pal"));

    // A Border text that names another code than entry 0: said, and of no effect.
    PictureState picture;
    picture.Bitmap.SetPaletteEntry(0, 0x40);
    picture.BorderColour = 0x07;
    const std::string png = EncodePicturePng(picture);
    dir.Write("border.png", std::vector<std::uint8_t>(png.begin(), png.end()));
    const auto border =
        RunCommand({Converter, dir.Path() + "border.png", "-o", dir.Path() + "b.rmb"});
    EXPECT_EQ(border.ExitCode, 0) << border.Error;
    EXPECT_NE(border.Error.find("Border text names 07"), std::string::npos) << border.Error;
    EXPECT_EQ(static_cast<unsigned char>(ReadAll(dir.Path() + "b.rmb")[15]), 0x40);

    // Refused: an SCR with colours to standard output.
    const auto spr = dir.Write("c.spr", encoder::EncodeSpr(Palette(0x40), Noise()));
    ASSERT_EQ(RunCommand({Converter, spr, "-o", dir.Path() + "c.png"}).ExitCode, 0);
    const auto piped = RunCommand({Converter, dir.Path() + "c.png", "--to", "scr", "-o", "-"});
    EXPECT_EQ(piped.ExitCode, 1);
    EXPECT_NE(piped.Error.find(".pal"), std::string::npos);
    EXPECT_EQ(RunCommand({Converter, "--to", "gif", spr, "-o", "x"}).ExitCode, 1);
}

} // namespace
} // namespace kadromir

namespace kadromir {
namespace {

// The sizes a thumbnail may ask for, the largest included.
TEST(ConvertBack, ThumbnailSizesUpToTheLargest) {
    test_support::TempDir dir;
    const auto spr = dir.Write("pic.spr", encoder::EncodeSpr(Palette(0x40), Noise()));
    for (const int side : {1, 128, 4096}) {
        SCOPED_TRACE(side);
        const std::string out = dir.Path() + "s" + std::to_string(side) + ".png";
        const auto run = RunCommand({Converter, "-s", std::to_string(side), spr, "-o", out});
        ASSERT_EQ(run.ExitCode, 0) << run.Error;
        EXPECT_EQ(QImage(QString::fromStdString(out)).size(), QSize(side, side));
    }
}

// It runs where Qt is not installed: a server, a CI box, a file manager's thumbnailer.
TEST(ConvertBack, NeedsNoQt) {
    const auto run = RunCommand({"/usr/bin/ldd", Converter});
    ASSERT_EQ(run.ExitCode, 0);
    EXPECT_NE(run.Output.find("libspng"), std::string::npos) << run.Output;
    EXPECT_EQ(run.Output.find("Qt"), std::string::npos) << run.Output;
}

} // namespace
} // namespace kadromir
