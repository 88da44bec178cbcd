#include "host/common/core/file_read.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace host {

FileRead read_regular_file(const std::string& path, int64_t max_bytes, std::string& contents,
                           std::string& system_error)
{
    contents.clear();
    // O_NONBLOCK: opening a FIFO must not wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        system_error = std::strerror(errno);
        return FileRead::CannotOpen;
    }
    struct stat st {};
    FileRead result = FileRead::Ok;
    if (::fstat(fd, &st) != 0) {
        system_error = std::strerror(errno);
        result = FileRead::ReadError;
    } else if (!S_ISREG(st.st_mode)) {
        result = FileRead::NotRegular;
    } else if (st.st_size > max_bytes) {
        result = FileRead::TooLarge;
    } else {
        // Bounded even if the file grows while it is read.
        contents.resize(size_t(st.st_size) + 1);
        size_t got = 0;
        while (got < contents.size()) {
            const ssize_t n = ::read(fd, contents.data() + got, contents.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                system_error = std::strerror(errno);
                result = FileRead::ReadError;
                break;
            }
            if (n == 0) break;
            got += size_t(n);
        }
        if (result == FileRead::Ok && int64_t(got) > max_bytes) result = FileRead::TooLarge;
        contents.resize(result == FileRead::Ok ? got : 0);
    }
    ::close(fd);
    return result;
}

} // namespace host
