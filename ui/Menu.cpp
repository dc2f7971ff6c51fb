#include "ui/Menu.h"

#include "ui/Guard.h"

namespace ui {

namespace {
constexpr UINT kFirstCommandId = 1000;

PopupHandler& Popups() {
    static PopupHandler handler;
    return handler;
}
} // namespace

MenuItem::MenuItem(const MenuItemDesign& design)
    : caption_(design.caption), kind_(design.kind), enabled_(design.enabled),
      visible_(design.visible), checked_(design.checked) {}

std::string MenuItem::MenuText() const {
    if (kind_ == MenuCaption::AccessKey) {
        return caption_;
    }
    std::string text;
    for (const char c : caption_) {
        text += c == '&' ? "&&" : std::string(1, c);
    }
    return text;
}

void MenuItem::SetCaption(const std::string& caption) {
    caption_ = caption;
    if (parentMenu_ == nullptr || !visible_ || caption_ == "-") {
        return;
    }
    std::string text = MenuText();
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = text.data();
    ::SetMenuItemInfoA(parentMenu_, Position(), TRUE, &info);
    Redraw();
}

void MenuItem::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (parentMenu_ != nullptr && visible_) {
        ::EnableMenuItem(parentMenu_, Position(),
                         MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
        Redraw();
    }
}

void MenuItem::SetChecked(bool checked) {
    checked_ = checked;
    if (parentMenu_ != nullptr && visible_) {
        ::CheckMenuItem(parentMenu_, Position(),
                        MF_BYPOSITION | (checked ? MF_CHECKED : MF_UNCHECKED));
    }
}

void MenuItem::SetVisible(bool visible) {
    if (visible == visible_) {
        return;
    }
    if (parentMenu_ != nullptr && !visible) {
        // RemoveMenu keeps a drop-down menu alive for when the item comes back.
        ::RemoveMenu(parentMenu_, Position(), MF_BYPOSITION);
    }
    visible_ = visible;
    if (parentMenu_ != nullptr && visible) {
        Insert();
    }
    Redraw();
}

UINT MenuItem::Position() const {
    const std::vector<MenuItem*>& siblings = parent_ != nullptr ? parent_->items_ : menu_->items_;
    UINT position = 0;
    for (const MenuItem* sibling : siblings) {
        if (sibling == this) {
            break;
        }
        if (sibling->visible_) {
            ++position;
        }
    }
    return position;
}

void MenuItem::Insert() {
    std::string text = MenuText();
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    if (caption_ == "-") {
        info.fMask = MIIM_FTYPE;
        info.fType = MFT_SEPARATOR;
    } else {
        info.fMask = MIIM_STRING | MIIM_ID | MIIM_STATE | MIIM_FTYPE;
        info.fType = MFT_RADIOCHECK;
        info.dwTypeData = text.data();
        info.wID = id_;
        info.fState = (enabled_ ? MFS_ENABLED : MFS_GRAYED) | (checked_ ? MFS_CHECKED : 0);
        if (popup_ != nullptr) {
            info.fMask |= MIIM_SUBMENU;
            info.hSubMenu = popup_;
        }
    }
    ::InsertMenuItemA(parentMenu_, Position(), TRUE, &info);
}

void MenuItem::Build(MainMenu& menu, MenuItem* parent, HMENU parentMenu) {
    menu_ = &menu;
    parent_ = parent;
    parentMenu_ = parentMenu;
    id_ = menu.Register(*this);
    if (!items_.empty()) {
        popup_ = ::CreatePopupMenu();
        for (MenuItem* item : items_) {
            item->Build(menu, this, popup_);
        }
    }
    if (visible_) {
        Insert();
    }
}

void MenuItem::Redraw() const {
    if (menu_ != nullptr && menu_->bar_ && menu_->owner_ != nullptr) {
        ::DrawMenuBar(menu_->owner_);
    }
}

MainMenu::~MainMenu() {
    if (handle_ != nullptr && !::IsWindow(owner_)) {
        ::DestroyMenu(handle_);
    }
}

void MainMenu::Create(HWND owner, std::vector<MenuItem*> items) {
    Build(owner, std::move(items), ::CreateMenu());
    ::SetMenu(owner, handle_);
}

void MainMenu::Build(HWND owner, std::vector<MenuItem*> items, HMENU handle) {
    owner_ = owner;
    items_ = std::move(items);
    handle_ = handle;
    for (MenuItem* item : items_) {
        item->Build(*this, nullptr, handle_);
    }
}

PopupMenu::~PopupMenu() {
    // No window destroys a shortcut menu.
    if (handle_ != nullptr) {
        ::DestroyMenu(handle_);
        handle_ = nullptr;
    }
}

void PopupMenu::Create(HWND owner, std::vector<MenuItem*> items) {
    Build(owner, std::move(items), ::CreatePopupMenu());
}

void PopupMenu::Show(POINT screen) {
    // The choice comes back as the answer, not as a WM_COMMAND that the window's menu bar
    // would take for one of its own ids.
    const UINT id = Popups() ? Popups()(handle_, owner_, screen)
                             : static_cast<UINT>(::TrackPopupMenu(
                                   handle_, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                   screen.x, screen.y, 0, owner_, nullptr));
    if (id != 0) {
        Dispatch(id);
    }
}

PopupHandler SetPopupHandler(PopupHandler handler) {
    PopupHandler previous = std::move(Popups());
    Popups() = std::move(handler);
    return previous;
}

UINT MainMenu::Register(MenuItem& item) {
    byId_.push_back(&item);
    return kFirstCommandId + static_cast<UINT>(byId_.size() - 1);
}

bool MainMenu::Dispatch(UINT id) {
    if (id < kFirstCommandId || id - kFirstCommandId >= byId_.size()) {
        return false;
    }
    MenuItem* item = byId_[id - kFirstCommandId];
    if (item->enabled_ && item->visible_) {
        Fire(item->OnClick);
    }
    return true;
}

} // namespace ui
