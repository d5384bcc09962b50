// The system's file and memory services on POSIX (Linux).
#include "base/system.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <malloc.h>
#include <pwd.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kadromir {
namespace {

FileKind KindOf(mode_t mode) {
    return S_ISREG(mode)   ? FileKind::Regular
           : S_ISDIR(mode) ? FileKind::Directory
           : S_ISLNK(mode) ? FileKind::Link
                           : FileKind::Other;
}

// One entry of a listing; the directory's descriptor answers for links and for file
// systems that do not report the type.
class PosixEntry final : public ListedEntry {
  public:
    PosixEntry(int directoryFd, const dirent& entry) : DirectoryFd(directoryFd), Entry(entry) {}
    std::string_view Name() const override { return Entry.d_name; }
    bool IsRegularFile() const override {
        if (Entry.d_type == DT_REG) {
            return true;
        }
        if (Entry.d_type != DT_LNK && Entry.d_type != DT_UNKNOWN) {
            return false;
        }
        struct stat info {};
        return ::fstatat(DirectoryFd, Entry.d_name, &info, 0) == 0 && S_ISREG(info.st_mode);
    }

  private:
    int DirectoryFd;
    const dirent& Entry;
};

} // namespace

std::optional<FileStatus> StatusOf(const std::string& path, bool followLinks, int* error) {
    struct stat info {};
    if ((followLinks ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info)) != 0) {
        if (error != nullptr) {
            *error = errno;
        }
        return std::nullopt;
    }
    FileStatus status;
    status.Kind = KindOf(info.st_mode);
    status.Size = info.st_size > 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
    status.Device = info.st_dev;
    status.Inode = info.st_ino;
    status.Links = info.st_nlink;
    status.Mode = info.st_mode & 07777;
    status.Owner = info.st_uid;
    status.Group = info.st_gid;
    return status;
}

bool MayAccess(const std::string& path, Access access) {
    const int mode = access == Access::Read ? R_OK : access == Access::Write ? W_OK : W_OK | X_OK;
    return ::faccessat(AT_FDCWD, path.c_str(), mode, AT_EACCESS) == 0;
}

bool ListDirectory(const std::string& directory,
                   const std::function<void(const ListedEntry&)>& each) {
    DIR* stream = ::opendir(directory.c_str());
    if (stream == nullptr) {
        return false;
    }
    const int fd = ::dirfd(stream);
    while (const dirent* entry = ::readdir(stream)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            each(PosixEntry(fd, *entry));
        }
    }
    ::closedir(stream);
    return true;
}

bool MakeDirectory(const std::string& path, std::uint32_t mode) {
    return ::mkdir(path.c_str(), static_cast<mode_t>(mode)) == 0;
}

std::optional<std::string> HomeDirectory() {
    const passwd* user = ::getpwuid(::geteuid());
    if (user == nullptr || user->pw_dir == nullptr) {
        return std::nullopt;
    }
    return std::string(user->pw_dir);
}

void UseParentConsole() {}

std::optional<std::string> EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    return {argv, argv + argc};
}

std::string ExecutablePath(const char* argv0) {
    std::string path(PATH_MAX, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= path.size()) {
        return argv0;
    }
    path.resize(static_cast<std::size_t>(length));
    return path;
}

void GiveLargeBlocksOwnPages(std::size_t bytes) {
    mallopt(M_MMAP_THRESHOLD, static_cast<int>(bytes));
}

FileHandle StandardOutput() {
    return STDOUT_FILENO;
}

void* GrowPages(void* pages, std::size_t size, std::size_t grown) {
    // Anonymous pages: untouched ones cost nothing, and mremap moves the filled ones
    // without a copy, so growing never needs the old and the new store at once.
    void* moved = pages == nullptr ? ::mmap(nullptr, grown, PROT_READ | PROT_WRITE,
                                            MAP_PRIVATE | MAP_ANONYMOUS, -1, 0)
                                   : ::mremap(pages, size, grown, MREMAP_MAYMOVE);
    return moved == MAP_FAILED ? nullptr : moved;
}

void ReleasePages(void* pages, std::size_t size) {
    if (pages != nullptr) {
        ::munmap(pages, size);
    }
}

} // namespace kadromir
