// LoadPicture through real files: the input is written as a picture of each format
// in a private temporary directory, for SCR once without and once with a .pal side
// file made of the input's first bytes, and loaded as the viewer loads it.
#include "formats/load_picture.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

const std::string& Directory() {
    static const std::string directory = [] {
        std::string pattern = "/tmp/kadromir-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        return pattern + "/";
    }();
    return directory;
}

void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0 || ::write(fd, data, size) != static_cast<ssize_t>(size) || ::close(fd) != 0) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& dir = Directory();
    kadromir::PictureState state;
    for (const char* name : {"x.spr", "x.rmb", "x.scr"}) {
        WriteFile(dir + name, data, size);
        kadromir::LoadPicture(dir + name, state);
    }
    WriteFile(dir + "x.pal", data, size < 20 ? size : 20);
    kadromir::LoadPicture(dir + "x.scr", state);
    ::unlink((dir + "x.pal").c_str());
    return 0;
}
