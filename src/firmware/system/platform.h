// The firmware's window on the outside world, in small parts: the PC clock,
// the card, the LCD panel, the echo of received serial lines, and the host's
// check boxes and sliders. Every part has a do-nothing default, so a program
// installs only the parts it has: the desktop window all of them, a fuzzer of
// the settings file only a card, a drawing test none. Card paths are given as
// the firmware writes them ("SDCARD\\SPLASH.MIF"); the card implementation
// maps them into its folder.
#pragma once
#include <cstddef>
#include <cstdint>

namespace ems {

// The host's check boxes that the main loop reads on every pass.
enum class CheckBox : uint8_t {
    VexaOnOff,          // "EMS" / "VEXA On/Off", starts unchecked
    SdCardMounted,      // "EMS" / "SD Card Mounted", starts checked
    Ignition1,          // "UL Power" / "Ignition 1"
    Ignition2,          // "UL Power" / "Ignition 2"
    AirTempSensor,      // "UL Power" / "Air Temp Sensor"
    ThrottlePosSensor,  // "UL Power" / "Throttle Pos Sensor"
    MapSensor,          // "UL Power" / "MAP Sensor"
    OilTempSensor,      // "UL Power" / "Oil Temp Sensor"
    PosSyncSensorFault, // "UL Power" / "Pos-/Sync Sensor Fault"
    EcuComms,           // "UL Power" / "ECU Comms"
    Count
};

// Broken-down UTC as the C library gives it (tm_year from 1900, month 0..11).
struct UtcTime {
    int second = 0, minute = 0, hour = 0, day = 1, month = 0, year = 126;
};

enum class FileMode : uint8_t { Read, Write };

// Host sliders that the power-on sequence reads again.
enum class PowerOnSlider : uint8_t { Volts, Oat, Rpm, Count };

// The PC's date and time in UTC (the instrument's UTC clock; local time comes
// only from the pilot's UTC offset). Default: a fixed date (the UtcTime defaults).
class Clock {
public:
    virtual ~Clock() = default;
    virtual UtcTime utc_time() { return {}; }
};

// Byte-wise files and directory listing on the card. Default: no card, every
// open fails.
class CardStorage {
public:
    virtual ~CardStorage() = default;

    // open returns a handle >= 0, or -1 when the file cannot be opened.
    // read/write return the number of bytes transferred (short on end or error).
    virtual int file_open(const char* /*card_path*/, FileMode) { return -1; }
    virtual size_t file_read(int /*handle*/, uint8_t* /*data*/, size_t /*length*/) { return 0; }
    virtual size_t file_write(int /*handle*/, const uint8_t* /*data*/, size_t /*length*/) { return 0; }
    // Closes the handle; false when buffered data could not be written out.
    virtual bool file_close(int /*handle*/) { return false; }
    // Replaces dest by src in one step (rename) and makes that durable. False
    // when dest is read-only or the rename fails (dest untouched), or when the
    // rename could not be made durable.
    virtual bool file_replace(const char* /*src_path*/, const char* /*dest_path*/) { return false; }
    virtual bool file_remove(const char* /*card_path*/) { return false; }

    // Directory listing: handle >= 0 or -1; next fills name (NUL-terminated,
    // truncated to size) and returns false at the end.
    virtual int dir_open(const char* /*card_path*/) { return -1; }
    virtual bool dir_next(int /*handle*/, char* /*name*/, size_t /*size*/) { return false; }
    virtual void dir_close(int /*handle*/) {}

    // A folder on the card: true when it exists or has been made (its parent
    // must exist).
    virtual bool folder_create(const char* /*card_path*/) { return false; }

    // Recordings: a new file that grows while it is written. append_open never
    // replaces an existing file (-1 then). append_write hands bytes over
    // without waiting for the card; it returns false once the stream has
    // failed (card full, file gone), after which nothing more is written and
    // the file ends with the last bytes written whole. append_close finishes
    // the file; false when the stream had failed.
    virtual int append_open(const char* /*card_path*/) { return -1; }
    // Continues a file append_open made earlier (the card was out and is back
    // in): an existing regular file, written on at its end. -1 when there is
    // no such file, or while bytes handed over earlier are still being
    // written.
    virtual int append_resume(const char* /*card_path*/) { return -1; }
    virtual bool append_write(int /*handle*/, const uint8_t* /*data*/, size_t /*length*/) { return false; }
    virtual bool append_close(int /*handle*/) { return false; }
};

// The LCD panel and the desktop's message box (presentation set-up failures).
// Default: shows nothing.
class Panel {
public:
    virtual ~Panel() = default;
    // Show the current frame buffer on the LCD panel.
    virtual void present() {}
    virtual void message_box(const char* /*text*/) {}
};

// The communications window that echoes received sentences. Default: the
// lines go nowhere.
class SerialEcho {
public:
    virtual ~SerialEcho() = default;
    // One echoed line. Called on the serial receive thread: implementations
    // must hand it over thread-safely.
    virtual void echo(const char* /*line*/) {}
};

// The host's check boxes and the sliders the power-on sequence reads.
// Default: every box unchecked, every slider at 0.
class HostInputs {
public:
    virtual ~HostInputs() = default;
    virtual bool check_box(CheckBox) { return false; }
    // Position of a host slider; show_slider_value writes it into the slider's value label.
    virtual int slider_position(PowerOnSlider) { return 0; }
    virtual void show_slider_value(PowerOnSlider) {}
};

// Which object serves each part; a part left null is served by its default.
struct PlatformParts {
    Clock* clock = nullptr;
    CardStorage* card = nullptr;
    Panel* panel = nullptr;
    SerialEcho* serial_echo = nullptr;
    HostInputs* inputs = nullptr;
};

// The platform in use, part by part; never null.
class Platform {
public:
    explicit Platform(const PlatformParts& parts = {}) : parts_(parts) {}
    Clock& clock() const;
    CardStorage& card() const;
    Panel& panel() const;
    SerialEcho& serial_echo() const;
    HostInputs& inputs() const;

private:
    PlatformParts parts_;
};

const Platform& platform();
// Installs the parts a program has; set_platform({}) leaves only the defaults.
void set_platform(const PlatformParts& parts);

} // namespace ems
