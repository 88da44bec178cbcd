#include "gps/nmea_rx.h"

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

void complete_sentence()
{
    NmeaRx& rx = nmea_rx;
    uint8_t sum = 0;
    for (uint16_t i = 0; i < rx.nmea_length; ++i) sum ^= uint8_t(rx.nmea_body[i]);

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

} // namespace

void ComPort1RxChar(const uint8_t* data, size_t count)
{
    for (size_t i = 0; i < count; ++i) receive_byte(char(data[i]));
}

} // namespace ems
