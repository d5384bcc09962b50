// The system's file and memory services on Windows, through its wide-character calls.
#include "base/system.h"

#include "base/path_rules.h"

#include "wide.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include <windows.h>

#include <shellapi.h>

namespace kadromir {

std::wstring Wide(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                        length);
    return wide;
}

std::wstring SystemPath(std::string_view utf8) {
    std::wstring wide = Wide(utf8);
    // CreateDirectory's limit is the lowest: 248 characters.
    if (wide.size() < 240 || wide.starts_with(L"\\\\?\\")) {
        return wide;
    }
    // The long form takes no "." or ".." and no '/': the full path first.
    const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    std::wstring full(needed, L'\0');
    const DWORD length =
        needed == 0 ? 0 : GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) {
        return wide;
    }
    full.resize(length);
    return full.starts_with(L"\\\\") ? L"\\\\?\\UNC\\" + full.substr(2) : L"\\\\?\\" + full;
}

std::string Narrow(std::wstring_view utf16) {
    if (utf16.empty()) {
        return {};
    }
    const int length = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), narrow.data(),
                        length, nullptr, nullptr);
    return narrow;
}

int ErrnoOfLastError() {
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
        return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_DIRECTORY:
        return ENOTDIR;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return ENOMEM;
    default:
        return EIO;
    }
}

namespace {

constexpr std::uint64_t Join(DWORD high, DWORD low) {
    return (std::uint64_t{high} << 32) | low;
}

} // namespace

std::optional<FileStatus> StatusOf(const std::string& path, bool followLinks, int* error) {
    const std::wstring name = SystemPath(path);
    // Directories open only with backup semantics; attributes need no access right.
    HANDLE file = CreateFileW(
        name.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS | (followLinks ? 0 : FILE_FLAG_OPEN_REPARSE_POINT), nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        if (error != nullptr) {
            *error = ErrnoOfLastError();
        }
        return std::nullopt;
    }
    FileStatus status;
    BY_HANDLE_FILE_INFORMATION info{};
    const DWORD type = GetFileType(file);
    if (type == FILE_TYPE_DISK && GetFileInformationByHandle(file, &info)) {
        const DWORD attributes = info.dwFileAttributes;
        status.Kind = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) && !followLinks ? FileKind::Link
                      : (attributes & FILE_ATTRIBUTE_DIRECTORY) ? FileKind::Directory
                      : (attributes & FILE_ATTRIBUTE_DEVICE)    ? FileKind::Other
                                                                : FileKind::Regular;
        status.Size = Join(info.nFileSizeHigh, info.nFileSizeLow);
        status.Device = info.dwVolumeSerialNumber;
        status.Inode = Join(info.nFileIndexHigh, info.nFileIndexLow);
        status.Links = info.nNumberOfLinks;
        status.Mode = (attributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
    } else {
        status.Kind = FileKind::Other; // a device, a pipe, the console
    }
    CloseHandle(file);
    return status;
}

bool MayAccess(const std::string& path, Access access) {
    const DWORD attributes = GetFileAttributesW(SystemPath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    if (access == Access::WriteAndEnter) {
        // A folder's read-only mark does not keep files out of it.
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }
    if (access == Access::Write && (attributes & FILE_ATTRIBUTE_READONLY)) {
        return false;
    }
    HANDLE file =
        CreateFileW(SystemPath(path).c_str(), access == Access::Read ? GENERIC_READ : GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}

namespace {

class WindowsEntry final : public ListedEntry {
  public:
    WindowsEntry(const std::string& directory, const WIN32_FIND_DATAW& found)
        : Directory(directory), Found(found), EntryName(Narrow(found.cFileName)) {}
    std::string_view Name() const override { return EntryName; }
    bool IsRegularFile() const override {
        const DWORD attributes = Found.dwFileAttributes;
        if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) {
            return false;
        }
        // What the folder says of a file is enough, but for links and for empty
        // entries: on a Linux disk or a share a FIFO or a socket comes as an empty
        // file, which opens as a pipe (or not at all).
        if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
            (Found.nFileSizeLow != 0 || Found.nFileSizeHigh != 0)) {
            return true;
        }
        const auto status = StatusOf(Directory + EntryName);
        return status && status->Kind == FileKind::Regular;
    }

  private:
    const std::string& Directory;
    const WIN32_FIND_DATAW& Found;
    std::string EntryName;
};

} // namespace

