// The engine component's operations: add, delete and extract through the libraries.

#include <algorithm>
#include <limits>
#include <span>
#include <vector>

#include "engine/CallBlockFill.h"
#include "engine/EngineLibraries.h"
#include "engine/ZipEngine.h"
#include "platform/FileHandle.h"
#include "platform/GuardedCall.h"
#include "platform/Messages.h"
#include "platform/ProgramPaths.h"
#include "util/Errors.h"

void TZipEngine::LoadZipLibrary() {
    LoadEngineLibrary(ZipEngineLibrary(), Trace);
}
void TZipEngine::LoadUnzLibrary() {
    LoadEngineLibrary(UnzEngineLibrary(), Trace);
}
void TZipEngine::UnloadZipLibrary() {
    UnloadEngineLibrary(ZipEngineLibrary());
}
void TZipEngine::UnloadUnzLibrary() {
    UnloadEngineLibrary(UnzEngineLibrary());
}

void TZipEngine::AddFiles() {
    RunOperation(Operation::Add);
}

void TZipEngine::DeleteFiles() {
    RunOperation(Operation::Delete);
}

void TZipEngine::ExtractFiles() {
    RunOperation(Operation::Extract);
}

// The first unmet precondition of an operation, shown; true when all hold.
bool TZipEngine::MayRun(Operation operation, const std::vector<std::string>& specs) const {
    if (operation == Operation::Add && specs.empty()) {
        platform::ShowMessage("Error - no files to zip");
        return false;
    }
    if (operation == Operation::Delete && specs.empty()) {
        platform::ShowMessage("Error - no files selected for deletion");
        return false;
    }
    const bool archiveThere =
        operation == Operation::Add ? !zipFilename_.empty() : platform::FileExists(zipFilename_);
    if (!archiveThere) {
        platform::ShowMessage("Error - no zip file specified");
        return false;
    }
    return true;
}

// A name cut to its buffer would make the library act on another file or entry.
bool TZipEngine::NamesFitTheCallBlock(const std::vector<std::string>& specs) const {
    if (!FitsNameBuffer(zipFilename_)) {
        platform::ShowMessage("Error - zip file name too long: " + zipFilename_);
        return false;
    }
    for (const std::string& spec : specs) {
        if (!FitsNameBuffer(spec)) {
            platform::ShowMessage("Error - file name too long: " + spec);
            return false;
        }
    }
    return true;
}

namespace {

// Holds an operation's busy mark and the library it loaded until it ends, however.
class OperationScope {
public:
    OperationScope(bool& busy, bool& cancel, EngineLibrary& library)
        : busy_(busy), cancel_(cancel), library_(library), loadedHere_(library.handle == 0) {
        busy_ = true;
        cancel_ = false;
    }
    ~OperationScope() {
        if (loadedHere_) {
            UnloadEngineLibrary(library_);
        }
        cancel_ = false;
        busy_ = false;
    }
    OperationScope(const OperationScope&) = delete;
    OperationScope& operator=(const OperationScope&) = delete;

    bool LoadedHere() const { return loadedHere_; }

private:
    bool& busy_;
    bool& cancel_;
    EngineLibrary& library_;
    bool loadedHere_;
};

} // namespace

