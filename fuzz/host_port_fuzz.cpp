// Fuzzes the "host:port" text of the TCP source: an accepted text always has
// a host and a port in 1..65535, a refused one a message.
#include <QString>
#include <cstdint>
#include <cstdlib>

#include "host/gps/nmea_tcp_source.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    QString host, error;
    quint16 port = 0;
    if (host::parse_host_port(text, host, port, error)) {
        if (port == 0 || host.isEmpty()) std::abort();
    } else if (error.isEmpty()) {
        std::abort();
    }
    return 0;
}
