// The NMEA sentences the instrument takes from talker GP, one row each, in
// the order the main loop parses them: X(name, identifier).
//
// From a row come the sentence's slot `nmea.nmea_<name>` and its flag
// `nmea.nmea_<name>_new` (gps_data.h), its entry in `NMEA_SENTENCES` (which
// the receive side, the main loop and the host feeders walk), and its parse
// step `nmea_parse_<name>()`, which reads the slot with `read_<name>` and
// applies the fields with `apply_<name>` (nmea_fields.h).
#pragma once

#define EMS_NMEA_SENTENCE_ROWS(X)                                                                 \
    X(rmc, "RMC")                                                                                 \
    X(gga, "GGA")                                                                                 \
    X(gsa, "GSA")                                                                                 \
    X(gsv, "GSV")
