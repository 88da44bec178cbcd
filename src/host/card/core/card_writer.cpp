#include "host/card/core/card_writer.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace host {

namespace {

// fsync and fdatasync answer EINVAL on file systems that cannot sync: nothing to wait for.
bool synced(int result) { return result == 0 || errno == EINVAL; }

bool sync_folder(const std::filesystem::path& dir)
{
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = synced(::fsync(fd));
    return ::close(fd) == 0 && ok;
}

} // namespace

CardWriter::CardWriter(size_t queue_limit) : queue_limit_(queue_limit) {}

CardWriter::~CardWriter()
{
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    work_.notify_all();
    if (thread_.joinable()) thread_.join();
    // Streams nobody closed are still finished, so their data reaches the disk.
    for (auto& s : streams_)
        if (s && s->fd >= 0) finish(*s);
}

int CardWriter::add(int fd, std::filesystem::path folder, off_t size)
{
    std::lock_guard lock(mutex_);
    if (!thread_.joinable()) thread_ = std::thread([this] { run(); });
    auto stream = std::make_unique<Stream>();
    stream->fd = fd;
    stream->folder = std::move(folder);
    stream->size = size;
    for (size_t i = 0; i < streams_.size(); ++i)
        if (!streams_[i]) {
            streams_[i] = std::move(stream);
            return int(i);
        }
    streams_.push_back(std::move(stream));
    return int(streams_.size() - 1);
}

bool CardWriter::write(int handle, const uint8_t* data, size_t length)
{
    {
        std::lock_guard lock(mutex_);
        if (handle < 0 || size_t(handle) >= streams_.size() || !streams_[handle]) return false;
        Stream& s = *streams_[handle];
        if (s.failed || s.closing) return false;
        if (queued_ + length > queue_limit_) {
            s.failed = true;
            return false;
        }
        jobs_.push_back({handle, std::vector<uint8_t>(data, data + length), false});
        queued_ += length;
    }
    work_.notify_one();
    return true;
}

bool CardWriter::close(int handle)
{
    bool ok = false;
    {
        std::lock_guard lock(mutex_);
        if (handle < 0 || size_t(handle) >= streams_.size() || !streams_[handle]) return false;
        Stream& s = *streams_[handle];
        if (s.closing) return false;
        s.closing = true;
        ok = !s.failed;
        jobs_.push_back({handle, {}, true});
    }
    work_.notify_one();
    return ok;
}

void CardWriter::drain()
{
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return jobs_.empty() && !busy_; });
}

bool CardWriter::idle()
{
    std::lock_guard lock(mutex_);
    return jobs_.empty() && !busy_;
}

void CardWriter::run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        work_.wait(lock, [this] { return quit_ || !jobs_.empty(); });
        if (jobs_.empty()) return; // quit, with everything written
        Job job = std::move(jobs_.front());
        jobs_.pop_front();
        queued_ -= job.bytes.size();
        busy_ = true;
        Stream& s = *streams_[job.handle];
        const bool failed = s.failed;
        lock.unlock();
        bool ok = true;
        if (job.close)
            finish(s);
        else if (!failed)
            ok = write_out(s, job.bytes);
        lock.lock();
        if (!ok) s.failed = true;
        if (job.close) streams_[job.handle].reset();
        busy_ = false;
        if (jobs_.empty()) idle_.notify_all();
    }
}

bool CardWriter::write_out(Stream& s, const std::vector<uint8_t>& bytes)
{
    // A file removed under us (the card pulled, the folder deleted) would
    // swallow every write without a word.
    struct stat st {};
    if (::fstat(s.fd, &st) != 0 || st.st_nlink == 0) return false;
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(s.fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            // Keep the file to what was written whole before this piece.
            if (::ftruncate(s.fd, s.size) != 0) {}
            return false;
        }
        done += size_t(n);
    }
    s.size += off_t(done);
    return synced(::fdatasync(s.fd));
}

void CardWriter::finish(Stream& s)
{
    synced(::fsync(s.fd));
    ::close(s.fd);
    s.fd = -1;
    sync_folder(s.folder);
}

} // namespace host
