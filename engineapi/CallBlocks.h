#pragma once
// The boundary between the engine component and the two engine libraries: the call
// blocks each library's execution entry point takes, and the record it passes to
// the callback. Plain C layout only: nothing here is a C++ type or may throw.
// Every field is 32 bits wide in the 32-bit build; on 64-bit the address fields
// widen and keep their order.

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && defined(__i386__)
#define ENGINE_CALL __stdcall
#else
#define ENGINE_CALL
#endif

extern "C" {

// Flag fields hold -1 for true and 0 for false.
inline constexpr std::int32_t kEngineTrue = -1;
inline constexpr std::int32_t kEngineFalse = 0;

// Buffer sizes of the texts a call block names, terminator included.
inline constexpr std::size_t kArchiveNameBufferSize = 256;
inline constexpr std::size_t kPasswordBufferSize = 81;
inline constexpr std::size_t kFileSpecBufferSize = 256;
inline constexpr std::size_t kMaxFileSpecs = 4097;
// A delete of more names than the block holds hands them all over in one call, so that
// the archive is rewritten once: PackedSpecs holds this, SpecCount 1, and FileSpecs[0]
// the names, each ended by a zero, PackedSize bytes in all.
inline constexpr std::int32_t kPackedSpecs = 1;
inline constexpr std::int32_t kMaxPackedSize = 256 << 20;

// How an add encrypts when its encrypt flag is set.
inline constexpr std::int32_t kEncryptAes256 = 0;
inline constexpr std::int32_t kEncryptTraditional = 1;

// Action codes of a callback record.
inline constexpr std::int32_t kActionFileStart = 1;
inline constexpr std::int32_t kActionProgress = 2;
inline constexpr std::int32_t kActionBatchEnd = 3;
inline constexpr std::int32_t kActionMessage = 4; // and above

inline constexpr std::size_t kCallbackTextSize = 512;

// Error codes of message records (action kActionMessage). 0 marks an informational
// message, sent when the verbose or trace flag is set, and for a wait whatever they say.
inline constexpr std::int32_t kErrNone = 0;
inline constexpr std::int32_t kErrBadCall = 1;          // the call block is unusable
inline constexpr std::int32_t kErrArchiveOpen = 2;      // the archive cannot be opened or read
inline constexpr std::int32_t kErrArchiveDamaged = 3;   // not a zip archive, or damaged
inline constexpr std::int32_t kErrNothingMatched = 4;   // a specification matched nothing
inline constexpr std::int32_t kErrFileRead = 5;         // a file to add could not be read
inline constexpr std::int32_t kErrArchiveWrite = 6;     // the new archive could not be written
inline constexpr std::int32_t kErrUnsafeName = 7;       // an entry would land outside the folder
inline constexpr std::int32_t kErrUnsupported = 8;      // a method or encryption we cannot read
inline constexpr std::int32_t kErrBadData = 9;          // CRC-32, size or deflate data wrong
inline constexpr std::int32_t kErrPassword = 10;        // no password, or a wrong one
inline constexpr std::int32_t kErrFileWrite = 11;       // an extracted file could not be written
inline constexpr std::int32_t kErrCancelled = 12;       // the callback asked to stop
inline constexpr std::int32_t kErrMoveFailed = 13;      // a moved file could not be deleted
inline constexpr std::int32_t kErrDuplicateName = 14;   // two files would get one name
inline constexpr std::int32_t kErrInternal = 15;        // an unexpected failure inside the library
inline constexpr std::int32_t kErrSplitArchive = 16;    // one part of an archive split in several
inline constexpr std::int32_t kErrFileExists = 17;      // a file is there and was not replaced
inline constexpr std::int32_t kErrArchiveReadOnly = 18; // the archive to change is read-only
inline constexpr std::int32_t kErrLast = kErrArchiveReadOnly;

struct CallbackRecord {
    std::int32_t RecordSize;      // 0: sizeof(CallbackRecord), so a caller can check it
    void* Caller;                 // 4: the caller field of the call block
    std::int32_t Reserved8;       // 8
    std::int32_t Reserved12;      // 12
    std::int32_t ActionCode;      // 16
    std::int32_t ErrorCode;       // 20
    std::int32_t FileSize;        // 24
    char Text[kCallbackTextSize]; // 28: zero-terminated
};

// Returns -1 to ask the library to stop, 0 to go on.
typedef std::int32_t(ENGINE_CALL* EngineCallbackFunction)(CallbackRecord* record);

struct ZipCallBlock {
    std::uintptr_t WindowHandle;     // 0
    void* Caller;                    // 4
    std::int32_t Fixed8;             // 8: 130
    EngineCallbackFunction Callback; // 12
    std::int32_t Trace;              // 16
    char* Password;                  // 20: kPasswordBufferSize bytes
    std::int32_t EncryptMethod;      // 24: kEncryptAes256 (0) or kEncryptTraditional
    std::int32_t Encrypt;            // 28
    std::int32_t HiddenFiles;        // 32
    std::int32_t Fixed36;            // 36: 0
    std::int32_t Fixed40;            // 40: 0
    std::int32_t Fixed44;            // 44: -1
    std::int32_t Fixed48;            // 48: 0
    std::int32_t Verbose;            // 52
    std::int32_t Fixed56;            // 56: -1
    std::int32_t Level;              // 60
    std::int32_t Fixed64;            // 64: 0
    std::int32_t Fixed68;            // 68: 0
    std::int32_t NoDirNames;         // 72
    std::int32_t Recurse;            // 76
    std::int32_t Fixed80;            // 80: -1 for add, 0 for delete
    std::int32_t ForceDos;           // 84
    std::int32_t Move;               // 88
    std::int32_t Delete;             // 92
    std::int32_t Update;             // 96
    std::int32_t Freshen;            // 100
    std::int32_t Fixed104;           // 104: 0
    std::int32_t ZipTime;            // 108
    std::int32_t PackedSpecs;        // 112: 0, or kPackedSpecs (below)
    std::int32_t PackedSize;         // 116: 0, or the bytes of the packed names
    std::int32_t SpecCount;          // 120
    char* ZipFilename;               // 124: kArchiveNameBufferSize bytes
    std::int32_t Fixed128;           // 128: 7
    char* FileSpecs[kMaxFileSpecs];  // 132: kFileSpecBufferSize bytes each
};

struct UnzCallBlock {
    std::uintptr_t WindowHandle;     // 0
    void* Caller;                    // 4
    std::int32_t Fixed8;             // 8: 130
    EngineCallbackFunction Callback; // 12
    std::int32_t Trace;              // 16
    std::int32_t Fixed20;            // 20: 0
    char* Password;                  // 24: kPasswordBufferSize bytes
    std::int32_t Test;               // 28
    std::int32_t NamesCodePage;      // 32: 0, or the code page unflagged names are read in
    std::int32_t Fixed36;            // 36: 0
    std::int32_t Fixed40;            // 40: -1
    std::int32_t Verbose;            // 44
    std::int32_t Update;             // 48
    std::int32_t Freshen;            // 52
    std::int32_t DirNames;           // 56
    std::int32_t Overwrite;          // 60
    std::int32_t SpecCount;          // 64
    char* ZipFilename;               // 68: kArchiveNameBufferSize bytes
    std::int32_t Fixed72;            // 72: 7
    char* FileSpecs[kMaxFileSpecs];  // 76: kFileSpecBufferSize bytes each
};

typedef std::int32_t(ENGINE_CALL* ZipDllExecFunction)(ZipCallBlock* block);
typedef std::int32_t(ENGINE_CALL* UnzDllExecFunction)(UnzCallBlock* block);
typedef std::int32_t(ENGINE_CALL* DllVersionFunction)();

} // extern "C"

