#pragma once
// The engine component: the current archive's name and its contents list.

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "engine/ZipDirEntry.h"
#include "engineapi/CallBlocks.h"
#include "util/OptionSet.h"

class TZipEngine;

enum class AddOptsEnum {
    AddDirNames,
    AddRecurseDirs,
    AddMove,
    AddFreshen,
    AddUpdate,
    AddZipTime,
    AddForceDOS,
    AddHiddenFiles,
    AddEncrypt,
};
using AddOpts = util::OptionSet<AddOptsEnum>;

enum class ExtrOptsEnum { ExtrDirNames, ExtrOverWrite, ExtrFreshen, ExtrUpdate, ExtrTest };
using ExtrOpts = util::OptionSet<ExtrOptsEnum, std::uint8_t>;

enum class ProgressType { ProgrFileStart, ProgrStep, ProgrBatchEnd };

using TNotifyEvent = std::function<void(TZipEngine& Sender)>;
using TProgressEvent = std::function<void(TZipEngine& Sender, ProgressType ProgrType,
                                          const std::string& Filename, std::int32_t FileSize)>;
using TMessageEvent =
    std::function<void(TZipEngine& Sender, std::int32_t ErrCode, const std::string& Message)>;
// What ran, what its library calls returned together, and whether it was asked to stop.
enum class EngineOperation { Add, Delete, Extract };
using TOperationEndEvent = std::function<void(TZipEngine& Sender, EngineOperation Operation,
                                              std::int32_t Count, bool Cancelled)>;

class TZipEngine {
public:
    // ownerWindow is the owning form's window handle, handed to the engine libraries.
    explicit TZipEngine(std::uintptr_t ownerWindow = 0);
    virtual ~TZipEngine();
    TZipEngine(const TZipEngine&) = delete;
    TZipEngine& operator=(const TZipEngine&) = delete;

    std::uintptr_t OwnerWindow() const { return ownerWindow_; }

    // Options of the next operation; plain values.
    bool Verbose = false;
    bool Trace = false;
    std::int32_t AddCompLevel = 9; // handed to the library unchanged
    AddOpts AddOptions;
    // How AddEncrypt encrypts: AES-256, or the traditional way that old tools and the
    // system's own zip folders read.
    enum class Encryption { Aes256, Traditional };
    Encryption AddEncryption = Encryption::Aes256;
    ExtrOpts ExtrOptions;
    std::string ExtrBaseDir;
    std::string SFXPath; // kept, used by no operation
    // The file specifications of the next operation, one per line; every operation
    // takes them at its start, so they are empty after it, also when it was refused.
    std::vector<std::string> FSpecArgs;
    // Makes the library callback answer "stop".
    bool CancelRequested = false;
    // The code page in which names written without a UTF-8 marker are read, by the
    // contents list and by extraction alike; 0 detects it from the archive's names.
    unsigned NamesCodePage = 0;

    // At most 255 characters are kept.
    const std::string& Password() const { return password_; }
    void SetPassword(const std::string& password);

    // What the last operation's library calls returned together; 0 when it was
    // refused or its call failed.
    std::int32_t ResultCount() const { return resultCount_; }

    // How much of the current file the running call has done, in percent, as its last
    // progress step said: 0 when a file or an operation starts. Read it in OnProgress.
    std::int32_t FilePercent() const { return filePercent_; }

    // The archive's path. Assigning it always re-reads the contents list, also when
    // the name is unchanged or empty; OnDirUpdate has run when the assignment returns.
    const std::string& ZipFilename() const { return zipFilename_; }
    void SetZipFilename(const std::string& name);

    // The contents list, in the order of the entries in the file. A record stays
    // valid until the next ReadDirectory.
    const std::vector<ZipDirEntry>& Entries() const { return entries_; }
    // 0 whenever ZipFilename is empty.
    int EntryCount() const;
    void ClearEntries();

    // Whether the last ReadDirectory found an archive, with entries or without: not
    // when the file is missing, is no archive, or is one part of a split archive
    // (said through OnMessage, with kErrSplitArchive).
    bool IsArchive() const { return isArchive_; }

    // Empties the list and fills it from the archive named by ZipFilename. Raises
    // util::FileOpenError when the file cannot be opened (no OnDirUpdate then) and
    // DirectoryWalkError when the archive is damaged (after OnDirUpdate).
    void ReadDirectory();

    // The operations. Each checks its preconditions (with a message for the first
    // that fails), loads its library unless loaded, makes the call, relays the
    // library's reports as events, empties FSpecArgs, releases what it loaded and,
    // after an add or delete that changed the archive, reads the directory again.
    // A second request of the same kind while one runs returns at once.
    void AddFiles();
    void DeleteFiles();
    void ExtractFiles();

    void LoadZipLibrary();
    void LoadUnzLibrary();
    void UnloadZipLibrary();
    void UnloadUnzLibrary();

    // An add or delete, or an extraction, is running.
    bool ZipBusy() const { return zipBusy_; }
    bool UnzBusy() const { return unzBusy_; }

    TNotifyEvent OnDirUpdate;
    TProgressEvent OnProgress;
    TMessageEvent OnMessage;
    // An operation's library calls have ended, however, and an add or delete that changed
    // the archive has read it again. Not for a request refused before any call.
    TOperationEndEvent OnOperationEnd;

    // One callback record of the running library call; what EngineCallback answers.
    std::int32_t DeliverCallback(const CallbackRecord& record) noexcept;

private:
    using Operation = EngineOperation;

    void FireDirUpdate();
    void RunOperation(Operation operation);
    bool MayRun(Operation operation, const std::vector<std::string>& specs) const;
    bool NamesFitTheCallBlock(const std::vector<std::string>& specs) const;
    // The library call itself, in batches of at most kMaxFileSpecs specifications.
    // False when it failed: no entry point, a fault, or a handler's error.
    bool CallLibrary(Operation operation, void* entryPoint, const std::vector<std::string>& specs);

    std::uintptr_t ownerWindow_;
    std::vector<ZipDirEntry> entries_;
    std::string zipFilename_;
    std::string password_;
    std::int32_t resultCount_ = 0;
    std::int32_t filePercent_ = 0;
    bool isArchive_ = false;
    bool zipBusy_ = false;
    bool unzBusy_ = false;
    ZipCallBlock zipBlock_{};
    UnzCallBlock unzBlock_{};
    // The error a handler raised during each running call, innermost last; once set,
    // the call's later records reach no handler.
    std::vector<std::exception_ptr*> handlerErrors_;
};

// A self-extracting archive's first local header lies after its program; the search
// for it starts here in a file named *.exe.
inline constexpr std::int64_t kExeSearchStart = 14000;

// True when the file name's extension, from its last dot, is ".exe" in any case.
bool HasExeExtension(const std::string& fileName);
