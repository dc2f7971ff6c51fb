#pragma once
// A list view in report style whose rows live in the program: it knows only how many
// there are and asks for the cells it paints, so that a hundred thousand rows cost no
// more to show than ten. Cells are Unicode; several rows may be selected.

#include <functional>
#include <string>
#include <vector>

#include "ui/Control.h"
#include "ui/Font.h"

namespace ui {

struct ListColumnDesign {
    std::string caption{};
    int width = 50;
    // Auto-sized columns share the width that the fixed ones leave.
    bool autoSize = false;
};

struct ListViewDesign {
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<ListColumnDesign> columns{};
    FontDesign font{};
    COLORREF color = RGB(255, 255, 255);
    bool multiSelect = true;
    bool columnClick = false;
};

class ListView : public Control {
public:
    void Create(HWND parent, const ListViewDesign& design);

    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    std::string ColumnCaption(int index) const;
    void SetColumnCaption(int index, const std::string& caption);
    // Shares the free width among the auto-sized columns again.
    void SizeColumns();

    int Count() const;
    // A new set of rows, none selected, scrolled to the top.
    void SetCount(int count);
    bool Selected(int row) const;
    int SelectedCount() const;
    // The selected rows in list order.
    std::vector<int> SelectedRows() const;
    // Selects or unselects one row, as a click with Ctrl does.
    void SetSelected(int row, bool selected);
    // Selects every row, as Ctrl+A does.
    void SelectAll();

    void OnDpiChanged(int dpi) override;
    bool OnParentMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // Reached from the keyboard, a row shows the focus: the first selected, else the first.
    void TakeFocus(bool forward) override;

    // The text of a cell; column 0 is the row's caption.
    std::function<std::wstring(int row, int column)> OnCellText;
    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    // A key pressed on the list, other than the ones the list moves by (Delete, Enter).
    std::function<void(UINT key)> OnKeyDown;
    // A row became selected or unselected: its index, the first of a range chosen with
    // Shift, or -1 for every row.
    std::function<void(int row, bool selected)> OnSelectItem;
    // A right click, Shift+F10 or the menu key: the row it concerns (-1 for none) and
    // where on the screen a shortcut menu goes.
    std::function<void(int row, POINT screen)> OnContextMenu;
    // The left button pressed on a row is dragging it (and the other selected rows).
    std::function<void()> OnBeginDrag;

private:
    void ContextMenu(LPARAM at);

    std::vector<ListColumnDesign> columns_;
};

} // namespace ui
