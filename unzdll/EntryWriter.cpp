#include "unzdll/EntryWriter.h"

#include <span>

#include "platform/FileSystem.h"
#include "platform/NewFile.h"
#include "platform/TempFile.h"
#include "zipformat/AesCipher.h"
#include "zipformat/EntryReader.h"
#include "zipformat/EntryTimes.h"
#include "zipformat/LocalHeader.h"
#include "zipformat/Records.h"

namespace unzdll {

namespace {

constexpr std::uint64_t kProgressEvery = 1 << 20;

std::int32_t CodeFor(zipfmt::EntryStatus status) {
    switch (status) {
    case zipfmt::EntryStatus::Unsupported:
        return kErrUnsupported;
    case zipfmt::EntryStatus::NeedsPassword:
    case zipfmt::EntryStatus::BadPassword:
        return kErrPassword;
    case zipfmt::EntryStatus::ReadError:
        return kErrArchiveOpen;
    default:
        return kErrBadData;
    }
}

std::string Describe(zipfmt::EntryStatus status, const zipfmt::CentralEntry& entry) {
    constexpr std::uint16_t kStrongEncryption =
        zipfmt::kFlagEncrypted | zipfmt::kFlagStrongEncryption;
    switch (status) {
    case zipfmt::EntryStatus::Unsupported:
        return "unsupported compression method " + std::to_string(entry.method) +
               ((entry.flags & kStrongEncryption) == kStrongEncryption ? " or encryption" : "");
    case zipfmt::EntryStatus::NeedsPassword:
        return "encrypted, and no password was given";
    case zipfmt::EntryStatus::BadPassword:
        return "wrong password (or damaged data)";
    case zipfmt::EntryStatus::Damaged:
        return "damaged data";
    case zipfmt::EntryStatus::BadCrc:
        return "bad CRC-32 or size";
    case zipfmt::EntryStatus::ReadError:
        return "the archive could not be read";
    default:
        return "";
    }
}

std::string DoneText(const zipfmt::CentralEntry& entry, const std::string& target,
                     const EntryReport& report) {
    if (!report.Verbose()) {
        return {};
    }
    const auto aes = zipfmt::FindAesInfo(entry.extra);
    const std::uint16_t method = aes ? aes->method : entry.method;
    return (method == zipfmt::kMethodDeflated ? "inflated: " : "extracted: ") + target;
}

platform::ModifiedTime ModifiedTimeOf(const zipfmt::CentralEntry& entry) {
    return {entry.dosDateTime, zipfmt::ExactModifiedTime(entry.extra)};
}

// Streams into write; a refused write is reported as such.
template <typename Write>
bool StreamInto(const EntrySource& source, const zipfmt::CentralEntry& entry,
                const std::string& name, const std::string& target, zipfmt::Buffer& buffer,
                EntryReport& report, Write&& write) {
    bool writeFailed = false;
    const bool streamed = StreamEntry(source, entry, name, buffer, report,
                                      [&](const std::uint8_t* data, std::size_t n) {
                                          writeFailed = !write(data, n);
                                          return !writeFailed;
                                      });
    if (writeFailed) {
        report.Error(kErrFileWrite, "Cannot write " + target + " (disk full or no access)");
    }
    return streamed;
}

bool WriteNew(std::unique_ptr<platform::NewFile> file, const EntrySource& source,
              const zipfmt::CentralEntry& entry, const std::string& name, const std::string& target,
              zipfmt::Buffer& buffer, EntryReport& report) {
    // Dropping file removes what was written of it.
    if (!StreamInto(
            source, entry, name, target, buffer, report,
            [&](const std::uint8_t* data, std::size_t n) { return file->Write(data, n); })) {
        return false;
    }
    file->SetModifiedTime(ModifiedTimeOf(entry));
    if (!file->Keep()) {
        report.Error(kErrFileWrite, "Cannot write " + target + " (in use or read-only)");
        return false;
    }
    report.Created(target);
    report.Info(DoneText(entry, target, report));
    return true;
}

bool WriteReplacement(const EntrySource& source, const zipfmt::CentralEntry& entry,
                      const std::string& name, const std::string& target, zipfmt::Buffer& buffer,
                      EntryReport& report) {
    auto temp = platform::TempFile::CreateBeside(target);
    if (!temp) {
        report.Error(kErrFileWrite, "Cannot create " + target + " (no access or disk full)");
        return false;
    }
    std::int64_t at = 0;
    // Dropping temp removes the partial file; an existing file stays as it was.
    if (!StreamInto(source, entry, name, target, buffer, report,
                    [&](const std::uint8_t* data, std::size_t n) {
                        if (!temp->WriteAt(at, data, n)) {
                            return false;
                        }
                        at += static_cast<std::int64_t>(n);
                        return true;
                    })) {
        return false;
    }
    temp->SetModifiedTime(ModifiedTimeOf(entry));
    return report.Replace(std::move(temp), target, DoneText(entry, target, report));
}

} // namespace

bool StreamEntry(const EntrySource& source, const zipfmt::CentralEntry& entry,
                 const std::string& name, zipfmt::Buffer& buffer, EntryReport& report,
                 const DataSink& sink) {
    zipfmt::LocalHeader local;
    if (!zipfmt::ReadLocalHeader(source.archive,
                                 static_cast<std::int64_t>(entry.localHeaderPosition),
                                 source.centralStart, local)) {
        report.Error(kErrArchiveDamaged, name + ": no local header where the directory says");
        return false;
    }
    zipfmt::EntryReader reader(source.archive, entry, local, source.centralStart,
                               source.request.password);
    std::uint64_t done = 0, sinceProgress = 0;
    const bool whole = reader.Stream(
        std::span(buffer.data(), buffer.size()), [&](const std::uint8_t* data, std::size_t n) {
            if (!sink(data, n)) {
                return false;
            }
            done += n;
            sinceProgress += n;
            if (sinceProgress >= kProgressEvery) {
                sinceProgress = 0;
                report.Progress(engineapi::PercentOf(done, entry.uncompressedSize));
                return !report.Stopped();
            }
            return true;
        });
    if (reader.Status() != zipfmt::EntryStatus::Ok) {
        report.Error(CodeFor(reader.Status()), name + ": " + Describe(reader.Status(), entry));
        return false;
    }
    if (!whole) {
        return false; // the sink refused, or a stop
    }
    report.Progress(100);
    return !report.Stopped();
}

bool WriteEntryFile(const EntrySource& source, const zipfmt::CentralEntry& entry,
                    const std::string& name, const std::string& target, zipfmt::Buffer& buffer,
                    EntryReport& report) {
    const ExtractRequest& request = source.request;
    // Most files are new: made at once under their own name, which fails when
    // anything stands there, and the rules below decide.
    if (!request.freshen) {
        if (auto file = platform::NewFile::Create(target)) {
            return WriteNew(std::move(file), source, entry, name, target, buffer, report);
        }
    }
    if (const auto existing = platform::QueryPath(target)) {
        if (existing->isDirectory) {
            report.Error(kErrFileWrite, "A folder stands where " + target + " would go");
            return false;
        }
        const bool older = existing->dosTime < entry.dosDateTime;
        if (request.update || request.freshen ? !older : !request.overwrite) {
            // Kept by the rule asked for; kept for want of overwrite, the caller hears.
            if (request.update || request.freshen) {
                report.Info("Left alone: " + target);
            } else {
                report.Error(kErrFileExists, target + " is there already; not replaced");
            }
            return false;
        }
        // Windows will not replace a read-only file; nor do we elsewhere.
        if (existing->readOnly) {
            report.Error(kErrFileWrite, "Cannot replace " + target + ": it is read-only");
            return false;
        }
    } else if (request.freshen) {
        return false; // freshen only replaces what is there
    }
    return WriteReplacement(source, entry, name, target, buffer, report);
}

} // namespace unzdll
