#include "zipformat/EntrySelector.h"

#include <cstdint>

#include "zipformat/EntryPaths.h"
#include "zipformat/Wildcard.h"

namespace zipfmt {

namespace {

constexpr std::size_t kNone = SIZE_MAX;

// The part after the last "\" or ":", or nothing when there is no such part.
std::string_view CutName(std::string_view name) {
    const auto cut = name.find_last_of("\\:");
    return cut == std::string_view::npos ? std::string_view() : name.substr(cut + 1);
}

} // namespace

EntrySelector::EntrySelector(const std::vector<CentralEntry>& entries) {
    names_.reserve(entries.size());
    for (const CentralEntry& entry : entries) {
        names_.emplace_back(entry.name);
    }
}

void EntrySelector::Build(Index& index, bool cut) {
    index.built = true;
    index.first.reserve(names_.size());
    index.next.assign(names_.size(), kNone);
    // Backwards, so that each key's chain runs in archive order.
    for (std::size_t i = names_.size(); i-- > 0;) {
        const std::string_view key = cut ? CutName(names_[i]) : names_[i];
        if (key.empty()) {
            continue;
        }
        const auto [it, added] = index.first.try_emplace(key, i);
        if (!added) {
            index.next[i] = it->second;
            it->second = i;
        }
    }
}

bool EntrySelector::Mark(const Index& index, std::string_view key, std::vector<bool>& selected) {
    const auto it = index.first.find(key);
    if (it == index.first.end()) {
        return false;
    }
    for (std::size_t i = it->second; i != kNone; i = index.next[i]) {
        selected[i] = true;
    }
    return true;
}

bool EntrySelector::Select(std::string_view spec, std::vector<bool>& selected) {
    if (spec.empty()) {
        return false;
    }
    if (!whole_.built) {
        Build(whole_, false);
    }
    if (Mark(whole_, spec, selected)) {
        return true;
    }
    if (!HasWildcards(spec)) {
        if (!cut_.built) {
            Build(cut_, true);
        }
        return Mark(cut_, spec, selected);
    }
    bool matched = false;
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (SpecMatchesEntry(spec, names_[i])) {
            selected[i] = matched = true;
        }
    }
    return matched;
}

} // namespace zipfmt
