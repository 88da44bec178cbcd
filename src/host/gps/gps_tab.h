// GpsTab: the "GPS (NMEA Protocol)" tab. It makes the NMEA sources (the
// serial port as on the unit, a TCP server, a recorded log replayed at its
// real rate, UDP datagrams, the FlightGear link and gpsd) and their selector,
// which lets one feed at a time (nmea_source_selector.h); it lays out each
// source's inputs on a page of its own beside the shared buttons, the
// diagnostics, and the echo window Memo1.
#pragma once
#include <QWidget>
#include <memory>

class QPlainTextEdit;

namespace host {

class ControlPanel;
class EchoSink;
class FlightGearControls;
class FlightGearLink;
class FlightGearPlayer;
class NmeaFileReplay;
class NmeaGpsdSource;
class NmeaSourceSelector;
class NmeaTcpSource;
class NmeaUdpSource;
class SerialLink;

class GpsTab : public QWidget {
    Q_OBJECT
public:
    // Its controls go into the controls' table under "GPS (NMEA Protocol)/".
    explicit GpsTab(ControlPanel& controls, QWidget* parent = nullptr);
    ~GpsTab() override;

    // The sources, owned by the selector (null once closed).
    NmeaSourceSelector* sources() const { return sources_.get(); }
    // Stops and destroys the sources: the serial port closes and its thread ends.
    void close_sources();
    SerialLink* serial() const { return serial_; }
    NmeaTcpSource* nmea_tcp() const { return nmea_tcp_; }
    NmeaFileReplay* nmea_replay() const { return nmea_replay_; }
    NmeaUdpSource* nmea_udp() const { return nmea_udp_; }
    NmeaGpsdSource* nmea_gpsd() const { return nmea_gpsd_; }
    FlightGearLink* flightgear() const { return flightgear_; }
    FlightGearControls* flightgear_controls() const { return flightgear_controls_; }
    FlightGearPlayer* flightgear_player() const;

    // The echo of the serial port's lines (Memo1) and what hands them to it.
    QPlainTextEdit* memo() const { return memo1_; }
    EchoSink* echo() const { return echo_; }

private:
    std::unique_ptr<NmeaSourceSelector> sources_;
    SerialLink* serial_ = nullptr;
    NmeaTcpSource* nmea_tcp_ = nullptr;
    NmeaFileReplay* nmea_replay_ = nullptr;
    NmeaUdpSource* nmea_udp_ = nullptr;
    NmeaGpsdSource* nmea_gpsd_ = nullptr;
    FlightGearLink* flightgear_ = nullptr;
    FlightGearControls* flightgear_controls_ = nullptr;
    EchoSink* echo_ = nullptr;
    QPlainTextEdit* memo1_ = nullptr;
};

} // namespace host
