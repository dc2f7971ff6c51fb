#pragma once
// One entry's data and file: streamed out of the archive with its CRC-32 and size
// checked, written where no file stands under its own name, and in place of an
// existing file (as overwrite, update and freshen allow; never a read-only one)
// through a temporary file that takes the name only once complete. Entries may be
// written on several threads at once, each with its own report and buffer.

#include <cstdint>
#include <functional>
#include <string>

#include "unzdll/EntryReport.h"
#include "unzdll/ExtractRequest.h"
#include "zipformat/Buffer.h"
#include "zipformat/ByteSource.h"
#include "zipformat/CentralDirectory.h"

namespace unzdll {

// What every entry of one call is read through.
struct EntrySource {
    const zipfmt::ByteSource& archive;
    std::int64_t centralStart;
    const ExtractRequest& request;
};

using DataSink = std::function<bool(const std::uint8_t* data, std::size_t count)>;

// Hands the entry's data to sink; false (reported, unless sink refused) on a failure
// or a stop.
bool StreamEntry(const EntrySource& source, const zipfmt::CentralEntry& entry,
                 const std::string& name, zipfmt::Buffer& buffer, EntryReport& report,
                 const DataSink& sink);

// Writes the entry's file at target; true when it counts.
bool WriteEntryFile(const EntrySource& source, const zipfmt::CentralEntry& entry,
                    const std::string& name, const std::string& target, zipfmt::Buffer& buffer,
                    EntryReport& report);

} // namespace unzdll
