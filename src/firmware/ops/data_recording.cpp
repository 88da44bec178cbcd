#include "ops/data_recording.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "gfx/draw.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "ops/flight_log.h"
#include "pages/run_screen.h"
#include "settings/settings.h"
#include "system/clock.h"
#include "system/platform.h"
#include "system/system_state.h"
#include "system/tick.h"
#include "ui/notices.h"
#include "ui/screen.h"

namespace ems {

RecordingState recording;

namespace {

constexpr uint32_t TICKS_PER_SECOND = 10;
char line[RECORDING_LINE_MAX]; // work space for one line

// Shows a notice over whatever screen is active; any key goes back to it.
// The way back is kept apart from return_screen, so a notice of another
// subsystem that is showing (and its own way back) stays intact.
void notice(ScreenFn screen)
{
    if (ScreenHandler == screen_recording_stopped || ScreenHandler == screen_recording_no_card) return;
    recording.notice_return = ScreenHandler;
    ScreenHandler = screen;
}

// Hands the buffer to the card; false when the card took it no more.
bool flush()
{
    recording.unflushed = 0;
    if (recording.used == 0) return true;
    const bool ok = platform().card().append_write(recording.handle, reinterpret_cast<const uint8_t*>(recording.buffer),
                                                  recording.used);
    recording.used = 0;
    return ok;
}

// Writes what is buffered and closes the file; false when either failed.
bool close_file()
{
    if (recording.handle < 0) return true;
    const bool flushed = flush();
    const bool closed = platform().card().append_close(recording.handle);
    recording.handle = -1;
    return flushed && closed;
}

// Ends the recording for the rest of the flight and says why.
void stop(const char* problem)
{
    close_file();
    recording.used = 0;
    recording.stopped = 1;
    recording.problem = problem;
    notice(screen_recording_stopped);
}

bool append(const char* text)
{
    const size_t n = std::strlen(text);
    if (recording.used + n + 2 > sizeof recording.buffer && !flush()) return false;
    std::memcpy(recording.buffer + recording.used, text, n);
    std::memcpy(recording.buffer + recording.used + n, "\r\n", 2);
    recording.used += n + 2;
    return true;
}

// "26120701.CSV": is name one of this date's recordings, and which number?
int number_of(const char* name, const char* date)
{
    for (int i = 0; i < 6; ++i)
        if (name[i] != date[i]) return 0;
    if (!std::isdigit(uint8_t(name[6])) || !std::isdigit(uint8_t(name[7]))) return 0;
    const char* ext = ".CSV";
    for (int i = 0; i < 4; ++i)
        if (std::toupper(uint8_t(name[8 + i])) != ext[i]) return 0;
    return name[12] == 0 ? (name[6] - '0') * 10 + (name[7] - '0') : 0;
}

// The card path of the next recording of the UTC date, or false when the
// day's 99 numbers are used up.
bool next_file_name(CardStorage& card, char* path, size_t size)
{
    ClockRecord d;
    seconds_to_clock(clk.utc_seconds, d);
    char date[16];
    std::snprintf(date, sizeof date, "%02u%02u%02u", unsigned(d.year % 100), unsigned(d.month % 100),
                  unsigned(d.day % 100));
    int highest = 0;
    const int dir = card.dir_open(RECORDING_FOLDER);
    if (dir >= 0) {
        char name[64];
        while (card.dir_next(dir, name, sizeof name)) {
            const int n = number_of(name, date);
            if (n > highest) highest = n;
        }
        card.dir_close(dir);
    }
    if (highest >= 99) return false;
    std::snprintf(path, size, "%s\\%s%02d.CSV", RECORDING_FOLDER, date, highest + 1);
    return true;
}

// A new file with its header; its first record (T 0) falls due at first_tick.
bool open_file(uint32_t first_tick)
{
    CardStorage& card = platform().card();
    if (!card.folder_create(RECORDING_FOLDER)) {
        recording.stopped = 1;
        recording.problem = "NO CARD";
        notice(screen_recording_no_card);
        return false;
    }
    if (!recording_header(recording.header, sizeof recording.header)) {
        stop("TOO MANY COLUMNS");
        return false;
    }
    if (!next_file_name(card, recording.file, sizeof recording.file)) {
        stop("TOO MANY FILES");
        return false;
    }
    recording.handle = card.append_open(recording.file);
    if (recording.handle < 0) {
        stop("CANNOT CREATE FILE");
        return false;
    }
    recording.used = 0;
    recording.unflushed = 0;
    recording.seconds = 0;
    recording.next_tick = first_tick;
    append(recording.header);
    return true;
}

// The records that have fallen due since the last pass, each stamped with
// the clock as it read at its second.
void write_due_records()
{
    const uint32_t behind = tick.ticks - recording.next_tick;
    if (behind > UINT32_MAX / 2) return; // not yet due
    const uint32_t due = behind / TICKS_PER_SECOND + 1;
    for (uint32_t i = 0; i < due; ++i) {
        const uint32_t utc = clk.utc_seconds - (due - 1 - i);
        if (!recording_record(line, sizeof line, utc, recording.seconds) || !append(line)) {
            stop("CARD FULL");
            return;
        }
        ++recording.seconds;
        recording.next_tick += TICKS_PER_SECOND;
        if (++recording.unflushed >= RECORDING_FLUSH_SECONDS && !flush()) {
            stop("CARD FULL");
            return;
        }
    }
}

} // namespace

void data_recording_pass()
{
    if (flight.flight_in_progress != 1 || settings.data_recording != 1) {
        // The seconds up to STOP (or OFF) still go in.
        if (recording.handle >= 0) write_due_records();
        if (!close_file()) stop("CARD FULL");
        recording.stopped = 0;
        recording.card_out = 0;
        return;
    }
    if (recording.stopped) return;
    if (sys.sd_card_mounted != 1) {
        if (!recording.card_out) {
            close_file();
            recording.card_out = 1;
            notice(screen_recording_no_card);
        }
        return;
    }
    recording.card_out = 0;
    if (recording.handle < 0) {
        open_file(tick.ticks);
    } else {
        if (tick.ticks - recording.next_tick > UINT32_MAX / 2) return; // no record due yet
        // Units or channels changed: this file ends, the next one goes on
        // from the first second this one has not recorded.
        if (!recording_header(line, sizeof line) || std::strcmp(line, recording.header) != 0) {
            const uint32_t first_tick = recording.next_tick;
            if (!close_file()) return stop("CARD FULL");
            open_file(first_tick);
        }
    }
    if (recording.handle >= 0) write_due_records();
}

void data_recording_close()
{
    close_file();
    recording.used = 0;
}

void screen_recording_stopped()
{
    clear_screen();
    draw_rect(40, 96, 440, 176, COLOUR_WHITE);
    fill_rect(41, 97, 439, 175, COLOUR_RED);
    draw_text(240, 104, "RECORDING STOPPED", 16, ALIGN_CENTRE, COLOUR_WHITE);
    draw_text(240, 138, recording.problem, 16, ALIGN_CENTRE, COLOUR_WHITE);
    if (KeyEvent == KEY_NONE) return;
    ScreenHandler = recording.notice_return ? recording.notice_return : run_screen;
    KeyEvent = KEY_NONE;
}

void screen_recording_no_card()
{
    const ScreenFn others = return_screen;
    return_screen = recording.notice_return ? recording.notice_return : run_screen;
    screen_insert_card();
    return_screen = others;
}

} // namespace ems
