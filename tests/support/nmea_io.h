// Helpers for tests that send NMEA: a sentence with its checksum and line
// end, and a pseudo-terminal pair whose slave a serial link can open.
#pragma once
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace test {

// "$" body "*" two hexadecimal checksum digits, then the line end.
inline std::string nmea_sentence(const std::string& body, bool lower_case = false, const char* end = "\r\n")
{
    uint8_t sum = 0;
    for (char c : body) sum ^= uint8_t(c);
    char hex[3];
    std::snprintf(hex, sizeof hex, lower_case ? "%02x" : "%02X", sum);
    return "$" + body + "*" + hex + end;
}

// A pseudo-terminal pair: bytes written to the master arrive on the slave.
class Pty {
public:
    Pty()
    {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0) {
            const char* name = ::ptsname(master_);
            if (name) slave_path_ = name;
        }
    }
    ~Pty() { close_master(); }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    bool ok() const { return master_ >= 0 && !slave_path_.empty(); }
    const std::string& slave_path() const { return slave_path_; }
    bool write(const std::string& bytes)
    {
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            done += size_t(n);
        }
        return true;
    }
    // Hangs up, as an unplugged receiver would.
    void close_master()
    {
        if (master_ >= 0) ::close(master_);
        master_ = -1;
    }

private:
    int master_ = -1;
    std::string slave_path_;
};

} // namespace test
