#pragma once
// Filling the engine libraries' call blocks from an engine component's options.

#include <array>
#include <span>
#include <string>
#include <vector>

#include "engineapi/CallBlocks.h"

class TZipEngine;

// Fresh zero-filled buffers for the texts a call names, released after the call.
// A text longer than its buffer is cut to fit: only the password may be, since the
// operations refuse longer names before they get here.
class CallTexts {
public:
    CallTexts(const std::string& zipName, const std::string& password,
              std::span<const std::string> specs);

    char* ZipName() { return zipName_.data(); }
    char* Password() { return password_.data(); }
    std::size_t SpecCount() const { return specs_.size(); }
    char* Spec(std::size_t index) { return specs_[index].data(); }

private:
    std::array<char, kArchiveNameBufferSize> zipName_{};
    std::array<char, kPasswordBufferSize> password_{};
    std::vector<std::array<char, kFileSpecBufferSize>> specs_;
};

// True when the text fits a name buffer with its terminator.
bool FitsNameBuffer(const std::string& text);

void FillZipCallBlockForAdd(ZipCallBlock& block, TZipEngine& engine, CallTexts& texts);
void FillZipCallBlockForDelete(ZipCallBlock& block, TZipEngine& engine, CallTexts& texts);
void FillUnzCallBlock(UnzCallBlock& block, TZipEngine& engine, CallTexts& texts);

// Makes a delete block hand over every name at once, packed (kPackedSpecs); packed
// must outlive the call.
void UsePackedSpecs(ZipCallBlock& block, std::span<const std::string> names, std::string& packed);

// Forgets the addresses of texts that are about to be released.
void ClearTextAddresses(ZipCallBlock& block);
void ClearTextAddresses(UnzCallBlock& block);
