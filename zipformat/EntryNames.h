#pragma once
// Entry names: the Unicode path extra field, reading a name in the encoding it was
// written in, and the names the libraries store.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CodePages.h"
#include "zipformat/CentralDirectory.h"

namespace zipfmt {

// The extra block (id, length, data) carrying utf8 as the Unicode form of rawName.
std::string UnicodePathBlock(std::string_view rawName, std::string_view utf8);

// The Unicode name of an entry when its extra field holds a valid one for rawName.
std::optional<std::string> UnicodePathOf(std::string_view rawName,
                                         std::span<const std::uint8_t> extra);

// The user's choice of code page for the names that need one: automatic, or one of
// util::kNameCodePages.
inline constexpr unsigned kNamesDetected = 0;

// An archive's names as a person reads them. The names that do not describe
// themselves are read in one code page for the whole archive: the user's choice, or
// the one detected from all of them together (UTF-8 when they all are, else the
// detector's guess, else 437).
class ArchiveNames {
public:
    explicit ArchiveNames(unsigned chosen = kNamesDetected) : chosen_(chosen) {}

    // The name when the entry describes it: from a valid Unicode path field, else
    // rawName itself when flagged UTF-8 (and so it is) or plain ASCII. Otherwise
    // nothing, and rawName joins those read in the code page. Valid until the next
    // call, and as long as rawName: most names are their stored bytes, not copied.
    std::optional<std::string_view> Offer(std::uint16_t flags, std::string_view rawName,
                                          std::span<const std::uint8_t> extra);

    // The code page for the names offered so far that need one.
    unsigned CodePage() const;

    // A name offered without a result, read in CodePage(). Settles the code page on
    // the first call: offer every name first.
    std::string Read(std::string_view rawName);

private:
    unsigned chosen_;
    std::string unicode_; // the last name Offer took from a Unicode path field
    std::string sample_;  // the names that need a code page, one a line
    bool allUtf8_ = true;
    unsigned settled_ = 0;
    std::unique_ptr<platform::CodePageReader> reader_;
};

// Every name of a directory read from its central headers, in order.
std::vector<std::string> DirectoryNames(const std::vector<CentralEntry>& entries,
                                        unsigned chosen = kNamesDetected);

// What a stored name is made of: the bytes, the flags they need and the extra block.
struct StoredName {
    std::string bytes;
    bool utf8 = false; // flag bit 11
    std::string extra; // a Unicode path block, or empty
};

// For a name in UTF-8 ("/" between folders): Windows-1252 bytes when the name fits
// that code page (with a Unicode path block when it is not plain ASCII), else the
// UTF-8 bytes flagged as such.
StoredName MakeStoredName(std::string_view utf8);

// A name made 8.3 and upper case, folder by folder.
std::string DosStyleName(std::string_view name);

} // namespace zipfmt
