#pragma once

#include <cstdint>
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

    // The directory's path, ending in '/'.
    const std::string& Path() const { return Root; }
    // Writes `bytes` to the named file in the directory and returns its full path.
    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
    std::string MakeDirectory(const std::string& name) const;

  private:
    std::string Root;
};

} // namespace kadromir::test_support
