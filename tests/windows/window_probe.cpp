// What the tests read of a window of the viewer from the Windows side (wine maps its
// screen one to one onto the X screen).
// window_probe TITLE: the viewer's window
//   client WIDTH HEIGHT            the client area, the status line included
//   drawing LEFT TOP WIDTH HEIGHT  the drawing area on the screen
// window_probe --controls TITLE: a dialog's controls, one a line, in their order
//   CLASS LEFT TOP WIDTH HEIGHT TEXT
// window_probe --lock FILE: holds the file open for no other program to share, as a
// program that writes it would, until standard input ends.
// window_probe --clipboard PNG_FILE DIB_FILE: writes the clipboard's "PNG" and CF_DIB
// data to the files; exit code 1 when either is not there.
// Texts are UTF-8. Exit code 1 when no such window is there.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string Utf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), size, nullptr, nullptr);
    utf8.resize(utf8.size() - 1);
    return utf8;
}

BOOL CALLBACK PrintControl(HWND control, LPARAM) {
    wchar_t type[64] = {};
    GetClassNameW(control, type, 64);
    // Asked of the control itself: GetWindowText gives no edit field's text across
    // processes.
    wchar_t text[256] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(control, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        2000, &length);
    RECT bounds;
    GetWindowRect(control, &bounds);
    std::printf("%s %ld %ld %ld %ld %s\n", Utf8(type).c_str(), bounds.left, bounds.top,
                bounds.right - bounds.left, bounds.bottom - bounds.top, Utf8(text).c_str());
    return TRUE;
}

} // namespace

// Writes the clipboard data of `format` to the file; false when there is none.
bool SaveClipboardData(UINT format, const wchar_t* file) {
    const HANDLE data = GetClipboardData(format);
    const void* bytes = data != nullptr ? GlobalLock(data) : nullptr;
    if (bytes == nullptr) {
        return false;
    }
    const SIZE_T size = GlobalSize(data);
    const HANDLE out = CreateFileW(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    const bool ok = out != INVALID_HANDLE_VALUE &&
                    WriteFile(out, bytes, static_cast<DWORD>(size), &written, nullptr) &&
                    written == size;
    if (out != INVALID_HANDLE_VALUE) {
        CloseHandle(out);
    }
    GlobalUnlock(data);
    return ok;
}

int wmain(int argc, wchar_t** argv) {
    if (argc == 4 && std::wstring(argv[1]) == L"--clipboard") {
        if (!OpenClipboard(nullptr)) {
            return 1;
        }
        const bool png = SaveClipboardData(RegisterClipboardFormatW(L"PNG"), argv[2]);
        const bool dib = SaveClipboardData(CF_DIB, argv[3]);
        CloseClipboard();
        return png && dib ? 0 : 1;
    }
    if (argc == 3 && std::wstring(argv[1]) == L"--lock") {
        const HANDLE file = CreateFileW(argv[2], GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return 1;
        }
        std::puts("locked");
        std::fflush(stdout);
        while (std::getchar() != EOF) {
        }
        CloseHandle(file);
        return 0;
    }
    const bool controls = argc == 3 && std::wstring(argv[1]) == L"--controls";
    if (argc != 2 && !controls) {
        std::fputs("usage: window_probe [--controls] TITLE | --lock FILE | --clipboard PNG DIB\n",
                   stderr);
        return 2;
    }
    if (controls) {
        const HWND dialog = FindWindowW(nullptr, argv[2]);
        if (dialog == nullptr) {
            return 1;
        }
        EnumChildWindows(dialog, &PrintControl, 0);
        return 0;
    }
    const HWND form = FindWindowW(L"KadromirForm", argv[1]);
    if (form == nullptr) {
        return 1;
    }
    RECT client;
    GetClientRect(form, &client);
    std::printf("client %ld %ld\n", client.right, client.bottom);
    const HWND drawing = FindWindowExW(form, nullptr, L"KadromirPaintBox", nullptr);
    if (drawing != nullptr) {
        RECT area;
        GetWindowRect(drawing, &area);
        std::printf("drawing %ld %ld %ld %ld\n", area.left, area.top, area.right - area.left,
                    area.bottom - area.top);
    }
    return 0;
}
