#include "zipformat/EntryNames.h"

#include <algorithm>
#include <cstring>

#include "util/Codepage.h"
#include "util/NameCodePages.h"
#include "zipformat/Crc32.h"
#include "zipformat/Records.h"

namespace zipfmt {

namespace {

std::string Le16Bytes(std::size_t v) {
    return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
}

std::uint32_t NameCrc(std::string_view name) {
    return UpdateCrc32(0, name.data(), name.size());
}

} // namespace

std::string UnicodePathBlock(std::string_view rawName, std::string_view utf8) {
    const std::uint32_t crc = NameCrc(rawName);
    std::string block = Le16Bytes(kExtraUnicodePath) + Le16Bytes(5 + utf8.size());
    block += '\x01'; // version
    for (int shift = 0; shift < 32; shift += 8) {
        block += static_cast<char>((crc >> shift) & 0xFF);
    }
    block += utf8;
    return block;
}

std::optional<std::string> UnicodePathOf(std::string_view rawName,
                                         std::span<const std::uint8_t> extra) {
    const auto block = FindExtraBlock(extra, kExtraUnicodePath);
    // A field written for another name (renamed by a tool that did not know it) is stale.
    if (block.size() < 5 || block[0] != 1 || Le32(block.data() + 1) != NameCrc(rawName)) {
        return std::nullopt;
    }
    std::string utf8(reinterpret_cast<const char*>(block.data() + 5), block.size() - 5);
    if (utf8.empty() || !util::IsValidUtf8(utf8)) {
        return std::nullopt;
    }
    return utf8;
}

std::optional<std::string_view> ArchiveNames::Offer(std::uint16_t flags, std::string_view rawName,
                                                    std::span<const std::uint8_t> extra) {
    if (auto unicode = UnicodePathOf(rawName, extra)) {
        unicode_ = std::move(*unicode);
        return unicode_;
    }
    const bool ascii = std::all_of(rawName.begin(), rawName.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii || ((flags & kFlagUtf8) && util::IsValidUtf8(rawName))) {
        return rawName;
    }
    if (!reader_) {
        allUtf8_ = allUtf8_ && util::IsValidUtf8(rawName);
        sample_.append(rawName);
        sample_ += '\n';
    }
    return std::nullopt;
}

unsigned ArchiveNames::CodePage() const {
    if (reader_) {
        return settled_;
    }
    if (chosen_ != kNamesDetected) {
        return chosen_;
    }
    if (sample_.empty()) {
        return util::kCodePageOemUs;
    }
    if (allUtf8_) {
        return util::kCodePageUtf8;
    }
    const unsigned guess = util::GuessNameCodePage(sample_);
    return guess != 0 ? guess : util::kCodePageOemUs;
}

std::string ArchiveNames::Read(std::string_view rawName) {
    if (!reader_) {
        settled_ = CodePage();
        reader_ = std::make_unique<platform::CodePageReader>(settled_);
        sample_.clear();
        sample_.shrink_to_fit();
    }
    return reader_->ToUtf8(rawName);
}

std::vector<std::string> DirectoryNames(const std::vector<CentralEntry>& entries, unsigned chosen) {
    ArchiveNames names(chosen);
    std::vector<std::string> out;
    std::vector<bool> waiting;
    out.reserve(entries.size());
    waiting.reserve(entries.size());
    for (const CentralEntry& entry : entries) {
        const auto name = names.Offer(entry.flags, entry.name, entry.extra);
        waiting.push_back(!name);
        out.emplace_back(name.value_or(std::string_view()));
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (waiting[i]) {
            out[i] = names.Read(entries[i].name);
        }
    }
    return out;
}

StoredName MakeStoredName(std::string_view utf8) {
    StoredName stored;
    const bool ascii = std::all_of(utf8.begin(), utf8.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) {
        stored.bytes = std::string(utf8);
    } else if (auto cp1252 = util::Utf8ToCp1252(utf8)) {
        stored.bytes = std::move(*cp1252);
        stored.extra = UnicodePathBlock(stored.bytes, utf8);
    } else {
        stored.bytes = std::string(utf8);
        stored.utf8 = true;
    }
    return stored;
}

std::string DosStyleName(std::string_view name) {
    std::string out;
    std::size_t start = 0;
    while (start <= name.size()) {
        const std::size_t slash = std::min(name.find('/', start), name.size());
        std::string_view part = name.substr(start, slash - start);
        // Upper-case ASCII; anything else, and what DOS forbids, becomes "_".
        std::string clean;
        for (std::size_t i = 0; i < part.size(); ++i) {
            const auto c = static_cast<unsigned char>(part[i]);
            if ((c & 0xC0) == 0x80) {
                continue; // the rest of a multi-byte character
            }
            if (c >= 0x80 || c < 0x20 || std::strchr(" \"*+,/:;<=>?[\\]|", c)) {
                clean += c == ' ' ? "" : "_";
            } else {
                clean += static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
            }
        }
        const bool lastPart = slash == name.size();
        if (!part.empty() || !lastPart) {
            const auto dot = clean.find_last_of('.');
            std::string base = clean.substr(0, dot);
            std::string ext = dot == std::string::npos ? "" : clean.substr(dot + 1);
            std::erase(base, '.');
            base = base.substr(0, 8);
            ext = ext.substr(0, 3);
            out += base.empty() ? "_" : base;
            if (!ext.empty()) {
                out += "." + ext;
            }
        }
        if (lastPart) {
            break;
        }
        out += '/';
        start = slash + 1;
    }
    return out;
}

} // namespace zipfmt
