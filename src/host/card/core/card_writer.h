// The card's writer thread for files that grow while they are written (the
// engine-data recordings): the caller queues bytes and returns at once; one
// thread writes them in order, syncs them to disk and finishes files.
//
// A write that fails (card full, file too large) or finds the file removed
// cuts the file back to its length before that piece, so a file made of whole
// lines stays whole lines, and marks the stream failed: later writes and the
// close report false and nothing more is written. Queued bytes are bounded;
// a caller that outruns the disk by more than that finds its stream failed
// rather than memory growing without end.
#pragma once
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>
#include <sys/types.h>

namespace host {

class CardWriter {
public:
    explicit CardWriter(size_t queue_limit = size_t(16) << 20);
    // Finishes everything queued, then ends the thread.
    ~CardWriter();
    CardWriter(const CardWriter&) = delete;
    CardWriter& operator=(const CardWriter&) = delete;

    // Takes over an open regular file positioned at its end, size bytes long
    // (0 for a new one); folder is synced when it closes.
    int add(int fd, std::filesystem::path folder, off_t size = 0);
    // False for an unknown handle, a failed stream, or a full queue (which fails the stream).
    bool write(int handle, const uint8_t* data, size_t length);
    // Queues the end of the file (sync, close); false when the stream had already failed.
    bool close(int handle);
    // Waits until everything queued so far is on disk.
    void drain();
    // True when nothing is queued or being written.
    bool idle();

private:
    struct Stream {
        int fd = -1;
        std::filesystem::path folder;
        off_t size = 0;      // bytes written whole (writer thread)
        bool failed = false; // under mutex_
        bool closing = false;
    };
    struct Job {
        int handle;
        std::vector<uint8_t> bytes;
        bool close;
    };

    void run();
    bool write_out(Stream& s, const std::vector<uint8_t>& bytes);
    void finish(Stream& s);

    const size_t queue_limit_;
    std::mutex mutex_;
    std::condition_variable work_, idle_;
    std::deque<Job> jobs_;
    size_t queued_ = 0;
    bool busy_ = false;
    bool quit_ = false;
    std::vector<std::unique_ptr<Stream>> streams_;
    std::thread thread_;
};

} // namespace host