bool ListDirectory(const std::string& directory,
                   const std::function<void(const ListedEntry&)>& each) {
    std::string prefix = directory;
    if (!prefix.empty() && prefix.back() != '/' && prefix.back() != '\\') {
        prefix += '\\';
    }
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileExW(SystemPath(prefix + "*").c_str(), FindExInfoBasic, &found,
                                     FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) {
        return false;
    }
    do {
        const std::wstring_view name = found.cFileName;
        // A device's name (a file named aux.spr on a share or a Linux disk) opens the
        // device, never the file: no entry of the folder a program can read.
        if (name != L"." && name != L".." && !IsWindowsDeviceName(Narrow(name))) {
            each(WindowsEntry(prefix, found));
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return true;
}

bool MakeDirectory(const std::string& path, std::uint32_t) {
    // Windows keeps no permission bits: the folder takes its parent's access rules.
    return CreateDirectoryW(SystemPath(path).c_str(), nullptr) != 0;
}

void UseParentConsole() {
    const auto leadsNowhere = [](DWORD which) {
        const HANDLE handle = GetStdHandle(which);
        return handle == nullptr || handle == INVALID_HANDLE_VALUE ||
               GetFileType(handle) == FILE_TYPE_UNKNOWN;
    };
    const bool output = leadsNowhere(STD_OUTPUT_HANDLE), error = leadsNowhere(STD_ERROR_HANDLE);
    if ((!output && !error) || !AttachConsole(ATTACH_PARENT_PROCESS)) {
        return;
    }
    SetConsoleOutputCP(CP_UTF8);
    if (output) {
        std::freopen("CONOUT$", "w", stdout);
    }
    if (error) {
        std::freopen("CONOUT$", "w", stderr);
    }
}

std::optional<std::string> EnvironmentValue(const char* name) {
    const std::wstring wideName = Wide(name);
    std::wstring value(64, L'\0');
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        const DWORD length = GetEnvironmentVariableW(wideName.c_str(), value.data(),
                                                     static_cast<DWORD>(value.size()));
        if (length == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) {
            return std::nullopt;
        }
        if (length < value.size()) {
            value.resize(length);
            return Narrow(value);
        }
        value.resize(length); // the size it needs, its terminating zero included
    }
}

std::optional<std::string> HomeDirectory() {
    auto profile = EnvironmentValue("USERPROFILE");
    return profile && !profile->empty() ? profile : std::nullopt;
}

FileHandle StandardOutput() {
    return reinterpret_cast<FileHandle>(GetStdHandle(STD_OUTPUT_HANDLE));
}

std::string ExecutablePath(const char* argv0) {
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size()) {
        return argv0;
    }
    path.resize(length);
    return Narrow(path);
}

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    // The narrow argv holds the ANSI code page's reading of the names: one outside it
    // becomes question marks. The wide command line has them all.
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) {
        return {argv, argv + argc};
    }
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) {
        arguments.push_back(Narrow(wide[i]));
    }
    LocalFree(wide);
    return arguments;
}

void GiveLargeBlocksOwnPages(std::size_t) {
    // Windows' heap gives blocks of that size pages of their own already.
}

void* GrowPages(void* pages, std::size_t size, std::size_t grown) {
    // Committed pages cost nothing until touched; Windows cannot move them, so the
    // filled part is copied once per doubling.
    void* moved = VirtualAlloc(nullptr, grown, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (moved == nullptr) {
        return nullptr;
    }
    if (pages != nullptr) {
        std::memcpy(moved, pages, size);
        VirtualFree(pages, 0, MEM_RELEASE);
    }
    return moved;
}

void ReleasePages(void* pages, std::size_t) {
    if (pages != nullptr) {
        VirtualFree(pages, 0, MEM_RELEASE);
    }
}

} // namespace kadromir
