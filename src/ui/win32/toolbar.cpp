// The toolbar on Win32: the common controls' toolbar across the top of the client
// area, text beside the system's own images.
#include "ui/toolbar.h"

#include "base/win32/wide.h"
#include "context_menu.h"
#include "form_window.h"
#include "ui/action_list.h"
#include "window_class.h"

#include <commctrl.h>

namespace kadromir::ui {

struct Toolbar::Native {
    struct Entry {
        UINT Id = 0;
        std::string Text;
        std::wstring Tip;
        std::function<void()> Click;
    };
    explicit Native(FormWindow& window) : Window(window), WindowAlive(window.AliveToken()) {}
    Entry* Button(int index) {
        return index >= 0 && index < static_cast<int>(Buttons.size())
                   ? &Buttons[static_cast<std::size_t>(index)]
                   : nullptr;
    }
    bool Enabled(const Entry& entry) const {
        return SendMessageW(Bar, TB_ISBUTTONENABLED, entry.Id, 0) != 0;
    }
    void Run(Entry* entry) {
        if (entry != nullptr && Enabled(*entry) && entry->Click) {
            const auto click = entry->Click;
            click();
        }
    }

    FormWindow& Window;
    std::weak_ptr<const bool> WindowAlive;
    HWND Bar = nullptr;
    int HistoryImages = 0; // where the back and forward images start
    std::vector<Entry> Buttons;
};

Toolbar::Toolbar(Form& form) : Impl(std::make_unique<Native>(form.Window())) {
    FormWindow& window = form.Window();
    Impl->Bar = CreateWindowExW(
        0, TOOLBARCLASSNAMEW, nullptr,
        WS_CHILD | WS_VISIBLE | CCS_TOP | TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS, 0, 0, 0,
        0, window.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND bar = Impl->Bar;
    SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(bar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_MIXEDBUTTONS);
    SendMessageW(bar, TB_LOADIMAGES, IDB_STD_SMALL_COLOR, reinterpret_cast<LPARAM>(HINST_COMMCTRL));
    const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(bar, TB_GETIMAGELIST, 0, 0));
    Impl->HistoryImages = images != nullptr ? ImageList_GetImageCount(images) : 0;
    SendMessageW(bar, TB_LOADIMAGES, IDB_HIST_SMALL_COLOR,
                 reinterpret_cast<LPARAM>(HINST_COMMCTRL));
    SendMessageW(bar, TB_AUTOSIZE, 0, 0);
    Native* native = Impl.get();
    window.AddMessageHandler(
        native, [native](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
            if (message == WM_COMMAND && reinterpret_cast<HWND>(lParam) == native->Bar) {
                for (Native::Entry& entry : native->Buttons) {
                    if (entry.Id == LOWORD(wParam)) {
                        native->Run(&entry);
                        result = 0;
                        return true;
                    }
                }
            }
            if (message == WM_NOTIFY) {
                auto* header = reinterpret_cast<NMHDR*>(lParam);
                if (header->hwndFrom == native->Bar && header->code == NM_CUSTOMDRAW) {
                    // A flat toolbar shows its parent through; the strip has the system's
                    // own face instead of the window's border colour.
                    auto* draw = reinterpret_cast<NMTBCUSTOMDRAW*>(lParam);
                    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
                        RECT strip;
                        GetClientRect(native->Bar, &strip);
                        FillRect(draw->nmcd.hdc, &strip, GetSysColorBrush(COLOR_BTNFACE));
                    }
                    result = CDRF_DODEFAULT;
                    return true;
                }
                if (header->code == TTN_GETDISPINFOW) {
                    auto* tip = reinterpret_cast<NMTTDISPINFOW*>(lParam);
                    for (Native::Entry& entry : native->Buttons) {
                        if (entry.Id == header->idFrom && !entry.Tip.empty()) {
                            tip->lpszText = entry.Tip.data();
                            result = 0;
                            return true;
                        }
                    }
                }
            }
            return false;
        });
}

Toolbar::~Toolbar() {
    if (!Impl->WindowAlive.expired()) {
        Impl->Window.RemoveMessageHandler(Impl.get());
        DetachContextMenu(Impl->Window, Impl->Bar);
        DestroyWindow(Impl->Bar);
    }
}

