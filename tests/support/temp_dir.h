#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kadromir::test_support {

// A fresh directory under the system's temporary directory, removed with its
// contents when the object goes.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The directory's path, ending in its delimiter ('/', on Windows '\\'), in UTF-8.
    const std::string& Path() const { return Root; }
    // Writes `bytes` to the named file in the directory and returns its full path.
    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
    std::string MakeDirectory(const std::string& name) const;

  private:
    std::string Root;
};

// A UTF-8 path as the standard library's path: on Windows the narrow forms would read
// it in the ANSI code page.
std::filesystem::path NativePath(const std::string& path);

} // namespace kadromir::test_support
