// add, extract, delete and test: one run of the engine component each (add: one per
// file, as the program adds them, unless --batch).

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "platform/Console.h"
#include "platform/FileHandle.h"
#include "platform/ProgramPaths.h"
#include "tools/tarvox-cli/CommandLine.h"
#include "tools/tarvox-cli/FileSelection.h"
#include "tools/tarvox-cli/Session.h"
#include "tools/tarvox-cli/StoredNames.h"

namespace {

constexpr std::uint16_t kEncryptedFlag = 0x0001;

// Opens an archive that must exist, its names read as --names says; an exit code when
// it cannot be worked on.
std::optional<int> OpenExisting(Session& session, const CommandLine& line,
                                Session::Damaged damaged = Session::Damaged::Refused) {
    const std::string& archive = line.operands[0];
    const auto codePage = NamesCodePage(line);
    if (!codePage) {
        return Usage(*line.command);
    }
    session.zip.NamesCodePage = *codePage;
    if (!platform::FileExists(platform::ProgramPath(archive))) {
        platform::WriteErrorLine("tarvox-cli: no such archive: " + archive);
        return kExitUsage;
    }
    if (!session.Open(archive, damaged)) {
        return kExitFailed;
    }
    return std::nullopt;
}

std::optional<std::int32_t> Level(const std::string& text) {
    char* end = nullptr;
    const long level = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || *end != '\0' || level < 0 || level > 9) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(level);
}

// The password of -p; else, when an entry to read is encrypted and someone is at the
// terminal, one asked for. Without either the library reports error 10.
void SetReadPassword(Session& session, const CommandLine& line) {
    if (const auto password = line.Last("-p")) {
        session.zip.SetPassword(platform::ProgramText(*password));
        return;
    }
    const auto& entries = session.zip.Entries();
    const bool encrypted = std::any_of(entries.begin(), entries.end(), [](const ZipDirEntry& e) {
        return (e.GeneralFlags & kEncryptedFlag) != 0;
    });
    if (encrypted && platform::StandardInputIsTerminal()) {
        if (const auto typed = platform::ReadHiddenLine("Password: ")) {
            session.zip.SetPassword(*typed);
        }
    }
}

std::vector<std::string> ProgramPaths(const std::vector<std::string>& paths) {
    std::vector<std::string> out;
    for (const std::string& path : paths) {
        out.push_back(platform::ProgramPath(path));
    }
    return out;
}

} // namespace

int RunAdd(const CommandLine& line) {
    Session session;
    if (const auto level = line.Last("-l")) {
        const auto value = Level(*level);
        if (!value) {
            return Usage(*line.command);
        }
        session.zip.AddCompLevel = *value;
    }
    if (line.Has("-r")) {
        session.zip.AddOptions.Include(AddOptsEnum::AddDirNames);
    }
    const auto method = line.Last("-e");
    if (method && *method != "aes" && *method != "zipcrypto") {
        return Usage(*line.command);
    }
    if (const auto password = line.Last("-p")) {
        if (password->empty()) {
            return Usage(*line.command);
        }
        session.zip.SetPassword(platform::ProgramText(*password));
        session.zip.AddOptions.Include(AddOptsEnum::AddEncrypt);
        session.zip.AddEncryption = method == "zipcrypto" ? TZipEngine::Encryption::Traditional
                                                          : TZipEngine::Encryption::Aes256;
    } else if (method) {
        platform::WriteErrorLine("tarvox-cli: -e needs a password (-p)");
        return kExitUsage;
    }
    if (!session.Open(line.operands[0])) {
        return kExitFailed;
    }
    const std::vector<std::string> excluded = line.All("-x");
    // One specification list per library call.
    std::vector<std::vector<std::string>> calls;
    const Arguments files(line.operands.begin() + 1, line.operands.end());
    if (line.Has("--batch")) {
        calls.push_back(files);
    } else {
        for (const std::string& file : files) {
            calls.push_back({file});
        }
    }
    bool all = true;
    for (std::vector<std::string>& call : calls) {
        if (!excluded.empty()) {
            call = SelectFiles(call, excluded);
            if (call.empty()) {
                continue; // all of it left out, as asked
            }
        }
        session.zip.FSpecArgs = ProgramPaths(call);
        all = session.Succeeds(&TZipEngine::AddFiles) && all;
    }
    return all ? kExitDone : kExitFailed;
}

int RunExtract(const CommandLine& line) {
    Session session;
    if (const auto code = OpenExisting(session, line, Session::Damaged::Read)) {
        return *code;
    }
    // The engine extracts where it stands when the folder is missing: make it.
    const std::string& folder = line.operands[1];
    std::error_code error;
    std::filesystem::create_directories(std::u8string(folder.begin(), folder.end()), error);
    if (!platform::DirectoryExists(platform::ProgramPath(folder))) {
        platform::WriteErrorLine("tarvox-cli: cannot make the folder " + folder);
        return kExitFailed;
    }
    session.zip.ExtrBaseDir = platform::ProgramPath(folder);
    if (!line.Has("-j")) {
        session.zip.ExtrOptions.Include(ExtrOptsEnum::ExtrDirNames);
    }
    if (line.Has("-o")) {
        session.zip.ExtrOptions.Include(ExtrOptsEnum::ExtrOverWrite);
    }
    SetReadPassword(session, line);
    session.zip.FSpecArgs =
        StoredNameSpecs(session.zip, Arguments(line.operands.begin() + 2, line.operands.end()));
    return session.Succeeds(&TZipEngine::ExtractFiles) ? kExitDone : kExitFailed;
}

int RunDelete(const CommandLine& line) {
    Session session;
    if (const auto code = OpenExisting(session, line)) {
        return *code;
    }
    session.zip.FSpecArgs =
        StoredNameSpecs(session.zip, Arguments(line.operands.begin() + 1, line.operands.end()));
    return session.Succeeds(&TZipEngine::DeleteFiles) ? kExitDone : kExitFailed;
}

int RunTest(const CommandLine& line) {
    Session session;
    if (const auto code = OpenExisting(session, line, Session::Damaged::Read)) {
        return *code;
    }
    session.zip.ExtrOptions = {ExtrOptsEnum::ExtrTest};
    SetReadPassword(session, line);
    return session.Succeeds(&TZipEngine::ExtractFiles) ? kExitDone : kExitFailed;
}
