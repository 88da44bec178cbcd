#pragma once
#include <QString>

#include "host/gps/core/nmea_adapt.h"
#include "host/gps/nmea_feeder.h"
#include "host/gps/nmea_source.h"

class QUdpSocket;

namespace host {

// Listens for NMEA datagrams on a UDP port (flight simulators send their
// NMEA output so) and feeds their sentences into the firmware; datagrams from
// any sender are taken (host/gps/core/nmea_adapt.h reassembles them).
class NmeaUdpSource : public NmeaSource {
    Q_OBJECT
public:
    explicit NmeaUdpSource(QObject* parent = nullptr);
    ~NmeaUdpSource() override;
    NmeaUdpSource(const NmeaUdpSource&) = delete;
    NmeaUdpSource& operator=(const NmeaUdpSource&) = delete;

    QString title() const override { return tr("UDP (listen on port)"); }
    // The port number as typed, read by the next start().
    void set_port(const QString& port_text) { port_text_ = port_text; }
    // Binds the port: connected_changed(true, "port N") at once, or
    // error_occurred() (bad number, port in use) with the state back at Off.
    void start() override;
    // Closes the port (then connected_changed(false, "")) and drops sentences
    // not yet fed.
    void stop() override;
    // The bound port while on (useful when 0 was asked), else 0.
    quint16 bound_port() const;

protected:
    QString status_for(bool on, const QString& what) const override;

private:
    void read_datagrams();
    void close_socket();

    NmeaFeeder feeder_;
    NmeaDatagrams datagrams_;
    QString port_text_;
    QUdpSocket* socket_ = nullptr;
};

} // namespace host
