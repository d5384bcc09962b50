#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kadromir {

// The system's file and memory services as the plain libraries use them, in the
// project's own terms. Paths are UTF-8 byte strings (on POSIX, the bytes as they are).
// One implementation per system sits in a folder of its own (posix/); nothing else
// includes a system header.

// An open file as the system hands it out (a descriptor on POSIX).
using FileHandle = std::intptr_t;
inline constexpr FileHandle NoFile = -1;

// What a path names.
enum class FileKind { Regular, Directory, Link, Other };

struct FileStatus {
    FileKind Kind = FileKind::Other;
    std::uint64_t Size = 0;
    // Which file it is, under any of its names.
    std::uint64_t Device = 0, Inode = 0;
    std::uint64_t Links = 1;
    // Permission bits as the system keeps them (rwx for owner, group, others).
    std::uint32_t Mode = 0;
    std::uint32_t Owner = 0, Group = 0;
};

// The status of what the path names, a symbolic link followed to its end (or the link
// itself with `followLinks` false). Nothing when the path names nothing that can be
// looked at; `error` then holds the system's reason (an errno value) where it is asked
// for.
std::optional<FileStatus> StatusOf(const std::string& path, bool followLinks = true,
                                   int* error = nullptr);

// Whether this process, as the user it acts for, may do that with the path.
enum class Access { Read, Write, WriteAndEnter };
bool MayAccess(const std::string& path, Access access);

// The entries of a directory as it lists them, "." and ".." left out. IsRegularFile
// asks the system only where the listing does not say (links, some file systems).
class ListedEntry {
  public:
    virtual std::string_view Name() const = 0;
    // A regular file, or a symbolic link that ends in one.
    virtual bool IsRegularFile() const = 0;

  protected:
    ~ListedEntry() = default;
};
// Calls `each` for every entry; false when the directory cannot be opened.
bool ListDirectory(const std::string& directory,
                   const std::function<void(const ListedEntry&)>& each);

// Makes one directory with the given permission bits; false when it cannot (one that
// is there already included).
bool MakeDirectory(const std::string& path, std::uint32_t mode);

// The user's home directory as the system's user records give it, where they do.
std::optional<std::string> HomeDirectory();

// An environment variable's value (UTF-8 on Windows, whatever its code page); nothing
// when it is not set.
std::optional<std::string> EnvironmentValue(const char* name);

// Makes the standard output and error of a window program reach the console it was
// started from, where they reach nothing else (a Windows program of the window
// subsystem has none of its own), in UTF-8. Elsewhere, and where they lead somewhere
// already (a pipe, a file), nothing changes.
void UseParentConsole();

// The standard output of the process.
FileHandle StandardOutput();

// The program's arguments as UTF-8, argv[0] first: on POSIX the bytes as they are, on
// Windows every name as the system has it (the narrow argv loses what the ANSI code
// page cannot hold).
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// The running executable's own path, from the system; `argv0` where it cannot tell
// (argv[0] may be relative, or a name found on PATH).
std::string ExecutablePath(const char* argv0);

// From now on, blocks of at least `bytes` get pages of their own, given back to the
// system when freed.
void GiveLargeBlocksOwnPages(std::size_t bytes);

// Pages of memory that grow in place or move without a copy where the system can:
// untouched pages cost nothing. Grow returns the new start (the old one's bytes kept),
// or nullptr when the memory cannot be had (the old pages are then kept).
void* GrowPages(void* pages, std::size_t size, std::size_t grown);
void ReleasePages(void* pages, std::size_t size);

} // namespace kadromir
