// Reading a file the user named, for example an NMEA log to replay: only a
// regular file is read, never a device, pipe, terminal or folder (reading
// /dev/zero or a FIFO would never end, or would wait for a writer), and
// never more than a limit. The open does not block.
#pragma once
#include <cstdint>
#include <string>

namespace host {

enum class FileRead { Ok, CannotOpen, NotRegular, TooLarge, ReadError };

// Reads the whole of path into contents when it is a regular file of at most
// max_bytes. On failure, system_error holds the system's words where there are any.
FileRead read_regular_file(const std::string& path, int64_t max_bytes, std::string& contents,
                           std::string& system_error);

} // namespace host
