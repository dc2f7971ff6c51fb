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
    if (FSpecArgs.empty()) {
        platform::ShowMessage("Error - no files to zip");
        return;
    }
    if (zipFilename_.empty()) {
        platform::ShowMessage("Error - no zip file specified");
        return;
    }
    RunOperation(Operation::Add);
}

void TZipEngine::DeleteFiles() {
    if (FSpecArgs.empty()) {
        platform::ShowMessage("Error - no files selected for deletion");
        return;
    }
    if (!platform::FileExists(zipFilename_)) {
        platform::ShowMessage("Error - no zip file specified");
        return;
    }
    RunOperation(Operation::Delete);
}

void TZipEngine::ExtractFiles() {
    if (!platform::FileExists(zipFilename_)) {
        platform::ShowMessage("Error - no zip file specified");
        return;
    }
    RunOperation(Operation::Extract);
}

// A name cut to its buffer would make the library act on another file or entry.
bool TZipEngine::NamesFitTheCallBlock() const {
    if (!FitsNameBuffer(zipFilename_)) {
        platform::ShowMessage("Error - zip file name too long: " + zipFilename_);
        return false;
    }
    for (const std::string& spec : FSpecArgs) {
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
    const bool extract = operation == Operation::Extract;
    bool& busy = extract ? unzBusy_ : zipBusy_;
    if (busy || !NamesFitTheCallBlock()) {
        return;
    }
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
        if (!CallLibrary(operation, library.exec)) {
            platform::ShowMessage("Fatal DLL Error: abort exception");
        }
        FSpecArgs.clear();
    }
    if (!extract && resultCount_ > 0) {
        ReadDirectory();
    }
}

bool TZipEngine::CallLibrary(Operation operation, void* entryPoint) {
    if (entryPoint == nullptr) {
        return false;
    }
    // More specifications than a block holds go in several calls, so that "delete all"
    // works on any archive; an extraction of every entry is one call with none.
    const std::span<const std::string> all(FSpecArgs);
    std::size_t done = 0;
    std::int64_t total = 0;
    do {
        const std::size_t count = std::min(all.size() - done, kMaxFileSpecs);
        std::span<const std::string> specs = all.subspan(done, count);
        // Files to add are paths; names to extract or delete are stored bytes as they are.
        std::vector<std::string> paths;
        if (operation == Operation::Add) {
            for (const std::string& spec : specs) {
                paths.push_back(platform::CallBlockPath(spec));
            }
            specs = paths;
        }
        CallTexts texts(platform::CallBlockPath(zipFilename_), password_, specs);
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
