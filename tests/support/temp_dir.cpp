#include "temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace kadromir::test_support {

TempDir::TempDir() {
    const auto base = std::filesystem::temp_directory_path() / "kadromir-test-XXXXXX";
    std::string pattern = base.string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary directory");
    }
    Root = pattern + "/";
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(Root, ignored);
}

std::string TempDir::Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
    const std::string path = Root + name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
    return path;
}

std::string TempDir::MakeDirectory(const std::string& name) const {
    const std::string path = Root + name;
    std::filesystem::create_directories(path);
    return path;
}

} // namespace kadromir::test_support
