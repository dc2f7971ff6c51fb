#pragma once
// Reads the files of an add ahead of their writing and has them deflated on every
// core: each file whole when it fits one block, else block by block. All of it runs
// on the calling thread but the deflating, so the caller writes the files, and
// reports on them, in its own order. At most a few blocks per thread are held at
// once, whatever the sizes of the files.

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/FileHandle.h"
#include "zipdll/FileSource.h"
#include "zipformat/DeflatePool.h"

namespace zipdll {

class DeflateAhead final : public zipfmt::DeflatedSource {
public:
    struct File {
        std::string path; // UTF-8
        int level = 6;
    };
    // The files in the order they will be taken.
    explicit DeflateAhead(std::vector<File> files,
                          unsigned threads = zipfmt::DeflatePool::DefaultThreads());

    // Makes file index the current one, dropping what is left of the files before it.
    // Its handle, opened ahead; none when it could not be opened.
    const platform::FileHandle* Take(std::size_t index);

    // The current file's pieces.
    const zipfmt::DeflateJob* Next() override;
    bool ReadFailed() const override;
    zipfmt::EntrySource& Raw() override;

private:
    struct Item {
        File file;
        std::optional<platform::FileHandle> handle;
        FileSource reader{nullptr};         // the reading ahead
        FileSource raw{nullptr};            // a second reading, to store the file
        zipfmt::DeflateJob* held = nullptr; // read, waiting to learn whether it is the last
        bool opened = false, readDone = false, readFailed = false;
    };

    // Reads ahead while jobs are to be had.
    void Fill();
    // Reads the next block of the file being read ahead.
    void Step();
    void Submit(zipfmt::DeflateJob* job, bool last);
    zipfmt::DeflateJob* FreeJob();
    void Recycle(zipfmt::DeflateJob* job);
    // Takes back what is left of a file's jobs and reads no more of it.
    void Abandon(std::size_t index);
    // The same, and closes the file.
    void Drop(std::size_t index);

    std::vector<Item> items_;
    // Jobs handed to the pool and not yet taken, in order, with their files.
    std::deque<std::pair<std::size_t, zipfmt::DeflateJob*>> queued_;
    std::size_t current_ = 0; // taken by the caller
    bool taken_ = false;
    std::size_t readAt_ = 0;            // being read ahead
    zipfmt::DeflateJob* out_ = nullptr; // handed to the caller by Next
    // The last bytes read ahead, the window of the next block.
    zipfmt::Buffer window_;
    std::size_t windowSize_ = 0;
    std::uint64_t readSoFar_ = 0; // of the file being read ahead

    std::vector<std::unique_ptr<zipfmt::DeflateJob>> jobs_;
    std::vector<zipfmt::DeflateJob*> free_;
    std::size_t jobLimit_;
    zipfmt::DeflatePool pool_; // last: its workers stop before the jobs go
};

} // namespace zipdll
