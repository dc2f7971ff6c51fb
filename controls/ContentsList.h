#pragma once
// The list of an archive's entries: one row per entry, sorted by caption (the entry's
// readable name without the folders before its last "\" or ":"), with its date, size,
// time and ratio. Rows point at the engine's contents list and format their cells only
// when the list paints them; the stored name behind each row is what operations act on.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/ZipDirEntry.h"
#include "ui/ListView.h"

namespace controls {

class ContentsList : public ui::ListView {
public:
    void Create(HWND parent, const ui::ListViewDesign& design);

    // Rows for every entry, none selected. The entries must outlive the rows: the next
    // Fill or Clear comes before the list changes.
    void Fill(const std::vector<ZipDirEntry>& entries);
    void Clear();

    // The entry's name as stored in the archive, bytes as they are.
    std::string StoredName(int row) const;
    // The stored names the selected rows stand for, in row order: a folder's row (a
    // name ending in "/" or "\") stands for itself and every entry under it.
    std::vector<std::string> SelectedStoredNames() const;
    // The entry behind a row; none past the last row, or once the engine dropped its
    // entries (an archive that could not be opened) and the rows were not filled again.
    const ZipDirEntry* Entry(int row) const;

private:
    std::wstring Cell(int row, int column) const;

    struct Row {
        std::uint32_t entry;
        std::wstring caption;
    };
    // Rows ordered by caption as the shell orders names, ties in the archive's order.
    static void SortByCaption(std::vector<Row>& rows);
    // The same order taken from the rows shown, when every entry has one there.
    bool SortLikeTheOldRows(std::vector<Row>& rows) const;
    static void Reorder(std::vector<Row>& rows, const std::vector<std::uint32_t>& order);

    const std::vector<ZipDirEntry>* entries_ = nullptr;
    std::vector<Row> rows_;
};

// The part of a name after its last "\" or ":"; "/" does not separate.
std::string CaptionOf(const std::string& name);

} // namespace controls
