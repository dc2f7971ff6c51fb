#include "tests/support/ZipBytes.h"

#include <zlib.h>

namespace testzip {

std::string Le16(std::uint16_t value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

std::string Le32(std::uint32_t value) {
    return Le16(static_cast<std::uint16_t>(value & 0xFFFF)) +
           Le16(static_cast<std::uint16_t>(value >> 16));
}

std::string Le64(std::uint64_t value) {
    return Le32(static_cast<std::uint32_t>(value)) + Le32(static_cast<std::uint32_t>(value >> 32));
}

std::uint32_t Crc32(const std::string& data) {
    return static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

namespace {

std::uint32_t Size(const Entry& e) {
    return e.uncompressedSize != 0 ? e.uncompressedSize : static_cast<std::uint32_t>(e.data.size());
}

std::uint16_t Flags(const Entry& e) {
    return static_cast<std::uint16_t>(e.flags | (e.descriptor ? 0x0008 : 0));
}

} // namespace

Entry Stored(std::string name, std::string data) {
    Entry e;
    e.name = std::move(name);
    e.data = std::move(data);
    return e;
}

Entry Overrunning(std::string name) {
    Entry e = Stored(std::move(name), "xyz");
    e.localCompressedSize = 1000000;
    return e;
}

std::string LocalHeader(const Entry& e) {
    const std::uint32_t crc = e.descriptor ? 0 : Crc32(e.data);
    const std::uint32_t compressed = e.localCompressedSize.value_or(
        e.descriptor ? 0 : static_cast<std::uint32_t>(e.data.size()));
    const std::uint32_t uncompressed = e.localUncompressedSize.value_or(e.descriptor ? 0 : Size(e));
    return Le32(0x04034B50) + Le16(20) + Le16(Flags(e)) + Le16(e.method) + Le32(e.dosDateTime) +
           Le32(crc) + Le32(compressed) + Le32(uncompressed) +
           Le16(e.localNameLength.value_or(static_cast<std::uint16_t>(e.name.size()))) +
           Le16(static_cast<std::uint16_t>(e.extra.size())) + e.name + e.extra;
}

Layout Build(const std::vector<Entry>& entries, const std::string& prefix) {
    Layout layout;
    layout.bytes = prefix;
    for (const Entry& e : entries) {
        layout.localOffsets.push_back(static_cast<std::uint32_t>(layout.bytes.size()));
        layout.bytes += LocalHeader(e) + e.data;
        if (e.descriptor) {
            if (e.descriptorSignature) {
                layout.bytes += Le32(0x08074B50);
            }
            layout.bytes += Le32(Crc32(e.data));
            if (e.zip64Descriptor) {
                layout.bytes += Le64(e.data.size()) + Le64(Size(e));
            } else {
                layout.bytes += Le32(static_cast<std::uint32_t>(e.data.size())) + Le32(Size(e));
            }
        }
    }
    layout.centralOffset = static_cast<std::uint32_t>(layout.bytes.size());
    std::string central;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Entry& e = entries[i];
        central += Le32(0x02014B50) + Le16(20) + Le16(20) + Le16(Flags(e)) + Le16(e.method) +
                   Le32(e.dosDateTime) + Le32(Crc32(e.data)) +
                   Le32(static_cast<std::uint32_t>(e.data.size())) + Le32(Size(e)) +
                   Le16(static_cast<std::uint16_t>(e.name.size())) + Le16(0) + Le16(0) + Le16(0) +
                   Le16(0) + Le32(0) + Le32(layout.localOffsets[i]) + e.name;
    }
    layout.bytes += central;
    layout.bytes += EndRecord(static_cast<std::uint16_t>(entries.size()),
                              static_cast<std::uint32_t>(central.size()), layout.centralOffset);
    return layout;
}

std::string Archive(const std::vector<Entry>& entries, const std::string& prefix) {
    return Build(entries, prefix).bytes;
}

std::string Incompressible(std::size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    for (char& b : bytes) {
        seed = seed * 1664525u + 1013904223u;
        b = static_cast<char>(seed >> 24);
    }
    return bytes;
}

std::string EndRecord(std::uint16_t count, std::uint32_t centralSize, std::uint32_t centralOffset) {
    return Le32(0x06054B50) + Le16(0) + Le16(0) + Le16(count) + Le16(count) + Le32(centralSize) +
           Le32(centralOffset) + Le16(0);
}

} // namespace testzip
