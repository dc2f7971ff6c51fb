#pragma once
// Which entries the specifications of a delete or an extraction name.

#include <cstddef>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "zipformat/CentralDirectory.h"

namespace zipfmt {

// A specification equal to some entry's stored name names exactly the entries of
// that name, so that an entry called "*" is never a wildcard for all the others;
// any other specification names what SpecMatchesEntry matches. Exact names and the
// parts after a "\" or ":" are found by hash; only wildcards compare every entry.
class EntrySelector {
public:
    // The entries must outlive the selector.
    explicit EntrySelector(const std::vector<CentralEntry>& entries);

    // Sets the flags (one per entry) of the entries spec names; false when it names none.
    bool Select(std::string_view spec, std::vector<bool>& selected);

private:
    // Entries of one key: the first, then each one's successor in next.
    struct Index {
        std::unordered_map<std::string_view, std::size_t> first;
        std::vector<std::size_t> next;
        bool built = false;
    };
    void Build(Index& index, bool cut);
    static bool Mark(const Index& index, std::string_view key, std::vector<bool>& selected);

    std::vector<std::string_view> names_;
    Index whole_;
    Index cut_;
};

} // namespace zipfmt
