// Entries a directory may hold that are no pictures: pipes, devices, huge or sparse
// files, broken links. Each gets a defined outcome at once, never a hang or a flood.
#include "base/file_system.h"
#include "formats/load_message.h"
#include "formats/load_picture.h"
#include "formats/scr_decoder.h"
#include "formats/spr_decoder.h"
#include "picture_encoder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace kadromir {
namespace {

namespace fs = std::filesystem;

void MakePipe(const std::string& path) {
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0) << path;
}

// A file of `size` bytes that takes no room on disk.
void MakeSparse(const std::string& path, off_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, size), 0);
    ::close(fd);
}

TEST(HostileFiles, LoadEndsAtOnceWithTheReadersOwnOutcome) {
    test_support::TempDir dir;
    const std::string d = dir.Path();
    const struct {
        const char* Name;
        std::function<void(const std::string&)> Make;
        std::string_view Message;
    } cases[] = {
        {"pipe.spr", MakePipe, LoadMessages::SprUnsuitable},
        {"pipe.scr", MakePipe, LoadMessages::ScrReadError},
        {"pipe.rmb", MakePipe, LoadMessages::RmbReadError},
        {"zero.spr", [](const std::string& p) { fs::create_symlink("/dev/zero", p); },
         LoadMessages::SprUnsuitable},
        {"random.rmb", [](const std::string& p) { fs::create_symlink("/dev/urandom", p); },
         LoadMessages::RmbReadError},
        {"huge.spr", [](const std::string& p) { MakeSparse(p, off_t{100} << 30); },
         LoadMessages::SprUnsuitable},
        {"over.spr", [](const std::string& p) { MakeSparse(p, SprMaximumSize + 1); },
         LoadMessages::SprUnsuitable},
        {"dangling.rmb", [&](const std::string& p) { fs::create_symlink(d + "nowhere", p); },
         LoadMessages::RmbReadError},
        {"loop.scr", [](const std::string& p) { fs::create_symlink(p, p); },
         LoadMessages::ScrReadError},
        {"folder.spr", [](const std::string& p) { fs::create_directory(p); },
         LoadMessages::SprUnsuitable},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        c.Make(d + c.Name);
        PictureState state;
        state.BorderColour = 0x99;
        EXPECT_EQ(LoadPicture(d + c.Name, state), LoadOutcome::Rejected);
        EXPECT_EQ(state.LoadMessage, c.Message);
        EXPECT_EQ(state.BorderColour, 0x99); // the previous picture stays
    }
}

// Up to the limit an SPR file is read (here one of zeros, which decodes); one byte
// more and it is refused unread.
TEST(HostileFiles, SprSizeLimitIsExact) {
    test_support::TempDir dir;
    MakeSparse(dir.Path() + "full.spr", static_cast<off_t>(SprMaximumSize));
    PictureState state;
    state.BorderColour = 0x99;
    EXPECT_EQ(LoadPicture(dir.Path() + "full.spr", state), LoadOutcome::Loaded);
    EXPECT_EQ(state.BorderColour, 0x00);
}

TEST(HostileFiles, APipeAsSideFileGivesTheDefaultPalette) {
    test_support::TempDir dir;
    PlaneBuffer planes{};
    for (std::size_t i = 0; i < planes.size(); ++i) {
        planes[i] = static_cast<std::uint8_t>(i * 7);
    }
    const std::string picture = dir.Write("x.scr", encoder::EncodeScr(planes));
    MakePipe(dir.Path() + "x.pal");
    PictureState withPipe;
    ASSERT_EQ(LoadPicture(picture, withPipe), LoadOutcome::Loaded);
    ::unlink((dir.Path() + "x.pal").c_str());
    PictureState without;
    ASSERT_EQ(LoadPicture(picture, without), LoadOutcome::Loaded);
    EXPECT_TRUE(withPipe.Bitmap == without.Bitmap);
}

TEST(ReadFileBytes, SaysWhyNothingWasRead) {
    test_support::TempDir dir;
    const std::string d = dir.Path();
    dir.Write("small", {1, 2, 3, 4, 5});
    MakeSparse(d + "large", 1 << 20);
    MakePipe(d + "pipe");
    dir.MakeDirectory("folder");
    const struct {
        std::string Path;
        std::size_t Limit;
        Oversize Policy;
        ReadFailure Failure;
        std::size_t Size;
    } cases[] = {
        {d + "small", 3, Oversize::ReadPrefix, ReadFailure::None, 3},
        {d + "small", 5, Oversize::Refuse, ReadFailure::None, 5},
        {d + "small", 4, Oversize::Refuse, ReadFailure::TooLarge, 0},
        {d + "large", 100, Oversize::ReadPrefix, ReadFailure::None, 100},
        {d + "missing", 10, Oversize::ReadPrefix, ReadFailure::Missing, 0},
        {d + "pipe", 10, Oversize::ReadPrefix, ReadFailure::NotRegular, 0},
        {d + "folder", 10, Oversize::ReadPrefix, ReadFailure::NotRegular, 0},
        {"/dev/zero", 10, Oversize::ReadPrefix, ReadFailure::NotRegular, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Path + " " + std::to_string(c.Limit));
        ReadFailure failure = ReadFailure::Unreadable;
        const auto bytes = ReadFileBytes(c.Path, c.Limit, c.Policy, &failure);
        EXPECT_EQ(failure, c.Failure);
        EXPECT_EQ(bytes.has_value(), c.Failure == ReadFailure::None);
        EXPECT_EQ(bytes ? bytes->size() : 0, c.Size);
    }
}

// Root reads anything, so this holds only as an ordinary user (the test command also
// runs these tests as one).
TEST(ReadFileBytes, AFileWithoutReadPermissionIsUnreadable) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "the superuser reads any file";
    }
    test_support::TempDir dir;
    const std::string path =
        dir.Write("locked.spr", encoder::EncodeSpr(std::array<ColourCode, 16>{}, PlaneBuffer{}));
    ::chmod(path.c_str(), 0);
    ReadFailure failure = ReadFailure::None;
    EXPECT_FALSE(ReadFileBytes(path, 100, Oversize::ReadPrefix, &failure));
    EXPECT_EQ(failure, ReadFailure::Unreadable);
    PictureState state;
    EXPECT_EQ(LoadPicture(path, state), LoadOutcome::Rejected);
    EXPECT_EQ(state.LoadMessage, LoadMessages::SprUnsuitable);
}

} // namespace
} // namespace kadromir