void TZipEngine::RunOperation(Operation operation) {
    // Whatever happens next, nothing of this request is left for the next one, and no
    // count of an earlier operation can be taken for this one's.
    const std::vector<std::string> specs = std::move(FSpecArgs);
    FSpecArgs.clear();
    resultCount_ = 0;
    const bool extract = operation == Operation::Extract;
    bool& busy = extract ? unzBusy_ : zipBusy_;
    if (!MayRun(operation, specs) || busy || !NamesFitTheCallBlock(specs)) {
        return;
    }
    bool cancelled = false;
    {
        EngineLibrary& library = extract ? UnzEngineLibrary() : ZipEngineLibrary();
        const OperationScope scope(busy, CancelRequested, library);
        filePercent_ = 0;
        if (scope.LoadedHere()) {
            LoadEngineLibrary(library, Trace);
            if (library.handle == 0) {
                return;
            }
        }
        if (extract && platform::DirectoryExists(ExtrBaseDir)) {
            // The library writes relative to the current directory; it is not restored.
            platform::ChangeCurrentDirectory(ExtrBaseDir);
        }
        if (!CallLibrary(operation, library.exec, specs)) {
            platform::ShowMessage("Fatal DLL Error: abort exception");
        }
        cancelled = CancelRequested;
    }
    if (!extract && resultCount_ > 0) {
        try {
            ReadDirectory();
        } catch (const util::FileOpenError&) {
            // The rows of the old list would point at entries that are gone.
            FireDirUpdate();
            throw;
        }
    }
    if (OnOperationEnd) {
        OnOperationEnd(*this, operation, resultCount_, cancelled);
    }
}

bool TZipEngine::CallLibrary(Operation operation, void* entryPoint,
                             const std::vector<std::string>& specList) {
    if (entryPoint == nullptr) {
        return false;
    }
    // More specifications than a block holds go in several calls, so that "delete all"
    // works on any archive; an extraction of every entry is one call with none.
    const std::span<const std::string> all(specList);
    // A delete of more names than a block holds goes in one call, packed: the library
    // rewrites the archive once, not once a block.
    std::size_t packedSize = 0;
    for (const std::string& spec : all) {
        packedSize += spec.size() + 1;
    }
    const bool packed = operation == Operation::Delete && all.size() > kMaxFileSpecs &&
                        packedSize <= static_cast<std::size_t>(kMaxPackedSize);
    std::string packedNames;
    std::size_t done = 0;
    std::int64_t total = 0;
    do {
        const std::size_t count = packed ? all.size() : std::min(all.size() - done, kMaxFileSpecs);
        std::span<const std::string> specs = all.subspan(done, count);
        // Files to add are paths; names to extract or delete are stored bytes as they are.
        std::vector<std::string> paths;
        if (operation == Operation::Add) {
            for (const std::string& spec : specs) {
                paths.push_back(platform::CallBlockPath(spec));
            }
            specs = paths;
        }
        CallTexts texts(platform::CallBlockPath(zipFilename_), password_,
                        packed ? std::span<const std::string>() : specs);
        std::exception_ptr handlerError;
        handlerErrors_.push_back(&handlerError);
        // Never left pointing at this call's error once the call is over.
        const struct Pop {
            std::vector<std::exception_ptr*>& errors;
            ~Pop() { errors.pop_back(); }
        } pop{handlerErrors_};
        std::int32_t result = 0;
        bool returned = false;
        if (operation == Operation::Extract) {
            FillUnzCallBlock(unzBlock_, *this, texts);
            const auto exec = reinterpret_cast<UnzDllExecFunction>(entryPoint);
            returned = platform::CallGuarded([&] { result = exec(&unzBlock_); });
            ClearTextAddresses(unzBlock_);
        } else {
            if (operation == Operation::Add) {
                FillZipCallBlockForAdd(zipBlock_, *this, texts);
            } else {
                FillZipCallBlockForDelete(zipBlock_, *this, texts);
                if (packed) {
                    UsePackedSpecs(zipBlock_, specs, packedNames);
                }
            }
            const auto exec = reinterpret_cast<ZipDllExecFunction>(entryPoint);
            returned = platform::CallGuarded([&] { result = exec(&zipBlock_); });
            ClearTextAddresses(zipBlock_);
        }
        if (!returned || handlerError) {
            return false;
        }
        total += result;
        resultCount_ = static_cast<std::int32_t>(
            std::clamp<std::int64_t>(total, std::numeric_limits<std::int32_t>::min(),
                                     std::numeric_limits<std::int32_t>::max()));
        done += count;
    } while (done < all.size());
    return true;
}
