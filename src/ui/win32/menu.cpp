// Menus on Win32: a menu bar or pop-up menu, every item with a command identifier.
#include "ui/menu.h"

#include "base/win32/wide.h"
#include "form_window.h"
#include "ui/action_list.h"
#include "ui/menu_template.h"

namespace kadromir::ui {

struct Menu::Native {
    struct Entry {
        HMENU Parent = nullptr;
        HMENU Submenu = nullptr;
        UINT Id = 0;
        std::string Text;
        bool Enabled = true;
        bool Visible = true;
        std::function<void()> Click;
    };
    explicit Native(FormWindow& window) : Window(window) {}
    ~Native();
    void Build(const std::vector<std::string>& captions);
    Entry* Item(int index) {
        return index >= 0 && index < static_cast<int>(Items.size())
                   ? &Items[static_cast<std::size_t>(index)]
                   : nullptr;
    }
    Entry* ItemOfCommand(UINT id) {
        for (Entry& entry : Items) {
            if (entry.Id == id) {
                return &entry;
            }
        }
        return nullptr;
    }
    // Puts the entry in its menu, where its visible siblings before it leave room.
    void Insert(const Entry& entry);
    void Refresh() {
        if (Root != nullptr && !IsPopup) {
            DrawMenuBar(Window.Handle());
        }
    }
    void Run(Entry* entry) {
        if (entry != nullptr && entry->Enabled && entry->Click) {
            const auto click = entry->Click;
            click();
        }
    }

    FormWindow& Window;
    std::weak_ptr<const bool> WindowAlive;
    HMENU Root = nullptr;
    bool IsPopup = false;
    std::vector<Entry> Items;
};

Menu::Native::~Native() {
    if (!WindowAlive.expired()) {
        Window.RemoveMessageHandler(this);
        for (Entry& entry : Items) {
            Window.SetAccelerator(&entry, {}, nullptr);
        }
    }
    // A menu bar goes with its window; a pop-up menu is this object's own.
    if (IsPopup && Root != nullptr) {
        DestroyMenu(Root);
    }
}

void Menu::Native::Insert(const Entry& entry) {
    UINT position = 0;
    for (const Entry& other : Items) {
        if (&other == &entry) {
            break;
        }
        if (other.Parent == entry.Parent && other.Visible) {
            ++position;
        }
    }
    const std::wstring text = Wide(entry.Text);
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE | (entry.Submenu ? MIIM_SUBMENU : 0);
    item.wID = entry.Id;
    item.hSubMenu = entry.Submenu;
    item.fState = entry.Enabled ? MFS_ENABLED : MFS_DISABLED;
    item.dwTypeData = const_cast<wchar_t*>(text.c_str());
    InsertMenuItemW(entry.Parent, position, TRUE, &item);
}

void Menu::Native::Build(const std::vector<std::string>& captions) {
    const auto parsed = ParseMenuTemplate(captions);
    Items.reserve(parsed.size()); // entries are inserted by address
    for (const MenuTemplateItem& item : parsed) {
        Entry entry;
        entry.Parent =
            item.Parent < 0 ? Root : Items[static_cast<std::size_t>(item.Parent)].Submenu;
        entry.Text = item.Caption;
        entry.Id = Window.NewCommandId();
        if (item.OpensSubmenu) {
            entry.Submenu = CreatePopupMenu();
        }
        Items.push_back(entry);
        Insert(Items.back());
    }
    WindowAlive = Window.AliveToken();
    Window.AddMessageHandler(this, [this](UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
        if (message != WM_COMMAND || HIWORD(wParam) != 0) {
            return false;
        }
        Entry* entry = ItemOfCommand(LOWORD(wParam));
        if (entry == nullptr) {
            return false;
        }
        Run(entry);
        result = 0;
        return true;
    });
}

Menu::Menu(Form& form) : Impl(std::make_unique<Native>(form.Window())) {}

std::unique_ptr<Menu> Menu::CreateMenuBar(Form& form, const std::vector<std::string>& captions) {
    std::unique_ptr<Menu> menu(new Menu(form));
    menu->Impl->Root = CreateMenu();
    menu->Impl->Build(captions);
    form.Window().SetMenuBar(menu->Impl->Root);
    return menu;
}

std::unique_ptr<Menu> Menu::CreatePopup(Form& form, const std::vector<std::string>& captions) {
    std::unique_ptr<Menu> menu(new Menu(form));
    menu->Impl->Root = CreatePopupMenu();
    menu->Impl->IsPopup = true;
    menu->Impl->Build(captions);
    return menu;
}

Menu::~Menu() = default;

int Menu::ItemCount() const {
    return static_cast<int>(Impl->Items.size());
}

std::string Menu::ItemText(int index) const {
    const auto* item = Impl->Item(index);
    return item ? item->Text : std::string();
}

bool Menu::ItemEnabled(int index) const {
    const auto* item = Impl->Item(index);
    return item && item->Enabled;
}

bool Menu::ItemVisible(int index) const {
    const auto* item = Impl->Item(index);
    return item && item->Visible;
}

bool Menu::ItemOpensSubmenu(int index) const {
    const auto* item = Impl->Item(index);
    return item && item->Submenu != nullptr;
}

void Menu::SetOnClick(int index, std::function<void()> click) {
    if (auto* item = Impl->Item(index)) {
        item->Click = std::move(click);
    }
}

void Menu::SetAccelerator(int index, const Shortcut& shortcut) {
    auto* item = Impl->Item(index);
    if (item == nullptr) {
        return;
    }
    // Virtual-key codes name the key at its place whatever the layout.
    Impl->Window.SetAccelerator(item, shortcut, [native = Impl.get(), item] { native->Run(item); });
}

void Menu::Click(int index) {
    Impl->Run(Impl->Item(index));
}

void Menu::ShowPopup(const Point& at) {
    if (!Impl->IsPopup || Impl->Root == nullptr) {
        return;
    }
    const HWND owner = Impl->Window.Handle();
    // The owner must be in front for the menu to close when the user clicks elsewhere.
    SetForegroundWindow(owner);
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(
        Impl->Root, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.X, at.Y, 0, owner, nullptr));
    PostMessageW(owner, WM_NULL, 0, 0);
    if (chosen != 0) {
        Impl->Run(Impl->ItemOfCommand(chosen));
    }
}