#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(offsetof(CallbackRecord, Caller) == 4);
static_assert(offsetof(CallbackRecord, ActionCode) == 16);
static_assert(offsetof(CallbackRecord, ErrorCode) == 20);
static_assert(offsetof(CallbackRecord, FileSize) == 24);
static_assert(offsetof(CallbackRecord, Text) == 28);

static_assert(offsetof(ZipCallBlock, Caller) == 4);
static_assert(offsetof(ZipCallBlock, Fixed8) == 8);
static_assert(offsetof(ZipCallBlock, Callback) == 12);
static_assert(offsetof(ZipCallBlock, Trace) == 16);
static_assert(offsetof(ZipCallBlock, Password) == 20);
static_assert(offsetof(ZipCallBlock, EncryptMethod) == 24);
static_assert(offsetof(ZipCallBlock, Encrypt) == 28);
static_assert(offsetof(ZipCallBlock, HiddenFiles) == 32);
static_assert(offsetof(ZipCallBlock, Fixed44) == 44);
static_assert(offsetof(ZipCallBlock, Verbose) == 52);
static_assert(offsetof(ZipCallBlock, Fixed56) == 56);
static_assert(offsetof(ZipCallBlock, Level) == 60);
static_assert(offsetof(ZipCallBlock, NoDirNames) == 72);
static_assert(offsetof(ZipCallBlock, Recurse) == 76);
static_assert(offsetof(ZipCallBlock, Fixed80) == 80);
static_assert(offsetof(ZipCallBlock, ForceDos) == 84);
static_assert(offsetof(ZipCallBlock, Move) == 88);
static_assert(offsetof(ZipCallBlock, Delete) == 92);
static_assert(offsetof(ZipCallBlock, Update) == 96);
static_assert(offsetof(ZipCallBlock, Freshen) == 100);
static_assert(offsetof(ZipCallBlock, Fixed104) == 104);
static_assert(offsetof(ZipCallBlock, ZipTime) == 108);
static_assert(offsetof(ZipCallBlock, PackedSpecs) == 112);
static_assert(offsetof(ZipCallBlock, PackedSize) == 116);
static_assert(offsetof(ZipCallBlock, SpecCount) == 120);
static_assert(offsetof(ZipCallBlock, ZipFilename) == 124);
static_assert(offsetof(ZipCallBlock, Fixed128) == 128);
static_assert(offsetof(ZipCallBlock, FileSpecs) == 132);
static_assert(sizeof(ZipCallBlock) == 132 + 4 * kMaxFileSpecs);

