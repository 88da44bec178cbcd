#include "ops/checklist.h"

#include "system/platform.h"

namespace ems {

namespace {

// Unicode code points of the Windows-1252 characters 0x80..0x9F, which the
// fonts draw there; 0 where the code page has no character.
constexpr uint16_t CP1252_HIGH[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,      //
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178, //
};

constexpr uint32_t BYTE_ORDER_MARK = 0xFEFF;

// The fonts' code for a code point of 0x80 and above, '?' when they lack it.
uint8_t latin1_of(uint32_t code)
{
    if (code >= 0xA0 && code <= 0xFF) return uint8_t(code);
    for (uint8_t i = 0; i < 32; ++i)
        if (CP1252_HIGH[i] != 0 && CP1252_HIGH[i] == code) return uint8_t(0x80 + i);
    return '?';
}

// Bytes in all of a sequence that starts with b; 0 when b cannot start one.
uint8_t sequence_length(uint8_t b)
{
    if (b >= 0xC2 && b <= 0xDF) return 2;
    if (b >= 0xE0 && b <= 0xEF) return 3;
    if (b >= 0xF0 && b <= 0xF4) return 4;
    return 0;
}

// Whether b may follow the bytes of seq so far (rejects overlong forms,
// surrogates and code points above U+10FFFF at the second byte).
bool continues(const uint8_t* seq, uint8_t len, uint8_t b)
{
    if (b < 0x80 || b > 0xBF) return false;
    if (len != 1) return true;
    switch (seq[0]) {
    case 0xE0: return b >= 0xA0;
    case 0xED: return b <= 0x9F;
    case 0xF0: return b >= 0x90;
    case 0xF4: return b <= 0x8F;
    default: return true;
    }
}

uint32_t decode(const uint8_t* seq, uint8_t len)
{
    uint32_t code = seq[0] & (len == 2 ? 0x1F : len == 3 ? 0x0F : 0x07);
    for (uint8_t i = 1; i < len; ++i) code = (code << 6) | (seq[i] & 0x3F);
    return code;
}

Checklist scratch; // the file is read here, so a failed read changes nothing

} // namespace

ChecklistReader::ChecklistReader(Checklist& out) : out_(out) { out_ = Checklist{}; }

void ChecklistReader::feed(const uint8_t* data, size_t size)
{
    for (size_t i = 0; i < size && !full(); ++i) byte(data[i]);
}

void ChecklistReader::finish()
{
    flush_pending();
    if (length_ > 0 && !full()) end_line();
}

void ChecklistReader::byte(uint8_t b)
{
    if (needed_ != 0) {
        if (continues(pending_, pending_len_, b)) {
            pending_[pending_len_++] = b;
            if (pending_len_ == needed_) {
                const uint32_t code = decode(pending_, pending_len_);
                pending_len_ = needed_ = 0;
                character(code);
            }
            return;
        }
        flush_pending(); // not UTF-8 after all: its bytes count as Latin-1
        if (full()) return;
    }
    const uint8_t len = sequence_length(b);
    if (len != 0) {
        pending_[0] = b;
        pending_len_ = 1;
        needed_ = len;
        return;
    }
    put(b);
}

void ChecklistReader::flush_pending()
{
    const uint8_t len = pending_len_;
    pending_len_ = needed_ = 0;
    for (uint8_t i = 0; i < len && !full(); ++i) put(pending_[i]);
}

void ChecklistReader::character(uint32_t code)
{
    if (code == BYTE_ORDER_MARK) return;
    put(code < 0x80 ? uint8_t(code) : latin1_of(code));
}

void ChecklistReader::put(uint8_t c)
{
    if (full()) return;
    if (c == '\n') {
        end_line();
    } else if (c != '\r' && length_ < CHECKLIST_LINE_BYTES - 1) {
        out_.lines[out_.line_count][length_++] = char(c);
    }
}

void ChecklistReader::end_line()
{
    out_.lines[out_.line_count][length_] = 0;
    ++out_.line_count;
    length_ = 0;
}

void checklist_parse(const uint8_t* data, size_t size, Checklist& out)
{
    ChecklistReader reader(out);
    reader.feed(data, size < CHECKLIST_MAX_FILE_BYTES ? size : CHECKLIST_MAX_FILE_BYTES);
    reader.finish();
}

bool checklist_load(const char* path, Checklist& out)
{
    CardStorage& card = platform().card();
    const int file = card.file_open(path, FileMode::Read);
    if (file < 0) return false;
    ChecklistReader reader(scratch);
    uint8_t block[128];
    size_t total = 0;
    while (!reader.full() && total < CHECKLIST_MAX_FILE_BYTES) {
        const size_t got = card.file_read(file, block, sizeof block);
        if (got == 0) break;
        reader.feed(block, got);
        total += got;
    }
    card.file_close(file);
    reader.finish();
    out = scratch;
    return true;
}

} // namespace ems
