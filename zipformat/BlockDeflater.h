#pragma once
// Deflates one piece of an entry: a whole entry in one buffer, or one block of a
// larger one primed with the 32 KiB before it. A block that does not end its entry
// stops on a byte boundary and leaves the stream open, so that the pieces of an entry,
// deflated apart, join end to end into one deflate stream.

#include <cstdint>
#include <memory>

#include "zipformat/Buffer.h"

struct libdeflate_compressor;

namespace zipfmt {

struct RawDeflater;

// Bytes of data one job takes at most, and the window that primes it.
constexpr std::size_t kDeflateBlock = 256 * 1024;
constexpr std::size_t kDeflateWindow = 32 * 1024;

struct DeflateJob {
    DeflateJob();

    // In: the window (the bytes just before this block) then the block itself.
    Buffer input;
    std::size_t window = 0;
    std::size_t size = 0; // of the block, after the window
    int level = 6;
    bool first = true; // the entry's first block
    bool last = true;  // the entry's last block

    // Out.
    Buffer output;
    std::size_t made = 0;
    std::uint32_t crc = 0; // of the block alone
    bool larger = false;   // a whole entry that deflate would not shrink: output unused
    bool failed = false;

    const std::uint8_t* Data() const { return input.data() + window; }
};

class BlockDeflater {
public:
    BlockDeflater();
    ~BlockDeflater();
    BlockDeflater(const BlockDeflater&) = delete;
    BlockDeflater& operator=(const BlockDeflater&) = delete;

    void Run(DeflateJob& job);

private:
    void Whole(DeflateJob& job);
    void Block(DeflateJob& job);

    std::unique_ptr<RawDeflater> stream_;
    libdeflate_compressor* whole_ = nullptr;
    int wholeLevel_ = -1;
};

} // namespace zipfmt
