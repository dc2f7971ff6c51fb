#pragma once
// The main menu and shortcut menus: items with captions, enabled and visible states and
// click handlers. A hidden item is taken out of its menu and put back at its place when
// shown.

#include <functional>
#include <string>
#include <vector>
#include <windows.h>

namespace ui {

class MainMenu;

// Whether an "&" in a caption marks the access key of the letter after it, or is shown
// as it is (a file's path, say).
enum class MenuCaption { AccessKey, Literal };

struct MenuItemDesign {
    // A caption of "-" makes a separator.
    std::string caption{};
    bool enabled = true;
    bool visible = true;
    bool checked = false; // with a round mark: one choice of several
    MenuCaption kind = MenuCaption::AccessKey;
};

class MenuItem {
public:
    explicit MenuItem(std::string caption) : MenuItem(MenuItemDesign{.caption = caption}) {}
    explicit MenuItem(const MenuItemDesign& design);
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);

    // Items of a drop-down menu; set before the menu is built.
    void SetItems(std::vector<MenuItem*> items) { items_ = std::move(items); }

    std::function<void()> OnClick;

private:
    friend class MainMenu;
    void Build(MainMenu& menu, MenuItem* parent, HMENU parentMenu);
    // The item's place among the visible items of its menu.
    UINT Position() const;
    void Insert();
    void Redraw() const;
    // The caption as the menu is given it.
    std::string MenuText() const;

    std::string caption_;
    MenuCaption kind_;
    bool enabled_;
    bool visible_;
    bool checked_;
    std::vector<MenuItem*> items_;
    MainMenu* menu_ = nullptr;
    MenuItem* parent_ = nullptr;
    HMENU parentMenu_ = nullptr;
    HMENU popup_ = nullptr;
    UINT id_ = 0;
};

class MainMenu {
public:
    MainMenu() = default;
    ~MainMenu();
    MainMenu(const MainMenu&) = delete;
    MainMenu& operator=(const MainMenu&) = delete;

    // Builds the menu from its items and gives it to the window.
    void Create(HWND owner, std::vector<MenuItem*> items);
    HMENU Handle() const { return handle_; }
    HWND Owner() const { return owner_; }

    // Runs the click handler of the item with the command id; false for an unknown id.
    bool Dispatch(UINT id);

protected:
    void Build(HWND owner, std::vector<MenuItem*> items, HMENU handle);

    HWND owner_ = nullptr;
    HMENU handle_ = nullptr;
    // A menu bar is drawn again when an item changes; a shortcut menu when it is shown.
    bool bar_ = true;

private:
    friend class MenuItem;
    UINT Register(MenuItem& item);

    std::vector<MenuItem*> items_;
    std::vector<MenuItem*> byId_;
};

// A shortcut menu: built once, shown where asked, and the chosen item's handler run.
class PopupMenu : public MainMenu {
public:
    PopupMenu() { bar_ = false; }
    ~PopupMenu();

    void Create(HWND owner, std::vector<MenuItem*> items);
    void Show(POINT screen);
};

// How a shortcut menu is shown: it returns the chosen item's command id, 0 for none.
// Tests install one that reads the menu and chooses as scripted.
using PopupHandler = std::function<UINT(HMENU menu, HWND owner, POINT screen)>;
// Installs a handler (an empty one restores the system's menu) and returns the previous.
PopupHandler SetPopupHandler(PopupHandler handler);

} // namespace ui
