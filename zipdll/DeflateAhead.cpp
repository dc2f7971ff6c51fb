#include "zipdll/DeflateAhead.h"

#include <cstring>

namespace zipdll {

using zipfmt::DeflateJob;
using zipfmt::kDeflateBlock;
using zipfmt::kDeflateWindow;

DeflateAhead::DeflateAhead(std::vector<File> files, unsigned threads)
    : window_(kDeflateWindow), pool_(threads) {
    items_.reserve(files.size());
    for (File& f : files) {
        items_.emplace_back().file = std::move(f);
    }
    // A job under way and one waiting for every worker, and the one being written
    // (without workers: one being read as well); each holds about half a MiB at most.
    jobLimit_ = 2 * pool_.Threads() + (pool_.Threads() > 0 ? 1 : 2);
}

DeflateJob* DeflateAhead::FreeJob() {
    if (free_.empty()) {
        jobs_.push_back(std::make_unique<DeflateJob>());
        return jobs_.back().get();
    }
    DeflateJob* job = free_.back();
    free_.pop_back();
    return job;
}

void DeflateAhead::Recycle(DeflateJob* job) {
    free_.push_back(job);
}

void DeflateAhead::Submit(DeflateJob* job, bool last) {
    job->last = last;
    queued_.emplace_back(readAt_, job);
    pool_.Submit(*job);
}

void DeflateAhead::Fill() {
    while (readAt_ < items_.size() && jobs_.size() - free_.size() < jobLimit_) {
        Step();
    }
}

void DeflateAhead::Step() {
    Item& it = items_[readAt_];
    if (!it.opened) {
        it.opened = true;
        it.handle =
            platform::FileHandle::OpenUtf8(it.file.path, platform::FileHandle::Sharing::AllowWrite);
        if (!it.handle) {
            it.readDone = true;
            ++readAt_;
            return;
        }
        it.reader = FileSource(&*it.handle);
        it.raw = FileSource(&*it.handle);
        windowSize_ = 0;
        readSoFar_ = 0;
        return;
    }
    DeflateJob* job = FreeJob();
    std::memcpy(job->input.data(), window_.data(), windowSize_);
    job->window = windowSize_;
    job->level = it.file.level;
    job->first = readSoFar_ == 0;
    const std::int64_t n = it.reader.Read(job->input.data() + job->window, kDeflateBlock);
    if (n < 0 || (n == 0 && !job->first)) {
        Recycle(job);
        if (it.held) {
            if (n < 0) {
                Recycle(it.held);
            } else {
                Submit(it.held, true);
            }
            it.held = nullptr;
        }
        it.readFailed = n < 0;
        it.readDone = true;
        ++readAt_;
        return;
    }
    job->size = static_cast<std::size_t>(n);
    readSoFar_ += job->size;
    if (it.held) {
        Submit(it.held, false);
        it.held = nullptr;
    }
    // A read short of a block found the end; a whole block leaves that open.
    if (job->size < kDeflateBlock) {
        Submit(job, true);
        it.readDone = true;
        ++readAt_;
        return;
    }
    std::memcpy(window_.data(), job->Data() + job->size - kDeflateWindow, kDeflateWindow);
    windowSize_ = kDeflateWindow;
    it.held = job;
}

void DeflateAhead::Abandon(std::size_t index) {
    Item& it = items_[index];
    while (!queued_.empty() && queued_.front().first == index) {
        pool_.Withdraw(*queued_.front().second);
        Recycle(queued_.front().second);
        queued_.pop_front();
    }
    if (it.held) {
        Recycle(it.held);
        it.held = nullptr;
    }
    if (!it.readDone) {
        it.readDone = true;
        if (readAt_ == index) {
            ++readAt_;
        }
    }
}

void DeflateAhead::Drop(std::size_t index) {
    Abandon(index);
    Item& it = items_[index];
    it.reader = FileSource(nullptr);
    it.raw = FileSource(nullptr);
    it.handle.reset();
}

const platform::FileHandle* DeflateAhead::Take(std::size_t index) {
    if (out_) {
        Recycle(out_);
        out_ = nullptr;
    }
    if (taken_) {
        Drop(current_); // what is left of the file taken before
    }
    for (std::size_t i = taken_ ? current_ + 1 : current_; i < index; ++i) {
        Drop(i);
    }
    current_ = index;
    taken_ = true;
    Item& it = items_[index];
    while (readAt_ == index && !it.opened) {
        Step();
    }
    Fill();
    return it.handle ? &*it.handle : nullptr;
}

const DeflateJob* DeflateAhead::Next() {
    if (out_) {
        Recycle(out_);
        out_ = nullptr;
    }
    Fill();
    Item& it = items_[current_];
    for (;;) {
        // The files before this one are dropped: what is queued first is its.
        if (!queued_.empty() && queued_.front().first == current_) {
            out_ = queued_.front().second;
            queued_.pop_front();
            pool_.Wait(*out_);
            return out_;
        }
        if (it.readDone) {
            return nullptr;
        }
        Step(); // the reading ahead has come no further than this file
    }
}

bool DeflateAhead::ReadFailed() const {
    return items_[current_].readFailed;
}

zipfmt::EntrySource& DeflateAhead::Raw() {
    if (out_) {
        Recycle(out_);
        out_ = nullptr;
    }
    Abandon(current_);
    return items_[current_].raw;
}

} // namespace zipdll
