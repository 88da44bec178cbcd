#include "host/state/core/save_state.h"

#include <array>
#include <cstring>
#include <type_traits>

#include "sensors/hobbs.h"

namespace host {

namespace {

constexpr char MAGIC[8] = {'S', 'O', 'R', 'V', 'S', 'T', 'A', 'T'};
constexpr size_t HEADER_BYTES = 20;
constexpr size_t SETTINGS_BLOCK_BYTES = sizeof(ems::UnitSettings);
static_assert(SETTINGS_BLOCK_BYTES + 2 == ems::SETTINGS_FILE_BYTES, "the block as the settings file holds it");

constexpr std::array<uint32_t, 256> crc32_table()
{
    std::array<uint32_t, 256> t{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        t[i] = c;
    }
    return t;
}
constexpr std::array<uint32_t, 256> CRC32 = crc32_table();

uint32_t crc32(std::string_view bytes)
{
    uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : bytes) c = CRC32[(c ^ b) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

// Writes whole numbers little-endian; pass() hands the value back unchanged.
struct Writer {
    std::string& out;
    template <class T> T pass(T v)
    {
        static_assert(std::is_integral_v<T>);
        using U = std::make_unsigned_t<T>;
        const U u = U(v);
        for (size_t i = 0; i < sizeof(T); ++i) out.push_back(char(uint8_t(u >> (8 * i))));
        return v;
    }
};

// Reads what Writer wrote; pass() returns the value read, or 0 past the end.
struct Reader {
    std::string_view in;
    size_t pos = 0;
    bool short_read = false;
    template <class T> T pass(T)
    {
        static_assert(std::is_integral_v<T>);
        using U = std::make_unsigned_t<T>;
        if (in.size() - pos < sizeof(T)) {
            short_read = true;
            return T(0);
        }
        U u = 0;
        for (size_t i = 0; i < sizeof(T); ++i) u = U(u | U(uint8_t(in[pos + i])) << (8 * i));
        pos += sizeof(T);
        return T(u);
    }
    bool whole() const { return !short_read && pos == in.size(); }
};

// Each record's fields once, for writing and reading alike. Members of packed
// structs are passed by value, so they are assigned rather than bound.
#define PASS(io, x) ((x) = (io).pass(x))

template <class IO> void pass_calibration(IO& io, ems::CalibrationConstants& c)
{
    PASS(io, c.volts_cal_percent);
    PASS(io, c.oat_cal_offset);
    PASS(io, c.map_cal_offset);
    for (auto& zero : c.current_zero) PASS(io, zero);
    PASS(io, c.main_current_zero);
    PASS(io, c.serial_number);
}

template <class IO> void pass_hobbs(IO& io, ems::HobbsMaintenance& h)
{
    PASS(io, h.hobbs_minutes);
    PASS(io, h.hobbs_hours);
    PASS(io, h.maint_minutes);
    PASS(io, h.maint_hours);
}

template <class IO> void pass_counters(IO& io, ems::FuelHobbs& c)
{
    PASS(io, c.fuel.fuel_used1);
    PASS(io, c.fuel.fuel_used2);
    PASS(io, c.fuel.tank1_contents);
    PASS(io, c.fuel.tank2_contents);
    pass_hobbs(io, c.hobbs);
}

template <class IO> void pass_flight(IO& io, ems::FlightLogState& f)
{
    PASS(io, f.flight_in_progress);
    PASS(io, f.flight_time);
    PASS(io, f.flight_start_utc);
    for (auto& e : f.log) {
        PASS(io, e.start_utc);
        PASS(io, e.flight_seconds);
        PASS(io, e.pilot_number);
        for (auto& ch : e.registration) PASS(io, ch);
        pass_hobbs(io, e.hobbs);
    }
    PASS(io, f.log_count);
    PASS(io, f.log_next);
    PASS(io, f.log_view_pos);
    PASS(io, f.detect_hold);
    PASS(io, f.detect_fail);
}

#undef PASS

void put_section(std::string& out, const char* tag, const std::string& body)
{
    out.append(tag, 4);
    Writer w{out};
    w.pass(uint32_t(body.size()));
    out += body;
}

std::string host_text(const SaveState& s)
{
    std::string text;
    for (const auto& [key, value] : s.host) text += key + '=' + value + '\n';
    return text;
}

std::string encode_payload(const SaveState& s)
{
    SaveState copy = s; // the passes take their records by reference
    std::string payload, body;
    body.assign(reinterpret_cast<const char*>(&copy.settings), SETTINGS_BLOCK_BYTES);
    put_section(payload, "SETS", body);
    body.clear();
    Writer w{body};
    pass_calibration(w, copy.calibration);
    put_section(payload, "CALI", body);
    body.clear();
    pass_counters(w, copy.counters);
    put_section(payload, "CNTS", body);
    body.clear();
    pass_flight(w, copy.flight);
    put_section(payload, "FLOG", body);
    body.clear();
    w.pass(copy.run_page);
    put_section(payload, "PAGE", body);
    put_section(payload, "HOST", host_text(s));
    return payload;
}

bool minutes_ok(const ems::HobbsMaintenance& h)
{
    return h.hobbs_minutes < 60 && h.maint_minutes < 60 && h.hobbs_hours <= ems::HOBBS_HOURS_MAX;
}

const char* check_calibration(const ems::CalibrationConstants& c)
{
    if (c.volts_cal_percent < 50 || c.volts_cal_percent > 150) return "the volts calibration";
    if (c.oat_cal_offset < -20 || c.oat_cal_offset > 20) return "the OAT calibration";
    if (c.map_cal_offset < -50 || c.map_cal_offset > 50) return "the MAP calibration";
    return nullptr;
}

const char* check_flight(const ems::FlightLogState& f)
{
    if (f.flight_in_progress > 1) return "the flight in progress";
    if (f.log_count > ems::FLIGHT_LOG_ENTRIES || f.log_next >= ems::FLIGHT_LOG_ENTRIES ||
        f.log_view_pos >= ems::LOG_VIEW_POSITIONS)
        return "the flight log's place";
    for (const auto& e : f.log) {
        if (std::memchr(e.registration, 0, sizeof e.registration) == nullptr) return "a registration in the flight log";
        if (!minutes_ok(e.hobbs)) return "a hobbs time in the flight log";
    }
    return nullptr;
}

bool parse_host(std::string_view text, std::vector<std::pair<std::string, std::string>>& out)
{
    while (!text.empty()) {
        const size_t end = text.find('\n');
        if (end == std::string_view::npos) return false; // every line ends with a line feed
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        const size_t eq = line.find('=');
        if (eq == 0 || eq == std::string_view::npos) return false;
        if (eq > SAVE_STATE_HOST_TEXT || line.size() - eq - 1 > SAVE_STATE_HOST_TEXT) return false;
        if (out.size() == SAVE_STATE_HOST_LINES) return false;
        out.emplace_back(std::string(line.substr(0, eq)), std::string(line.substr(eq + 1)));
    }
    return true;
}

struct Sections {
    static constexpr const char* TAGS[] = {"SETS", "CALI", "CNTS", "FLOG", "PAGE", "HOST"};
    std::string_view body[std::size(TAGS)];
    bool seen[std::size(TAGS)] = {};
};

// Splits the payload; false on a section cut short, an unknown, repeated or missing one.
bool split_sections(std::string_view payload, Sections& s)
{
    while (!payload.empty()) {
        if (payload.size() < 8) return false;
        Reader r{payload.substr(4, 4)};
        const uint32_t length = r.pass(uint32_t{});
        if (payload.size() - 8 < length) return false;
        size_t i = 0;
        while (i < std::size(Sections::TAGS) && payload.substr(0, 4) != Sections::TAGS[i]) ++i;
        if (i == std::size(Sections::TAGS) || s.seen[i]) return false;
        s.seen[i] = true;
        s.body[i] = payload.substr(8, length);
        payload.remove_prefix(8 + length);
    }
    for (bool seen : s.seen)
        if (!seen) return false;
    return true;
}

template <class Record, class Pass> bool read_record(std::string_view body, Record& record, Pass pass)
{
    Reader r{body};
    pass(r, record);
    return r.whole();
}

// Reads the sections into s; a sentence for the user on failure.
std::string decode_sections(const Sections& sections, SaveState& s)
{
    const std::string_view* b = sections.body;
    if (b[0].size() != SETTINGS_BLOCK_BYTES) return "its settings block has the wrong size";
    std::memcpy(static_cast<void*>(&s.settings), b[0].data(), SETTINGS_BLOCK_BYTES);
    if (const char* field = ems::settings_validate(s.settings))
        return std::string("its settings are out of range (") + field + ")";
    if (!read_record(b[1], s.calibration, [](Reader& r, auto& c) { pass_calibration(r, c); }))
        return "its calibration section is damaged";
    if (const char* what = check_calibration(s.calibration)) return std::string(what) + " is out of range";
    if (!read_record(b[2], s.counters, [](Reader& r, auto& c) { pass_counters(r, c); }))
        return "its counters section is damaged";
    if (!minutes_ok(s.counters.hobbs)) return "the hobbs or maintenance time is out of range";
    if (!read_record(b[3], s.flight, [](Reader& r, auto& f) { pass_flight(r, f); }))
        return "its flight log section is damaged";
    if (const char* what = check_flight(s.flight)) return std::string(what) + " is out of range";
    if (!read_record(b[4], s.run_page, [](Reader& r, uint8_t& p) { p = r.pass(p); }) || s.run_page > 4)
        return "its page is out of range";
    if (!parse_host(b[5], s.host)) return "its window section is damaged";
    return {};
}

} // namespace

std::string encode_save_state(const SaveState& state)
{
    const std::string payload = encode_payload(state);
    std::string out(MAGIC, sizeof MAGIC);
    Writer w{out};
    w.pass(SAVE_STATE_VERSION);
    w.pass(uint16_t{0});
    w.pass(uint32_t(payload.size()));
    w.pass(crc32(payload));
    return out + payload;
}

bool decode_save_state(std::string_view bytes, SaveState& out, std::string& error)
{
    if (bytes.size() > SAVE_STATE_MAX_BYTES) {
        error = "it is too large to be a save state";
        return false;
    }
    if (bytes.size() < HEADER_BYTES || bytes.substr(0, sizeof MAGIC) != std::string_view(MAGIC, sizeof MAGIC)) {
        error = "it is not a save state";
        return false;
    }
    Reader header{bytes.substr(sizeof MAGIC, HEADER_BYTES - sizeof MAGIC)};
    const uint16_t version = header.pass(uint16_t{});
    header.pass(uint16_t{});
    const uint32_t length = header.pass(uint32_t{});
    const uint32_t crc = header.pass(uint32_t{});
    if (version > SAVE_STATE_VERSION || version == 0) {
        error = "it was saved by another version of the simulator (state format " + std::to_string(version) +
                "; this one reads format " + std::to_string(SAVE_STATE_VERSION) + ")";
        return false;
    }
    const std::string_view payload = bytes.substr(HEADER_BYTES);
    if (payload.size() != length) {
        error = payload.size() < length ? "it is cut short" : "it has bytes after its end";
        return false;
    }
    if (crc32(payload) != crc) {
        error = "it is damaged (its checksum does not match)";
        return false;
    }
    Sections sections;
    if (!split_sections(payload, sections)) {
        error = "it is damaged (its sections do not add up)";
        return false;
    }
    SaveState read;
    error = decode_sections(sections, read);
    if (!error.empty()) return false;
    out = std::move(read);
    return true;
}

const std::string* save_state_value(const SaveState& state, std::string_view key)
{
    for (const auto& [k, v] : state.host)
        if (k == key) return &v;
    return nullptr;
}

} // namespace host
