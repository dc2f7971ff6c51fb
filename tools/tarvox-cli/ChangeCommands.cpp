// add, extract, delete and test: one run of the engine component each (add: one per
// file, as the program adds them, unless --batch).

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "platform/Console.h"
#include "platform/FileHandle.h"
#include "tools/tarvox-cli/Commands.h"
#include "tools/tarvox-cli/Session.h"

namespace {

int Usage(const char* usage) {
    platform::WriteErrorLine(std::string("usage: tarvox-cli ") + usage);
    return kExitUsage;
}

// Splits the arguments into the flags given and the rest, in order; a flag with a
// value takes the next argument.
struct Parsed {
    Arguments rest;
    std::vector<std::string> flags;
    std::optional<std::string> level;
    bool ok = true;

    bool Has(const std::string& flag) const {
        return std::find(flags.begin(), flags.end(), flag) != flags.end();
    }
};

Parsed Parse(const Arguments& args, std::initializer_list<const char*> known, bool takesLevel) {
    Parsed parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (takesLevel && a == "-l") {
            if (i + 1 == args.size()) {
                parsed.ok = false;
                break;
            }
            parsed.level = args[++i];
        } else if (a.size() > 1 && a[0] == '-') {
            const bool isKnown =
                std::any_of(known.begin(), known.end(), [&](const char* k) { return a == k; });
            parsed.ok = parsed.ok && isKnown;
            parsed.flags.push_back(a);
        } else {
            parsed.rest.push_back(a);
        }
    }
    return parsed;
}

// Opens an archive that must exist; an exit code when it cannot be worked on.
std::optional<int> OpenExisting(Session& session, const std::string& archive) {
    if (!platform::FileExists(archive)) {
        platform::WriteErrorLine("tarvox-cli: no such archive: " + archive);
        return kExitUsage;
    }
    if (!session.Open(archive)) {
        return kExitFailed;
    }
    return std::nullopt;
}

} // namespace

int RunAdd(const Arguments& args) {
    static const char kUsage[] = "add ARCHIVE FILE... [-l LEVEL] [--batch]";
    const Parsed p = Parse(args, {"--batch"}, true);
    if (!p.ok || p.rest.size() < 2) {
        return Usage(kUsage);
    }
    Session session;
    if (p.level) {
        char* end = nullptr;
        const long level = std::strtol(p.level->c_str(), &end, 10);
        if (end == p.level->c_str() || *end != '\0' || level < 0 || level > 9) {
            return Usage(kUsage);
        }
        session.zip.AddCompLevel = static_cast<std::int32_t>(level);
    }
    if (!session.Open(p.rest[0])) {
        return kExitFailed;
    }
    const Arguments files(p.rest.begin() + 1, p.rest.end());
    if (p.Has("--batch")) {
        session.zip.FSpecArgs = files;
        return session.Succeeds(&TZipEngine::AddFiles) ? kExitDone : kExitFailed;
    }
    bool all = true;
    for (const std::string& file : files) {
        session.zip.FSpecArgs = {file};
        all = session.Succeeds(&TZipEngine::AddFiles) && all;
    }
    return all ? kExitDone : kExitFailed;
}

int RunExtract(const Arguments& args) {
    static const char kUsage[] = "extract ARCHIVE FOLDER [NAME...] [-o] [-j]";
    const Parsed p = Parse(args, {"-o", "-j"}, false);
    if (!p.ok || p.rest.size() < 2) {
        return Usage(kUsage);
    }
    Session session;
    if (const auto code = OpenExisting(session, p.rest[0])) {
        return *code;
    }
    // The engine extracts where it stands when the folder is missing: make it.
    std::error_code error;
    std::filesystem::create_directories(p.rest[1], error);
    if (!platform::DirectoryExists(p.rest[1])) {
        platform::WriteErrorLine("tarvox-cli: cannot make the folder " + p.rest[1]);
        return kExitFailed;
    }
    session.zip.ExtrBaseDir = p.rest[1];
    if (!p.Has("-j")) {
        session.zip.ExtrOptions.Include(ExtrOptsEnum::ExtrDirNames);
    }
    if (p.Has("-o")) {
        session.zip.ExtrOptions.Include(ExtrOptsEnum::ExtrOverWrite);
    }
    session.zip.FSpecArgs.assign(p.rest.begin() + 2, p.rest.end());
    return session.Succeeds(&TZipEngine::ExtractFiles) ? kExitDone : kExitFailed;
}

int RunDelete(const Arguments& args) {
    const Parsed p = Parse(args, {}, false);
    if (!p.ok || p.rest.size() < 2) {
        return Usage("delete ARCHIVE NAME...");
    }
    Session session;
    if (const auto code = OpenExisting(session, p.rest[0])) {
        return *code;
    }
    session.zip.FSpecArgs.assign(p.rest.begin() + 1, p.rest.end());
    return session.Succeeds(&TZipEngine::DeleteFiles) ? kExitDone : kExitFailed;
}

int RunTest(const Arguments& args) {
    const Parsed p = Parse(args, {}, false);
    if (!p.ok || p.rest.size() != 1) {
        return Usage("test ARCHIVE");
    }
    Session session;
    if (const auto code = OpenExisting(session, p.rest[0])) {
        return *code;
    }
    session.zip.ExtrOptions = {ExtrOptsEnum::ExtrTest};
    return session.Succeeds(&TZipEngine::ExtractFiles) ? kExitDone : kExitFailed;
}