static_assert(offsetof(UnzCallBlock, Caller) == 4);
static_assert(offsetof(UnzCallBlock, Fixed8) == 8);
static_assert(offsetof(UnzCallBlock, Callback) == 12);
static_assert(offsetof(UnzCallBlock, Trace) == 16);
static_assert(offsetof(UnzCallBlock, Fixed20) == 20);
static_assert(offsetof(UnzCallBlock, Password) == 24);
static_assert(offsetof(UnzCallBlock, Test) == 28);
static_assert(offsetof(UnzCallBlock, Fixed40) == 40);
static_assert(offsetof(UnzCallBlock, Verbose) == 44);
static_assert(offsetof(UnzCallBlock, Update) == 48);
static_assert(offsetof(UnzCallBlock, Freshen) == 52);
static_assert(offsetof(UnzCallBlock, DirNames) == 56);
static_assert(offsetof(UnzCallBlock, Overwrite) == 60);
static_assert(offsetof(UnzCallBlock, SpecCount) == 64);
static_assert(offsetof(UnzCallBlock, ZipFilename) == 68);
static_assert(offsetof(UnzCallBlock, Fixed72) == 72);
static_assert(offsetof(UnzCallBlock, FileSpecs) == 76);
static_assert(sizeof(UnzCallBlock) == 76 + 4 * kMaxFileSpecs);
#else
// Wider addresses keep the fields in their order.
static_assert(offsetof(ZipCallBlock, Caller) < offsetof(ZipCallBlock, Fixed8));
static_assert(offsetof(ZipCallBlock, ZipFilename) < offsetof(ZipCallBlock, Fixed128));
static_assert(offsetof(UnzCallBlock, Password) < offsetof(UnzCallBlock, Test));
static_assert(offsetof(CallbackRecord, FileSize) < offsetof(CallbackRecord, Text));
#endif
