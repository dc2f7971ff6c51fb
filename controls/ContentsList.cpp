#include "controls/ContentsList.h"

#include <algorithm>
#include <numeric>
#include <windows.h>

#include "platform/win32/WidePath.h"
#include "util/EntryFormat.h"

namespace controls {

namespace {

// Sorts as the shell sorts names: by the user's locale, ignoring case. One key per row
// is made once; comparing keys is then a byte comparison.
std::string SortKey(const std::wstring& text) {
    const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    const int size = ::LCMapStringW(LOCALE_USER_DEFAULT, flags, text.c_str(),
                                    static_cast<int>(text.size()), nullptr, 0);
    std::string key(static_cast<std::size_t>(std::max(size, 0)), '\0');
    if (size > 0) {
        ::LCMapStringW(LOCALE_USER_DEFAULT, flags, text.c_str(), static_cast<int>(text.size()),
                       reinterpret_cast<LPWSTR>(key.data()), size);
    }
    return key;
}

std::wstring DateText(const SYSTEMTIME& moment) {
    wchar_t text[64] = {};
    ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &moment, nullptr, text, 64);
    return std::wstring(text) + L"  ";
}

std::wstring TimeText(const SYSTEMTIME& moment) {
    wchar_t text[64] = {};
    ::GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &moment, nullptr, text, 64);
    return L" " + std::wstring(text) + L" ";
}

std::wstring Ascii(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

} // namespace

std::string CaptionOf(const std::string& name) {
    const auto cut = name.find_last_of("\\:");
    return cut == std::string::npos ? name : name.substr(cut + 1);
}

void ContentsList::Create(HWND parent, const ui::ListViewDesign& design) {
    ui::ListView::Create(parent, design);
    OnCellText = [this](int row, int column) { return Cell(row, column); };
}

void ContentsList::Fill(const std::vector<ZipDirEntry>& entries) {
    std::vector<Row> rows;
    rows.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        rows.push_back({static_cast<std::uint32_t>(i),
                        platform::WidenUtf8(CaptionOf(entries[i].ShownName()))});
    }
    if (!SortLikeTheOldRows(rows)) {
        SortByCaption(rows);
    }
    entries_ = &entries;
    rows_ = std::move(rows);
    SetCount(static_cast<int>(rows_.size()));
}

void ContentsList::SortByCaption(std::vector<Row>& rows) {
    std::vector<std::string> keys;
    keys.reserve(rows.size());
    for (const Row& row : rows) {
        keys.push_back(SortKey(row.caption));
    }
    std::vector<std::uint32_t> order(rows.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(),
                     [&keys](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });
    Reorder(rows, order);
}

// After a delete the entries left are the old ones less some, in the same order: each
// is matched to an old entry of the same caption, whose row already has its place.
// The order is then the one a sort would give, without the sort keys that cost most.
bool ContentsList::SortLikeTheOldRows(std::vector<Row>& rows) const {
    std::vector<std::uint32_t> rowOfEntry(rows_.size());
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        if (rows_[r].entry >= rowOfEntry.size()) {
            return false;
        }
        rowOfEntry[rows_[r].entry] = static_cast<std::uint32_t>(r);
    }
    constexpr std::uint32_t kFree = UINT32_MAX;
    std::vector<std::uint32_t> byOldRow(rows_.size(), kFree);
    std::size_t old = 0;
    for (std::size_t i = 0; i < rows.size(); ++i, ++old) {
        while (old < rowOfEntry.size() && rows_[rowOfEntry[old]].caption != rows[i].caption) {
            ++old;
        }
        if (old == rowOfEntry.size()) {
            return false; // an entry the old rows do not have: sorted afresh
        }
        byOldRow[rowOfEntry[old]] = static_cast<std::uint32_t>(i);
    }
    std::vector<std::uint32_t> order;
    order.reserve(rows.size());
    for (const std::uint32_t i : byOldRow) {
        if (i != kFree) {
            order.push_back(i);
        }
    }
    Reorder(rows, order);
    return true;
}

void ContentsList::Reorder(std::vector<Row>& rows, const std::vector<std::uint32_t>& order) {
    std::vector<Row> sorted;
    sorted.reserve(rows.size());
    for (const std::uint32_t i : order) {
        sorted.push_back(std::move(rows[i]));
    }
    rows = std::move(sorted);
}

void ContentsList::Clear() {
    rows_.clear();
    entries_ = nullptr;
    SetCount(0);
}

const ZipDirEntry* ContentsList::Entry(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= rows_.size() || entries_ == nullptr) {
        return nullptr;
    }
    const std::uint32_t index = rows_[static_cast<std::size_t>(row)].entry;
    return index < entries_->size() ? &(*entries_)[index] : nullptr;
}

std::string ContentsList::StoredName(int row) const {
    const ZipDirEntry* entry = Entry(row);
    return entry != nullptr ? entry->FileName : std::string();
}

std::vector<std::string> ContentsList::SelectedStoredNames() const {
    std::vector<std::string> names;
    std::vector<bool> taken(entries_ != nullptr ? entries_->size() : 0, false);
    const auto take = [&](std::uint32_t index) {
        if (!taken[index]) {
            taken[index] = true;
            names.push_back((*entries_)[index].FileName);
        }
    };
    for (const int row : SelectedRows()) {
        const ZipDirEntry* entry = Entry(row);
        if (entry == nullptr) {
            continue;
        }
        take(rows_[static_cast<std::size_t>(row)].entry);
        const std::string& folder = entry->FileName;
        if (folder.empty() || (folder.back() != '/' && folder.back() != '\\')) {
            continue;
        }
        for (std::uint32_t i = 0; i < entries_->size(); ++i) {
            if ((*entries_)[i].FileName.starts_with(folder)) {
                take(i);
            }
        }
    }
    return names;
}

std::wstring ContentsList::Cell(int row, int column) const {
    const ZipDirEntry* entry = Entry(row);
    if (entry == nullptr) {
        return {};
    }
    switch (column) {
    case 0:
        return rows_[static_cast<std::size_t>(row)].caption;
    case 2:
        return Ascii(std::to_string(entry->UncompressedSize64));
    case 4:
        return Ascii(util::RatioText(entry->UncompressedSize64, entry->CompressedSize64));
    default:
        break;
    }
    // A value that names no real moment shows no date or time.
    const util::DosDateTime t = util::DosDateTime::FromPacked(entry->ModDateTime);
    if (!t.IsValid()) {
        return {};
    }
    SYSTEMTIME moment{};
    moment.wYear = static_cast<WORD>(t.year);
    moment.wMonth = static_cast<WORD>(t.month);
    moment.wDay = static_cast<WORD>(t.day);
    moment.wHour = static_cast<WORD>(t.hour);
    moment.wMinute = static_cast<WORD>(t.minute);
    moment.wSecond = static_cast<WORD>(t.second);
    return column == 1 ? DateText(moment) : TimeText(moment);
}

} // namespace controls
