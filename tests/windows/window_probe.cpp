// window_probe TITLE: prints what the tests read of the viewer's window from the
// Windows side (wine maps its screen one to one onto the X screen):
//   client WIDTH HEIGHT            the client area, the status line included
//   drawing LEFT TOP WIDTH HEIGHT  the drawing area on the screen
// Exit code 1 when no such window is there.
#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fputs("usage: window_probe TITLE\n", stderr);
        return 2;
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
