#pragma once
// Entry names: the Unicode path extra field, reading a name in the encoding it was
// written in, and the names the libraries store.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zipfmt {

// The extra block (id, length, data) carrying utf8 as the Unicode form of rawName.
std::string UnicodePathBlock(std::string_view rawName, std::string_view utf8);

// The Unicode name of an entry when its extra field holds a valid one for rawName.
std::optional<std::string> UnicodePathOf(std::string_view rawName,
                                         std::span<const std::uint8_t> extra);

// The entry's name in UTF-8: from a valid Unicode path field, else as stored when
// flagged UTF-8, else, from a system whose names are bytes (Unix) and that are
// valid UTF-8, as stored, else read in code page 437.
std::string EntryNameUtf8(std::uint16_t versionMadeBy, std::uint16_t flags,
                          std::string_view rawName, std::span<const std::uint8_t> extra);

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
