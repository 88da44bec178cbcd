#include "system/platform.h"

namespace ems {
namespace {

// Stands in until the host or a test installs its own: no card, no boxes ticked.
class NullPlatform final : public Platform {
public:
    LocalTime local_time() override { return {}; }
    int file_open(const char*, FileMode) override { return -1; }
    size_t file_read(int, uint8_t*, size_t) override { return 0; }
    size_t file_write(int, const uint8_t*, size_t) override { return 0; }
    bool file_close(int) override { return false; }
    bool file_replace(const char*, const char*) override { return false; }
    bool file_remove(const char*) override { return false; }
    int dir_open(const char*) override { return -1; }
    bool dir_next(int, char*, size_t) override { return false; }
    void dir_close(int) override {}
    void message_box(const char*) override {}
    void present() override {}
    bool check_box(CheckBox) override { return false; }
    void serial_echo(const char*) override {}
};

NullPlatform null_platform;
Platform* current = &null_platform;

} // namespace

Platform& platform() { return *current; }
void set_platform(Platform* p) { current = p ? p : &null_platform; }

} // namespace ems