void Menu::BindClick(const ActionLink& link, std::function<void()> click) {
    SetOnClick(link.Key, std::move(click));
}

void Menu::Update(const ActionLink& link, const Action& action) {
    auto* item = Impl->Item(link.Key);
    if (item == nullptr) {
        return;
    }
    std::string text = action.Caption();
    if (!action.ShortcutText().empty()) {
        text += '\t' + action.ShortcutText();
    }
    bool changed = false;
    if (item->Text != text || item->Enabled != action.Enabled()) {
        item->Text = text;
        item->Enabled = action.Enabled();
        if (item->Visible) {
            const std::wstring wide = Wide(text);
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_STRING | MIIM_STATE;
            info.fState = item->Enabled ? MFS_ENABLED : MFS_DISABLED;
            info.dwTypeData = const_cast<wchar_t*>(wide.c_str());
            SetMenuItemInfoW(item->Parent, item->Id, FALSE, &info);
        }
        changed = true;
    }
    if (item->Visible != action.Visible()) {
        item->Visible = action.Visible();
        if (item->Visible) {
            Impl->Insert(*item);
        } else {
            RemoveMenu(item->Parent, item->Id, MF_BYCOMMAND);
        }
        changed = true;
    }
    if (changed) {
        Impl->Refresh();
    }
    // A disabled item's key reaches the window as an ordinary key (a letter typed).
    SetAccelerator(link.Key, action.Enabled() ? action.Shortcut() : Shortcut{});
}

} // namespace kadromir::ui
