#include "gps/nmea_rx.h"

#include <bit>
#include <cstring>

#include "system/platform.h"

namespace ems {

NmeaRx nmea_rx;

uint32_t nmea_hex_value(const char* text)
{
    while (*text == ' ' || *text == '\t') ++text;
    uint32_t value = 0;
    for (;; ++text) {
        const char c = *text;
        uint32_t digit;
        if (c >= '0' && c <= '9')
            digit = uint32_t(c - '0');
        else if (c >= 'A' && c <= 'F')
            digit = uint32_t(c - 'A' + 10);
        else if (c >= 'a' && c <= 'f')
            digit = uint32_t(c - 'a' + 10);
        else
            return value;
        value = value * 16 + digit;
    }
}

namespace {

// Copies a body into its slot if the main loop has taken the previous one;
// otherwise the new body is lost and the waiting one kept.
void hand_over(std::atomic<uint8_t>& flag, char* slot, const char* body, size_t length)
{
    if (flag.load(std::memory_order_acquire) != 0) return;
    std::memcpy(slot, body, length);
    slot[length] = '\0';
    flag.store(1, std::memory_order_release);
}

// The exclusive or of n characters, eight at a time.
uint8_t xor_of(const char* text, size_t n)
{
    uint64_t words = 0;
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t w;
        std::memcpy(&w, text + i, 8);
        words ^= w;
    }
    words ^= words >> 32;
    words ^= words >> 16;
    words ^= words >> 8;
    uint8_t sum = uint8_t(words);
    for (; i < n; ++i) sum ^= uint8_t(text[i]);
    return sum;
}

void complete_sentence()
{
    NmeaRx& rx = nmea_rx;
    const uint8_t sum = xor_of(rx.nmea_body, rx.nmea_length);

    rx.nmea_checksum_text[2] = '\0';
    if (nmea_hex_value(rx.nmea_checksum_text) != sum) return;

    rx.nmea_body[rx.nmea_length] = '\0';
    platform().serial_echo().echo(rx.nmea_body);

    nmea.nmea_active.store(1, std::memory_order_relaxed);
    nmea.gps_data_timeout.store(3, std::memory_order_relaxed);

    if (const NmeaSentence* s = nmea_sentence_of({rx.nmea_body, rx.nmea_length}))
        hand_over(nmea.*s->flag, nmea.*s->slot, rx.nmea_body, rx.nmea_length);
}

void receive_byte(char c)
{
    NmeaRx& rx = nmea_rx;
    // A "$" starts a new sentence wherever it comes: a sentence cut short on
    // the line is given up, and the one that follows it is not lost with it.
    if (c == '$') {
        rx.nmea_length = 0;
        rx.nmea_state = NMEA_IN_BODY;
        return;
    }
    switch (rx.nmea_state) {
    case NMEA_WAIT_START:
        break;
    case NMEA_IN_BODY:
        if (c == '*') {
            rx.nmea_state = NMEA_CHECKSUM_1;
        } else if (rx.nmea_length < NMEA_BODY_MAX) {
            rx.nmea_body[rx.nmea_length++] = c;
        } else {
            rx.nmea_state = NMEA_WAIT_START; // body too long: sentence dropped
        }
        break;
    case NMEA_CHECKSUM_1:
        rx.nmea_checksum_text[0] = c;
        rx.nmea_state = NMEA_CHECKSUM_2;
        break;
    case NMEA_CHECKSUM_2:
        rx.nmea_checksum_text[1] = c;
        rx.nmea_state = NMEA_WAIT_CR;
        break;
    case NMEA_WAIT_CR:
        rx.nmea_state = c == '\r' ? NMEA_WAIT_LF : NMEA_WAIT_START;
        break;
    case NMEA_WAIT_LF:
        if (c == '\n') complete_sentence();
        rx.nmea_state = NMEA_WAIT_START;
        break;
    default: // never reached; recover by waiting for the next "$"
        rx.nmea_state = NMEA_WAIT_START;
        break;
    }
}

// The bytes of a word equal to c, each marked by its top bit; only the
// lowest marked byte is sure (a borrow may mark bytes above it), and only
// that one is used.
inline uint64_t bytes_equal(uint64_t word, char c)
{
    constexpr uint64_t ONES = 0x0101010101010101ull, TOPS = 0x8080808080808080ull;
    const uint64_t x = word ^ (ONES * uint8_t(c));
    return (x - ONES) & ~x & TOPS;
}

// Takes the body characters at the start of [p, end) in one run, up to the
// first "$" or "*" (which the state machine then takes) or to the character
// that makes the body too long (dropped with the sentence, as one at a time
// would). Eight characters are looked at and copied at once while the body
// has room for them. Returns where the run stopped.
const uint8_t* receive_body_run(const uint8_t* p, const uint8_t* end)
{
    NmeaRx& rx = nmea_rx;
    char* body = rx.nmea_body + rx.nmea_length;
    char* const full = rx.nmea_body + NMEA_BODY_MAX;
    while (std::endian::native == std::endian::little && end - p >= 8 && full - body >= 8) {
        uint64_t word;
        std::memcpy(&word, p, 8);
        if (const uint64_t marks = bytes_equal(word, '$') | bytes_equal(word, '*'); marks != 0) {
            const int take = std::countr_zero(marks) / 8;
            std::memcpy(body, p, size_t(take));
            body += take;
            p += take;
            break;
        }
        std::memcpy(body, p, 8);
        body += 8;
        p += 8;
    }
    for (; p != end && *p != '$' && *p != '*'; ++p) {
        if (body == full) {
            rx.nmea_length = NMEA_BODY_MAX;
            rx.nmea_state = NMEA_WAIT_START; // body too long: sentence dropped
            return p + 1;
        }
        *body++ = char(*p);
    }
    rx.nmea_length = uint16_t(body - rx.nmea_body);
    return p;
}

} // namespace

void ComPort1RxChar(const uint8_t* data, size_t count)
{
    // Between sentences only a "$" matters, and inside a body only "$" and
    // "*": both are skimmed in runs, everything else goes byte by byte.
    const uint8_t* p = data;
    const uint8_t* const end = data + count;
    while (p != end) {
        if (nmea_rx.nmea_state == NMEA_WAIT_START && *p != '$') {
            // Usually the "$" comes right after the last sentence's LF.
            p = static_cast<const uint8_t*>(std::memchr(p, '$', size_t(end - p)));
            if (p == nullptr) return;
        } else if (nmea_rx.nmea_state == NMEA_IN_BODY) {
            p = receive_body_run(p, end);
            if (p == end || nmea_rx.nmea_state != NMEA_IN_BODY) continue;
        }
        receive_byte(char(*p++));
    }
}

} // namespace ems
