// The firmware's window on the outside world. The desktop host implements it
// with Qt and real files; the tests implement it with fakes. Card paths are
// given as the firmware writes them ("SDCARD\\SPLASH.MIF"); the implementation
// maps them into its card folder.
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

// Broken-down local time as the C library gives it (tm_year from 1900, month 0..11).
struct LocalTime {
    int second = 0, minute = 0, hour = 0, day = 1, month = 0, year = 126;
};

enum class FileMode : uint8_t { Read, Write };

// Host sliders that the power-on sequence reads again.
enum class PowerOnSlider : uint8_t { Volts, Oat, Rpm };

class Platform {
public:
    virtual ~Platform() = default;

    // PC local date and time.
    virtual LocalTime local_time() = 0;

    // Card files. open returns a handle >= 0, or -1 when the file cannot be opened.
    // read/write return the number of bytes transferred (short on end or error).
    virtual int file_open(const char* card_path, FileMode mode) = 0;
    virtual size_t file_read(int handle, uint8_t* data, size_t length) = 0;
    virtual size_t file_write(int handle, const uint8_t* data, size_t length) = 0;
    // Closes the handle; false when buffered data could not be written out.
    virtual bool file_close(int handle) = 0;
    // Replaces dest by src in one step (rename) and makes that durable. False
    // when dest is read-only or the rename fails (dest untouched), or when the
    // rename could not be made durable.
    virtual bool file_replace(const char* src_path, const char* dest_path) = 0;
    virtual bool file_remove(const char* card_path) = 0;

    // Directory listing: handle >= 0 or -1; next fills name (NUL-terminated,
    // truncated to size) and returns false at the end.
    virtual int dir_open(const char* card_path) = 0;
    virtual bool dir_next(int handle, char* name, size_t size) = 0;
    virtual void dir_close(int handle) = 0;

    // A desktop message box (presentation set-up failures).
    virtual void message_box(const char* text) = 0;

    // Show the current frame buffer on the LCD panel.
    virtual void present() = 0;

    // State of a host check box.
    virtual bool check_box(CheckBox box) = 0;

    // Position of a host slider; show_slider_value writes it into the slider's value label.
    virtual int slider_position(PowerOnSlider) { return 0; }
    virtual void show_slider_value(PowerOnSlider) {}

    // One echoed serial line for the communications window. Called on the
    // serial receive thread: implementations must hand it over thread-safely.
    virtual void serial_echo(const char* line) = 0;
};

// The platform in use; never null (a silent do-nothing platform until set).
Platform& platform();
void set_platform(Platform* p);

} // namespace ems
