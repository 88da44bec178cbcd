#!/usr/bin/env python3
"""Writes a FlightGear stream for the examples: the lines FlightGear sends
with assets/flightgear/sorvik-ems.xml, ten a second, for a two-minute flight
of a Rotax-powered two-seater: engine running on the ground, take-off roll,
climb, and cruise with one lean-mixture excursion that takes the EGT above
its 800 C alarm limit for about ten seconds before the pilot richens again.

    python3 tools/flightgear/make_stream.py examples/flightgear_flight.csv

(the regenerate target runs it so; without a file name it writes to
standard output).

The flight is made up (no simulator was run); it is deterministic.
"""
import math
import sys

RATE = 10  # lines per second, as the protocol file asks
SECONDS = 120

# Phases: start time (s), RPM, ground speed (kt), climb (ft/min), EGT (C)
PHASES = [
    (0, 1900, 0, 0, 560),      # warm engine on the ground
    (10, 5500, None, 0, 690),  # take-off roll: speed builds up
    (25, 5300, 68, 900, 720),  # climb
    (60, 4900, 98, 0, 745),    # cruise
]
LEAN_START, LEAN_PEAK, LEAN_END = 78.0, 84.0, 94.0  # the lean excursion
LEAN_EGT = 828.0

FIELD_ELEVATION_FT = 1500.0
START_LAT, START_LON = 48.2510, 11.4020
TRACK_DEG = 262.0


def phase_at(t):
    current = PHASES[0]
    for p in PHASES:
        if t >= p[0]:
            current = p
    return current


def approach(value, target, rate, dt):
    """First-order lag of value towards target (rate per second)."""
    return value + (target - value) * min(1.0, rate * dt)


def f_of_c(c):
    return c * 9.0 / 5.0 + 32.0


def main():
    dt = 1.0 / RATE
    rpm, egt, cht, oil_t = 1900.0, 560.0, 85.0, 76.0
    gs, alt = 0.0, FIELD_ELEVATION_FT
    lat, lon = START_LAT, START_LON
    tank0, tank1 = 10.0, 6.0  # US gallons
    out = open(sys.argv[1], "w", newline="\n") if len(sys.argv) > 1 else sys.stdout
    out.write("# FlightGear stream (sorvik-ems protocol, 10 lines/s) made by tools/flightgear/make_stream.py:\n")
    out.write("# a two-minute flight: ground run, take-off, climb, cruise with a lean-mixture EGT excursion.\n")
    for i in range(SECONDS * RATE):
        t = i * dt
        start, p_rpm, p_gs, climb, p_egt = phase_at(t)
        rpm = approach(rpm, p_rpm, 1.5, dt)
        if p_gs is None:
            gs = min(62.0, gs + 4.2 * dt)  # accelerating on the runway
        else:
            gs = approach(gs, p_gs, 0.4, dt)
        alt += climb / 60.0 * dt
        target_egt = p_egt
        if LEAN_START <= t < LEAN_END:
            # lean towards the peak, then richen again
            if t < LEAN_PEAK:
                target_egt = p_egt + (LEAN_EGT - p_egt) * (t - LEAN_START) / (LEAN_PEAK - LEAN_START)
            else:
                target_egt = LEAN_EGT
        egt = approach(egt, target_egt, 0.8, dt)
        cht_target = 85 + (rpm - 1900) / 3600 * 25
        cht = approach(cht, cht_target, 0.05, dt)
        oil_t = approach(oil_t, 78 + (rpm - 1900) / 3600 * 14, 0.03, dt)
        oil_p = 2.2 + (rpm - 1900) / 3600 * 2.2 + 0.05 * math.sin(t * 1.3)  # bar
        throttle = (rpm - 1900) / 3600
        flow_lph = 6.0 + throttle * 21.0
        if LEAN_START <= t < LEAN_END:
            flow_lph -= 2.0
        flow_gph = flow_lph / 3.785411784
        tank0 = max(0.0, tank0 - flow_gph / 3600 * dt)
        volts = 13.9 + 0.1 * math.sin(t * 0.7) if rpm > 2500 else 13.5
        oat = 15.0 - (alt - FIELD_ELEVATION_FT) / 1000 * 2.0
        dist_nm = gs / 3600 * dt
        lat += dist_nm / 60 * math.cos(math.radians(TRACK_DEG))
        lon += dist_nm / 60 * math.sin(math.radians(TRACK_DEG)) / math.cos(math.radians(lat))
        track = TRACK_DEG + 0.4 * math.sin(t * 0.2)
        map_inhg = 14.0 + throttle * 14.5 - (alt - FIELD_ELEVATION_FT) / 1000.0
        rpm_shown = rpm + 8 * math.sin(t * 2.1)
        out.write("%.0f,%.2f,%.0f,%.0f,%.1f,%.1f,%.2f,%.2f,%.2f,%.2f,%.1f,%.6f,%.6f,%.0f,%.1f,%.1f\n" % (
            rpm_shown, map_inhg, f_of_c(egt), f_of_c(cht), f_of_c(oil_t), oil_p * 14.5038, flow_gph,
            tank0, tank1, volts, oat, lat, lon, alt, gs, track))
    if out is not sys.stdout:
        out.close()


if __name__ == "__main__":
    main()