int Toolbar::AddButton(const std::string& text, ToolbarImage image) {
    Native::Entry entry;
    entry.Id = Impl->Window.NewCommandId();
    entry.Text = text;
    const std::wstring wide = Wide(text);
    TBBUTTON button{};
    switch (image) {
    case ToolbarImage::OpenFile:
        button.iBitmap = STD_FILEOPEN;
        break;
    case ToolbarImage::Back:
        button.iBitmap = Impl->HistoryImages + HIST_BACK;
        break;
    case ToolbarImage::Forward:
        button.iBitmap = Impl->HistoryImages + HIST_FORWARD;
        break;
    }
    button.idCommand = static_cast<int>(entry.Id);
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
    button.iString = reinterpret_cast<INT_PTR>(wide.c_str());
    Impl->Buttons.push_back(std::move(entry));
    SendMessageW(Impl->Bar, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button));
    SendMessageW(Impl->Bar, TB_AUTOSIZE, 0, 0);
    return static_cast<int>(Impl->Buttons.size()) - 1;
}

int Toolbar::ButtonCount() const {
    return static_cast<int>(Impl->Buttons.size());
}

std::string Toolbar::ButtonText(int index) const {
    const auto* entry = Impl->Button(index);
    return entry ? entry->Text : std::string();
}

void Toolbar::SetButtonText(int index, const std::string& text) {
    auto* entry = Impl->Button(index);
    if (entry == nullptr || entry->Text == text) {
        return;
    }
    entry->Text = text;
    std::wstring wide = Wide(text);
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_TEXT;
    info.pszText = wide.data();
    SendMessageW(Impl->Bar, TB_SETBUTTONINFOW, entry->Id, reinterpret_cast<LPARAM>(&info));
    SendMessageW(Impl->Bar, TB_AUTOSIZE, 0, 0);
}

std::string Toolbar::Tooltip(int index) const {
    const auto* entry = Impl->Button(index);
    return entry ? Narrow(entry->Tip) : std::string();
}

void Toolbar::SetTooltip(int index, const std::string& text) {
    if (auto* entry = Impl->Button(index)) {
        entry->Tip = Wide(text);
    }
}

bool Toolbar::IsEnabled(int index) const {
    const auto* entry = Impl->Button(index);
    return entry && Impl->Enabled(*entry);
}

void Toolbar::SetEnabled(int index, bool enabled) {
    if (auto* entry = Impl->Button(index); entry && Impl->Enabled(*entry) != enabled) {
        SendMessageW(Impl->Bar, TB_ENABLEBUTTON, entry->Id, MAKELONG(enabled ? TRUE : FALSE, 0));
    }
}

void Toolbar::SetOnClick(int index, std::function<void()> click) {
    if (auto* entry = Impl->Button(index)) {
        entry->Click = std::move(click);
    }
}

void Toolbar::Click(int index) {
    Impl->Run(Impl->Button(index));
}

int Toolbar::Height() const {
    return BoundsInParent(Impl->Bar).Height;
}

void Toolbar::SetContextMenu(Menu& menu) {
    AttachContextMenu(Impl->Window, Impl->Bar, menu);
}

void Toolbar::BindClick(const ActionLink& link, std::function<void()> click) {
    SetOnClick(link.Key, std::move(click));
}

void Toolbar::Update(const ActionLink& link, const Action& action) {
    auto* entry = Impl->Button(link.Key);
    if (entry == nullptr) {
        return;
    }
    // A button without text keeps none.
    if (!entry->Text.empty()) {
        SetButtonText(link.Key, action.Caption());
    }
    entry->Tip = Wide(action.Hint());
    SetEnabled(link.Key, action.Enabled());
    const bool hidden = SendMessageW(Impl->Bar, TB_ISBUTTONHIDDEN, entry->Id, 0) != 0;
    if (hidden == action.Visible()) {
        SendMessageW(Impl->Bar, TB_HIDEBUTTON, entry->Id,
                     MAKELONG(action.Visible() ? FALSE : TRUE, 0));
    }
}

} // namespace kadromir::ui
