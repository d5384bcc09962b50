#include "temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

namespace kadromir::test_support {

#ifdef _WIN32
TempDir::TempDir() {
    // Paths are UTF-8 inside the program; the directory's own name is ASCII.
    const auto base = std::filesystem::temp_directory_path();
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto candidate = base / ("kadromir-test-" + std::to_string(random()));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) {
            const std::u8string utf8 = candidate.u8string();
            Root.assign(utf8.begin(), utf8.end());
            Root += '\\';
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary directory");
}
#else
TempDir::TempDir() {
    const auto base = std::filesystem::temp_directory_path() / "kadromir-test-XXXXXX";
    std::string pattern = base.string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary directory");
    }
    Root = pattern + "/";
}
#endif

std::filesystem::path NativePath(const std::string& path) {
    return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(NativePath(Root), ignored);
}

std::string TempDir::Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
    const std::string path = Root + name;
    std::ofstream out(NativePath(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
    return path;
}

std::string TempDir::MakeDirectory(const std::string& name) const {
    const std::string path = Root + name;
    std::filesystem::create_directories(NativePath(path));
    return path;
}

} // namespace kadromir::test_support
