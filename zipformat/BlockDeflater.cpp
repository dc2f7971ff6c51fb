#include "zipformat/BlockDeflater.h"

#include <libdeflate.h>
#include <zlib.h>

#include "zipformat/RawDeflater.h"

namespace zipfmt {

namespace {

// Room for the deflated block with its flush marker, even when the data is noise.
const std::size_t kOutputRoom = compressBound(kDeflateBlock) + 64;

} // namespace

DeflateJob::DeflateJob() : input(kDeflateWindow + kDeflateBlock), output(kOutputRoom) {}

BlockDeflater::BlockDeflater() : stream_(std::make_unique<RawDeflater>()) {}

BlockDeflater::~BlockDeflater() {
    if (whole_) {
        libdeflate_free_compressor(whole_);
    }
}

void BlockDeflater::Run(DeflateJob& job) {
    job.made = 0;
    job.larger = false;
    job.failed = false;
    // libdeflate's CRC-32 uses the processor's carry-less multiply where there is one.
    job.crc = libdeflate_crc32(0, job.Data(), job.size);
    if (job.first && job.last) {
        Whole(job);
    } else {
        Block(job);
    }
}

// A whole entry needs no streaming: the whole-buffer deflater is about twice as fast
// as zlib at the same size.
void BlockDeflater::Whole(DeflateJob& job) {
    if (job.size == 0) {
        job.larger = true; // nothing to gain over storing no bytes
        return;
    }
    if (wholeLevel_ != job.level) {
        if (whole_) {
            libdeflate_free_compressor(whole_);
        }
        whole_ = libdeflate_alloc_compressor(job.level);
        wholeLevel_ = whole_ ? job.level : -1;
    }
    if (!whole_) {
        Block(job);
        return;
    }
    // Only a result shorter than the data is worth keeping.
    job.made =
        libdeflate_deflate_compress(whole_, job.Data(), job.size, job.output.data(), job.size - 1);
    job.larger = job.made == 0;
}

void BlockDeflater::Block(DeflateJob& job) {
    z_stream& z = stream_->stream;
    if (!stream_->Start(job.level) ||
        (job.window > 0 &&
         deflateSetDictionary(&z, job.input.data(), static_cast<uInt>(job.window)) != Z_OK)) {
        job.failed = true;
        return;
    }
    z.next_in = const_cast<Bytef*>(job.Data());
    z.avail_in = static_cast<uInt>(job.size);
    z.next_out = job.output.data();
    z.avail_out = static_cast<uInt>(job.output.size());
    const int rc = deflate(&z, job.last ? Z_FINISH : Z_SYNC_FLUSH);
    job.made = job.output.size() - z.avail_out;
    job.failed = z.avail_in != 0 || z.avail_out == 0 || rc != (job.last ? Z_STREAM_END : Z_OK);
    if (job.failed) {
        stream_->End(); // a stream left midway is started afresh
    }
}

} // namespace zipfmt
