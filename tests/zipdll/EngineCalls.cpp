#include "tests/zipdll/EngineCalls.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "engineapi/CallBlocks.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#include <unistd.h>
#endif

namespace enginetest {

namespace {

void* LoadSymbol(const char* library, const char* name) {
#ifdef _WIN32
    // Beside the test program, where Windows looks first.
    HMODULE module = ::LoadLibraryA(library);
    void* symbol = module ? reinterpret_cast<void*>(::GetProcAddress(module, name)) : nullptr;
#else
    char self[4096] = {};
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path = n > 0 ? std::string(self, static_cast<std::size_t>(n)) : std::string("./x");
    path = path.substr(0, path.find_last_of('/') + 1) + library;
    void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    void* symbol = module ? ::dlsym(module, name) : nullptr;
#endif
    if (!symbol) {
        std::fprintf(stderr, "cannot load %s from %s\n", name, library);
        std::exit(125);
    }
    return symbol;
}

struct Recorder {
    Result* result;
    const Call* call;
};

std::int32_t ENGINE_CALL RecordCallback(CallbackRecord* record) {
    auto* recorder = static_cast<Recorder*>(record->Caller);
    Record r{record->ActionCode, record->ErrorCode, record->FileSize, record->Text};
    recorder->result->records.push_back(r);
    return recorder->call->answer ? recorder->call->answer(r) : 0;
}

// The texts live in buffers of the sizes the engine component allocates.
struct Texts {
    std::vector<std::unique_ptr<char[]>> buffers;
    char* Copy(const std::string& text, std::size_t size) {
        buffers.push_back(std::make_unique<char[]>(size));
        char* p = buffers.back().get();
        // A text as long as its buffer fills it without a terminator, as a careless
        // caller would.
        text.copy(p, size);
        return p;
    }
};

std::int32_t Flag(bool value) {
    return value ? kEngineTrue : kEngineFalse;
}

// The fields both call blocks have, under the same names.
template <typename Block>
void FillShared(Block& block, const Call& call, Recorder& recorder, Texts& texts) {
    block.Caller = &recorder;
    block.Fixed8 = 130;
    block.Callback = RecordCallback;
    block.Trace = Flag(call.trace);
    block.Password = texts.Copy(call.password, kPasswordBufferSize);
    block.Verbose = Flag(call.verbose || call.trace);
    block.SpecCount = call.specCount.value_or(static_cast<std::int32_t>(call.specs.size()));
    block.ZipFilename = texts.Copy(call.archive, kArchiveNameBufferSize);
    for (std::size_t i = 0; i < call.specs.size() && i < kMaxFileSpecs; ++i) {
        block.FileSpecs[i] = texts.Copy(call.specs[i], kFileSpecBufferSize);
    }
}

Result RunZip(const Call& call, bool remove) {
    static const auto exec =
        reinterpret_cast<ZipDllExecFunction>(LoadSymbol("ZIPDLL.DLL", "ZipDllExec"));
    Result result;
    Recorder recorder{&result, &call};
    Texts texts;
    auto block = std::make_unique<ZipCallBlock>();
    FillShared(*block, call, recorder, texts);
    block->Encrypt = Flag(call.encrypt && !remove);
    block->EncryptMethod = call.traditional ? kEncryptTraditional : kEncryptAes256;
    block->HiddenFiles = Flag(call.hidden);
    block->Fixed44 = -1;
    block->Fixed56 = -1;
    block->Level = call.level;
    block->NoDirNames = Flag(!call.dirNames && !remove);
    block->Recurse = Flag(call.recurse && !remove);
    block->Fixed80 = remove ? 0 : -1;
    block->ForceDos = Flag(call.dosNames);
    block->Move = Flag(call.move && !remove);
    block->Delete = Flag(remove);
    block->Update = Flag(call.update && !remove);
    block->Freshen = Flag(call.freshen && !call.update && !remove);
    block->ZipTime = Flag(call.zipTime);
    block->Fixed128 = 7;
    result.count = exec(call.noBlock ? nullptr : block.get());
    return result;
}

} // namespace

std::vector<std::int32_t> Result::ErrorCodes() const {
    std::vector<std::int32_t> codes;
    for (const Record& r : records) {
        if (r.action >= kActionMessage && r.code != 0) {
            codes.push_back(r.code);
        }
    }
    return codes;
}

std::vector<std::int32_t> Result::Actions() const {
    std::vector<std::int32_t> actions;
    for (const Record& r : records) {
        actions.push_back(r.action);
    }
    return actions;
}

Result Add(const Call& call) {
    return RunZip(call, false);
}
Result Delete(const Call& call) {
    return RunZip(call, true);
}

Result Extract(const Call& call) {
    static const auto exec =
        reinterpret_cast<UnzDllExecFunction>(LoadSymbol("UNZDLL.DLL", "UnzDllExec"));
    Result result;
    Recorder recorder{&result, &call};
    Texts texts;
    auto block = std::make_unique<UnzCallBlock>();
    FillShared(*block, call, recorder, texts);
    block->Test = Flag(call.test);
    block->Fixed40 = -1;
    block->Update = Flag(call.update);
    block->Freshen = Flag(call.freshen && !call.update);
    block->DirNames = Flag(call.dirNames);
    block->Overwrite = Flag(call.overwrite);
    block->Fixed72 = 7;
    result.count = exec(call.noBlock ? nullptr : block.get());
    return result;
}

std::int32_t ZipVersion() {
    static const auto f =
        reinterpret_cast<DllVersionFunction>(LoadSymbol("ZIPDLL.DLL", "GetZipDllVersion"));
    return f();
}

std::int32_t UnzVersion() {
    static const auto f =
        reinterpret_cast<DllVersionFunction>(LoadSymbol("UNZDLL.DLL", "GetUnzDllVersion"));
    return f();
}

} // namespace enginetest
