// NMEA 0183 receive side: the byte-level framing state machine that runs on
// the serial receive thread, checks each sentence's checksum, echoes good
// sentences to the communications window and hands the bodies of the types in
// nmea_sentences.h to the main loop through the slots of `nmea` (gps_data.h).
#pragma once
#include <cstddef>
#include <cstdint>

#include "gps/gps_data.h"

namespace ems {

// Framing states: waiting for "$", in the body, first and second checksum
// character, waiting for CR, waiting for LF.
constexpr uint8_t NMEA_WAIT_START = 0;
constexpr uint8_t NMEA_IN_BODY = 1;
constexpr uint8_t NMEA_CHECKSUM_1 = 2;
constexpr uint8_t NMEA_CHECKSUM_2 = 3;
constexpr uint8_t NMEA_WAIT_CR = 4;
constexpr uint8_t NMEA_WAIT_LF = 5;

// Owned by the receive thread alone. Persists across power cycles and
// connects; `nmea_rx = NmeaRx{}` is the program-start state.
struct NmeaRx {
    uint8_t nmea_state = NMEA_WAIT_START;    // framing state 0..5
    char nmea_body[NMEA_BODY_MAX + 1] = {};  // body between "$" and "*"; terminated on completion
    uint16_t nmea_length = 0;                // characters in nmea_body, 0..200
    char nmea_checksum_text[3] = {};         // the two checksum characters and a terminator
};
extern NmeaRx nmea_rx;

// Value of a hexadecimal number: leading blanks and tabs skipped, then 0-9,
// A-F and a-f accumulated until the first other character (0 when none).
// Values beyond 32 bits wrap.
uint32_t nmea_hex_value(const char* text);

// The host's serial receive event: feeds `count` bytes, in order, to the
// framing state machine; a "$" always starts a new sentence, dropping any
// unfinished one. Runs on the serial receive thread; calls
// platform().serial_echo().echo with each good body. data may be null when count is 0.
void ComPort1RxChar(const uint8_t* data, size_t count);

} // namespace ems
