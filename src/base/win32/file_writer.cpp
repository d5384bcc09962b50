// Writing files whole, on Windows.
#include "base/file_writer.h"

#include "base/path_rules.h"
#include "wide.h"

#include <cerrno>
#include <chrono>
#include <cstdio>

#include <windows.h>

namespace kadromir {
namespace {

HANDLE Native(FileHandle fd) {
    return reinterpret_cast<HANDLE>(fd);
}

FileHandle Open(const std::string& path, DWORD access, DWORD disposition) {
    return reinterpret_cast<FileHandle>(CreateFileW(SystemPath(path).c_str(), access,
                                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                    disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool Opened(FileHandle fd) {
    return Native(fd) != INVALID_HANDLE_VALUE;
}

// A fresh temporary file in `directory` (ending in a delimiter, or empty for the
// working directory); NoFile when none can be made.
FileHandle CreateTemporary(const std::string& directory, std::string& name) {
    const auto seed = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count() ^
        (GetCurrentProcessId() * 0x9E3779B97F4A7C15ULL));
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".kadromir-%012llx",
                      (seed + attempt * 0x2545F4914F6CDD1DULL) & 0xFFFFFFFFFFFFULL);
        name = directory + suffix;
        const FileHandle fd = Open(name, GENERIC_WRITE, CREATE_NEW);
        if (Opened(fd) ||
            (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)) {
            return Opened(fd) ? fd : NoFile;
        }
    }
    return NoFile;
}

int WriteIntoExisting(const std::string& path, std::string_view bytes) {
    Descriptor fd(Open(path, GENERIC_WRITE, OPEN_EXISTING));
    if (!Opened(fd.Fd)) {
        fd.Fd = NoFile;
        return ErrnoOfLastError();
    }
    if (!WriteAllBytes(fd.Fd, bytes)) {
        return ErrnoOfLastError();
    }
    return fd.Close() ? 0 : ErrnoOfLastError();
}

} // namespace

std::optional<std::string> FollowLinks(std::string path) {
    // Windows opens a link's target itself, and a rename replaces what is named.
    return path;
}

int ReplaceByRename(const std::string& target, std::string_view content, const FileStatus* old,
                    const ChunkWriter& write, bool& noRoom) {
    std::string temporary;
    Descriptor fd(CreateTemporary(DirectoryPart(target), temporary));
    noRoom = fd.Fd == NoFile;
    if (noRoom) {
        return ErrnoOfLastError();
    }
    int error = write(fd.Fd, content) && FlushFileBuffers(Native(fd.Fd)) ? 0 : ErrnoOfLastError();
    if (!fd.Close() && error == 0) {
        error = ErrnoOfLastError();
    }
    const std::wstring from = SystemPath(temporary);
    if (error == 0 && old != nullptr && (old->Mode & 0222) == 0) {
        SetFileAttributesW(from.c_str(), FILE_ATTRIBUTE_READONLY);
    }
    // Unlike the C library's rename, this replaces a file that is there.
    if (error == 0 && !MoveFileExW(from.c_str(), SystemPath(target).c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = ErrnoOfLastError();
    }
    if (error != 0) {
        SetFileAttributesW(from.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(from.c_str());
    }
    return error;
}

int WriteFileReplacing(const std::string& path, std::string_view bytes) {
    if (path.empty()) {
        return ENOENT;
    }
    const std::optional<FileStatus> existing = StatusOf(path);
    const bool exists = existing.has_value();
    if (exists && existing->Kind == FileKind::Directory) {
        return EISDIR;
    }
    if (exists && existing->Kind != FileKind::Regular) {
        return WriteIntoExisting(path, bytes);
    }
    // An empty file holds nothing to lose, and whoever asked for it may read it back
    // through a handle it keeps open: that file must get the bytes.
    if (exists && existing->Size == 0) {
        const int error = WriteIntoExisting(path, bytes);
        if (error != 0) {
            Descriptor fd(Open(path, GENERIC_WRITE, TRUNCATE_EXISTING));
            if (!Opened(fd.Fd)) {
                fd.Fd = NoFile;
            }
        }
        return error;
    }
    bool noRoom = false;
    return ReplaceByRename(path, bytes, exists ? &*existing : nullptr, WriteAllBytes, noRoom);
}

bool RewriteInPlace(const std::string& path, std::string_view content, std::string_view original,
                    const ChunkWriter& write) {
    Descriptor fd(Open(path, GENERIC_WRITE, OPEN_EXISTING));
    if (!Opened(fd.Fd)) {
        fd.Fd = NoFile;
        return false;
    }
    HANDLE file = Native(fd.Fd);
    // Reserve the room first: a full disk then fails before any byte has changed.
    LARGE_INTEGER size{};
    size.QuadPart = static_cast<LONGLONG>(std::max(content.size(), original.size()));
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(file, size, nullptr, FILE_BEGIN) || !SetEndOfFile(file) ||
        !SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) {
        return false;
    }
    size.QuadPart = static_cast<LONGLONG>(content.size());
    if (write(fd.Fd, content) && SetFilePointerEx(file, size, nullptr, FILE_BEGIN) &&
        SetEndOfFile(file) && FlushFileBuffers(file)) {
        return fd.Close();
    }
    // A write that failed all the same: put the old bytes back.
    size.QuadPart = static_cast<LONGLONG>(original.size());
    if (SetFilePointerEx(file, start, nullptr, FILE_BEGIN) && WriteAllBytes(fd.Fd, original)) {
        SetFilePointerEx(file, size, nullptr, FILE_BEGIN);
        SetEndOfFile(file);
        FlushFileBuffers(file);
    }
    return false;
}

} // namespace kadromir
