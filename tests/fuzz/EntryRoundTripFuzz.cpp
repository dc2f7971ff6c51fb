// libFuzzer target: an entry written by the encoder (any level, with or without a
// password) and read back by the entry reader through a buffer of any size must come
// back whole. The input describes the data as runs, so that long runs are cheap.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/MemoryArchive.h"
#include "zipformat/ArchiveWriter.h"
#include "zipformat/CentralDirectory.h"
#include "zipformat/EntryEncoder.h"
#include "zipformat/EntryReader.h"
#include "zipformat/LocalHeader.h"

using testzip::MemoryArchive;
using testzip::StringSource;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* in, std::size_t size) {
    if (size < 4) {
        return 0;
    }
    const int level = in[0] % 10;
    const bool encrypted = (in[0] & 0x80) != 0;
    const std::size_t bufferSize = 1 + (static_cast<std::size_t>(in[1]) << 10 | in[2] << 2);
    std::string data;
    // Runs of (byte, length in 256-byte steps, extra length), up to 4 MiB in all.
    for (std::size_t i = 3; i + 2 < size && data.size() < (4u << 20); i += 3) {
        data.append(static_cast<std::size_t>(in[i + 1]) * 256 + in[i + 2],
                    static_cast<char>(in[i]));
    }
    MemoryArchive archive;
    zipfmt::ArchiveWriter writer(archive);
    zipfmt::EntryEncoder encoder;
    zipfmt::NewEntry entry;
    entry.name = "e";
    entry.dosDateTime = 0x52644A21;
    entry.level = level;
    entry.password = encrypted ? "pw" : "";
    entry.aes = (in[0] & 0x40) != 0;
    entry.expectedSize = data.size();
    StringSource source(data);
    zipfmt::CentralRecord record;
    if (encoder.Write(writer, entry, source, nullptr, record) != zipfmt::EncodeResult::Ok) {
        std::abort();
    }
    writer.AddCentral(record);
    if (writer.Finish("") != zipfmt::ArchiveWriter::FinishResult::Done) {
        std::abort();
    }
    zipfmt::ArchiveDirectory dir;
    zipfmt::LocalHeader local;
    if (zipfmt::ReadArchiveDirectory(archive, dir) != zipfmt::DirectoryError::None ||
        dir.entries.size() != 1 ||
        !zipfmt::ReadLocalHeader(archive,
                                 static_cast<std::int64_t>(dir.entries[0].localHeaderPosition),
                                 dir.centralStart, local)) {
        std::abort();
    }
    zipfmt::EntryReader reader(archive, dir.entries[0], local, dir.centralStart, entry.password);
    std::vector<std::uint8_t> buffer(bufferSize);
    std::string back;
    reader.Stream(buffer, [&](const std::uint8_t* part, std::size_t n) {
        back.append(reinterpret_cast<const char*>(part), n);
        return true;
    });
    if (reader.Status() != zipfmt::EntryStatus::Ok || back != data) {
        std::abort(); // an entry written here does not read back
    }
    return 0;
}
