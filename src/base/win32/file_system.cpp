// Reading files bounded and without blocking, on Windows.
#include "base/file_reader.h"

#include "wide.h"

#include <algorithm>
#include <climits>

#include <windows.h>

namespace kadromir {
namespace {

HANDLE Native(FileHandle fd) {
    return reinterpret_cast<HANDLE>(fd);
}

} // namespace

bool Descriptor::Close() {
    const bool ok = Fd == NoFile || CloseHandle(Native(Fd)) != 0;
    Fd = NoFile;
    return ok;
}

std::optional<FileBytes> ReadFileBytes(const std::string& path, std::size_t limit,
                                       Oversize oversize, ReadFailure* failure) {
    ReadFailure ignored = ReadFailure::None;
    ReadFailure& why = failure ? *failure : ignored;
    why = ReadFailure::None;
    const std::wstring name = SystemPath(path);
    // Others may go on writing or renaming the file meanwhile: a viewer never locks it.
    const Descriptor file(reinterpret_cast<FileHandle>(CreateFileW(
        name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
    if (Native(file.Fd) == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        const DWORD attributes = GetFileAttributesW(name.c_str());
        why = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
                      error == ERROR_INVALID_NAME
                  ? ReadFailure::Missing
              : attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)
                  ? ReadFailure::NotRegular
                  : ReadFailure::Unreadable;
        return std::nullopt;
    }
    // A device (NUL, CON, COM1) or a pipe named like a picture is none.
    LARGE_INTEGER size{};
    if (GetFileType(Native(file.Fd)) != FILE_TYPE_DISK) {
        why = ReadFailure::NotRegular;
        return std::nullopt;
    }
    if (!GetFileSizeEx(Native(file.Fd), &size)) {
        why = ReadFailure::Unreadable;
        return std::nullopt;
    }
    const auto reported = static_cast<std::size_t>(std::max<LONGLONG>(size.QuadPart, 0));
    if (oversize == Oversize::Refuse && reported > limit) {
        why = ReadFailure::TooLarge;
        return std::nullopt;
    }
    HANDLE handle = Native(file.Fd);
    auto bytes =
        FileReader::Read(reported, limit, [handle](std::uint8_t* into, std::size_t length) {
            DWORD got = 0;
            const auto wanted = static_cast<DWORD>(std::min<std::size_t>(length, 1u << 30));
            return ReadFile(handle, into, wanted, &got, nullptr) ? static_cast<long long>(got)
                                                                 : -1LL;
        });
    if (!bytes) {
        why = ReadFailure::Unreadable;
    }
    return bytes;
}

bool WriteAllBytes(FileHandle fd, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD written = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        if (!WriteFile(Native(fd), bytes.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

} // namespace kadromir
