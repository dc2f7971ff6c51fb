#include "engine/CallBlockFill.h"

#include <algorithm>
#include <cstring>

#include "engine/EngineCallback.h"
#include "engine/ZipEngine.h"

namespace {

template <std::size_t N> void CopyText(std::array<char, N>& buffer, const std::string& text) {
    const std::size_t length = std::min(text.size(), N - 1);
    std::memcpy(buffer.data(), text.data(), length);
    buffer[length] = '\0';
}

constexpr std::int32_t Flag(bool value) {
    return value ? kEngineTrue : kEngineFalse;
}

// The fields both blocks have, under the same names.
template <typename Block> void FillShared(Block& b, TZipEngine& engine, CallTexts& texts) {
    std::memset(&b, 0, sizeof b);
    b.WindowHandle = engine.OwnerWindow();
    b.Caller = &engine;
    b.Fixed8 = 130;
    b.Callback = EngineCallback;
    b.Trace = Flag(engine.Trace);
    b.Password = texts.Password();
    b.Verbose = Flag(engine.Verbose || engine.Trace);
    b.SpecCount = static_cast<std::int32_t>(texts.SpecCount());
    b.ZipFilename = texts.ZipName();
    for (std::size_t i = 0; i < texts.SpecCount(); ++i) {
        b.FileSpecs[i] = texts.Spec(i);
    }
}

// What add and delete fill alike.
void FillZipCommon(ZipCallBlock& b, TZipEngine& engine, CallTexts& texts) {
    FillShared(b, engine, texts);
    const AddOpts options = engine.AddOptions;
    b.HiddenFiles = Flag(options.Contains(AddOptsEnum::AddHiddenFiles));
    b.Fixed44 = kEngineTrue;
    b.Fixed56 = kEngineTrue;
    b.Level = engine.AddCompLevel;
    b.ForceDos = Flag(options.Contains(AddOptsEnum::AddForceDOS));
    b.ZipTime = Flag(options.Contains(AddOptsEnum::AddZipTime));
    b.Fixed128 = 7;
}

} // namespace

CallTexts::CallTexts(const std::string& zipName, const std::string& password,
                     std::span<const std::string> specs)
    : specs_(std::min(specs.size(), kMaxFileSpecs)) {
    CopyText(zipName_, zipName);
    CopyText(password_, password);
    for (std::size_t i = 0; i < specs_.size(); ++i) {
        CopyText(specs_[i], specs[i]);
    }
}

bool FitsNameBuffer(const std::string& text) {
    return text.size() < kArchiveNameBufferSize;
}

void FillZipCallBlockForAdd(ZipCallBlock& b, TZipEngine& engine, CallTexts& texts) {
    FillZipCommon(b, engine, texts);
    const AddOpts options = engine.AddOptions;
    const bool update = options.Contains(AddOptsEnum::AddUpdate);
    b.Encrypt = Flag(options.Contains(AddOptsEnum::AddEncrypt));
    b.EncryptMethod = engine.AddEncryption == TZipEngine::Encryption::Traditional
                          ? kEncryptTraditional
                          : kEncryptAes256;
    b.NoDirNames = Flag(!options.Contains(AddOptsEnum::AddDirNames));
    b.Recurse = Flag(options.Contains(AddOptsEnum::AddRecurseDirs));
    b.Fixed80 = kEngineTrue;
    b.Move = Flag(options.Contains(AddOptsEnum::AddMove));
    b.Delete = kEngineFalse;
    b.Update = Flag(update);
    b.Freshen = Flag(options.Contains(AddOptsEnum::AddFreshen) && !update);
}

void FillZipCallBlockForDelete(ZipCallBlock& b, TZipEngine& engine, CallTexts& texts) {
    FillZipCommon(b, engine, texts);
    b.Delete = kEngineTrue;
}

void FillUnzCallBlock(UnzCallBlock& b, TZipEngine& engine, CallTexts& texts) {
    FillShared(b, engine, texts);
    const ExtrOpts options = engine.ExtrOptions;
    const bool update = options.Contains(ExtrOptsEnum::ExtrUpdate);
    b.Test = Flag(options.Contains(ExtrOptsEnum::ExtrTest));
    b.Fixed40 = kEngineTrue;
    b.Update = Flag(update);
    b.Freshen = Flag(options.Contains(ExtrOptsEnum::ExtrFreshen) && !update);
    b.DirNames = Flag(options.Contains(ExtrOptsEnum::ExtrDirNames));
    b.Overwrite = Flag(options.Contains(ExtrOptsEnum::ExtrOverWrite));
    // The written files take the names the list shows.
    b.NamesCodePage = static_cast<std::int32_t>(engine.NamesCodePage);
    b.Fixed72 = 7;
}

void UsePackedSpecs(ZipCallBlock& b, std::span<const std::string> names, std::string& packed) {
    packed.clear();
    for (const std::string& name : names) {
        packed += name;
        packed += '\0';
    }
    b.PackedSpecs = kPackedSpecs;
    b.PackedSize = static_cast<std::int32_t>(packed.size());
    b.SpecCount = 1;
    b.FileSpecs[0] = packed.data();
}

namespace {
template <typename Block> void ClearAddresses(Block& b) {
    b.Password = nullptr;
    b.ZipFilename = nullptr;
    std::fill(std::begin(b.FileSpecs), std::end(b.FileSpecs), nullptr);
}
} // namespace

void ClearTextAddresses(ZipCallBlock& b) {
    ClearAddresses(b);
}
void ClearTextAddresses(UnzCallBlock& b) {
    ClearAddresses(b);
}
