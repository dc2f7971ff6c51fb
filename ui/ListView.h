#pragma once
// A list view in report style: columns with captions, rows with a caption and
// sub-items, several rows selectable, kept sorted by caption when asked.

#include <functional>
#include <string>
#include <vector>

#include "ui/Control.h"
#include "ui/Font.h"

namespace ui {

struct ListColumnDesign {
    std::string caption;
    int width = 50;
    // Auto-sized columns share the width that the fixed ones leave.
    bool autoSize = false;
};

struct ListViewDesign {
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<ListColumnDesign> columns;
    FontDesign font;
    COLORREF color = RGB(255, 255, 255);
    bool multiSelect = true;
    bool sortByCaption = false;
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
    void Clear();
    // Adds a row and returns its index (its place among the sorted rows).
    int Add(const std::string& caption, const std::vector<std::string>& subItems);
    std::string Caption(int row) const;
    std::string SubItem(int row, int subItem) const;
    bool Selected(int row) const;
    int SelectedCount() const;

    bool OnParentMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    std::function<void(int row, bool selected)> OnSelectItem;

private:
    std::vector<ListColumnDesign> columns_;
};

} // namespace ui
