// EXPORT FLIGHT LOG TO SD CARD: FLIGHTS.CSV.
//
//   START UTC,FLIGHT TIME,PILOT,REGISTRATION,HOBBS,MAINTENANCE
//   2026-12-07T11:58:00Z,1:30:05,3,"G-ABCD",1234:30,49:30
//
// ASCII with CRLF line ends; times in ISO 8601 UTC; durations as hours and
// minutes (and seconds); hobbs and maintenance in hours:minutes whatever the
// display format. The registration is quoted, with a leading ' when it starts
// with a character a spreadsheet would read as a formula.
//
// The log in memory starts empty at every power-on, so an export must not
// lose what earlier exports wrote: the old file is copied into the new one
// and only flights whose row is not yet in it are added. The copy is written
// beside the old file and renamed over it once complete; on any failure the
// old file is left as it was.
#include <cctype>
#include <cstdio>
#include <cstring>

#include "ops/flight_log.h"
#include "system/card_files.h"
#include "system/clock.h"
#include "system/platform.h"
#include "ui/screen_ids.h"
#include "ui/screen.h"

namespace ems {

namespace {

constexpr const char* HEADER = "START UTC,FLIGHT TIME,PILOT,REGISTRATION,HOBBS,MAINTENANCE";
constexpr size_t LINE_MAX = 96; // longest row we write is well below this

// Static work space: no allocation at run time.
char entry_lines[FLIGHT_LOG_ENTRIES][LINE_MAX]; // rows of the entries, oldest first
bool entry_in_file[FLIGHT_LOG_ENTRIES];
uint8_t chunk[512];
char old_line[LINE_MAX];
const char* problem = "";

// The registration as a quoted CSV field, trailing blanks dropped.
void registration_field(char* out, size_t size, const char* reg)
{
    size_t n = std::strlen(reg);
    while (n > 0 && reg[n - 1] == ' ') --n;
    size_t o = 0;
    auto put = [&](char c) {
        if (o + 2 < size) out[o++] = c;
    };
    put('"');
    if (n > 0 && std::strchr("=+-@\t\r", reg[0]) != nullptr) put('\'');
    for (size_t i = 0; i < n; ++i) {
        const char c = reg[i] >= 32 && reg[i] <= 126 ? reg[i] : '?';
        if (c == '"') put('"');
        put(c);
    }
    out[o++] = '"';
    out[o] = 0;
}

void entry_line(char* out, const FlightLogEntry& e)
{
    ClockRecord s;
    seconds_to_clock(e.start_utc, s);
    char reg[2 * sizeof e.registration + 4];
    registration_field(reg, sizeof reg, e.registration);
    const uint32_t t = e.flight_seconds;
    std::snprintf(out, LINE_MAX, "%04u-%02u-%02uT%02u:%02u:%02uZ,%u:%02u:%02u,%u,%s,%u:%02u,%u:%02u",
                  unsigned(s.year + 1900), unsigned(s.month), unsigned(s.day), unsigned(s.hour),
                  unsigned(s.minute), unsigned(s.second), unsigned(t / 3600), unsigned(t / 60 % 60),
                  unsigned(t % 60), unsigned(e.pilot_number), reg, unsigned(e.hobbs.hobbs_hours),
                  unsigned(e.hobbs.hobbs_minutes), unsigned(e.hobbs.maint_hours), unsigned(e.hobbs.maint_minutes));
}

bool write_text(CardStorage& card, int handle, const char* text)
{
    const size_t n = std::strlen(text);
    return card.file_write(handle, reinterpret_cast<const uint8_t*>(text), n) == n;
}

bool write_line(CardStorage& card, int handle, const char* text)
{
    return write_text(card, handle, text) && write_text(card, handle, "\r\n");
}

// One complete line of the old file (CR dropped): the first must be our
// header; a later one that equals an entry's row marks that entry as exported.
bool old_line_seen(size_t index, size_t length, bool too_long)
{
    if (length > 0 && old_line[length - 1] == '\r') --length;
    old_line[length] = 0;
    if (index == 0) return !too_long && std::strcmp(old_line, HEADER) == 0;
    if (too_long) return true;
    for (uint8_t i = 0; i < FLIGHT_LOG_ENTRIES; ++i)
        if (!entry_in_file[i] && entry_lines[i][0] && std::strcmp(old_line, entry_lines[i]) == 0) entry_in_file[i] = true;
    return true;
}

// Copies the old file into the new one. "" on success, else the problem.
const char* copy_old_file(CardStorage& card, int out, bool& header_written)
{
    header_written = false;
    const int in = card.file_open(FLIGHT_LOG_FILE, FileMode::Read);
    if (in < 0) return card_lists(card, FLIGHT_LOG_FILE) ? "CANNOT READ OLD FILE" : "";

    const char* failure = "";
    size_t line_index = 0, length = 0;
    bool too_long = false;
    uint8_t last = '\n';
    size_t total = 0;
    for (;;) {
        const size_t got = card.file_read(in, chunk, sizeof chunk);
        if (got == 0) break;
        total += got;
        if (total > FLIGHT_LOG_FILE_MAX) {
            failure = "OLD FILE TOO LARGE";
            break;
        }
        if (card.file_write(out, chunk, got) != got) {
            failure = "CARD FULL";
            break;
        }
        for (size_t i = 0; i < got && !*failure; ++i) {
            const uint8_t c = chunk[i];
            if (c == '\n') {
                if (!old_line_seen(line_index++, length, too_long)) failure = "OLD FILE NOT A LOG";
                length = 0;
                too_long = false;
            } else if (length + 1 < LINE_MAX) {
                old_line[length++] = char(c);
            } else {
                too_long = true;
            }
        }
        if (*failure) break;
        last = chunk[got - 1];
    }
    card.file_close(in);
    if (*failure) return failure;
    if (total == 0) return ""; // an empty file is as good as none
    // A last line without its line end.
    if (last != '\n') {
        if (!old_line_seen(line_index++, length, too_long)) return "OLD FILE NOT A LOG";
        if (!write_text(card, out, "\r\n")) return "CARD FULL";
    }
    header_written = true;
    return "";
}

const char* write_file(CardStorage& card)
{
    const int out = card.file_open(FLIGHT_LOG_TEMP_FILE, FileMode::Write);
    // A file of ours left over is replaced, but not one the card will not
    // let go of (a link, a FIFO): only the user can clear it.
    if (out < 0) return card_lists(card, FLIGHT_LOG_TEMP_FILE) ? "REMOVE FLIGHTS.TMP" : "CANNOT CREATE FILE";
    bool header_written = false;
    const char* failure = copy_old_file(card, out, header_written);
    if (!*failure && !header_written && !write_line(card, out, HEADER)) failure = "CARD FULL";
    for (int i = 0; i < FLIGHT_LOG_ENTRIES && !*failure; ++i)
        if (entry_lines[i][0] && !entry_in_file[i] && !write_line(card, out, entry_lines[i])) failure = "CARD FULL";
    const bool closed = card.file_close(out);
    if (!*failure && !closed) failure = "CARD FULL";
    if (!*failure && !card.file_replace(FLIGHT_LOG_TEMP_FILE, FLIGHT_LOG_FILE)) failure = "CANNOT REPLACE FILE";
    if (*failure) card.file_remove(FLIGHT_LOG_TEMP_FILE);
    return failure;
}

} // namespace

bool flight_log_export()
{
    for (uint8_t i = 0; i < FLIGHT_LOG_ENTRIES; ++i) {
        entry_in_file[i] = false;
        entry_lines[i][0] = 0;
        // Oldest first: entry i of the file is the (count - 1 - i)th newest.
        if (i < flight.log_count) entry_line(entry_lines[i], *flight_log_entry(uint8_t(flight.log_count - 1 - i)));
    }
    problem = write_file(platform().card());
    if (*problem)
        show_screen(ScreenId::EXPORT_FAILED);
    else
        show_screen(ScreenId::DONE);
    return !*problem;
}

const char* flight_log_export_problem() { return problem; }

} // namespace ems
