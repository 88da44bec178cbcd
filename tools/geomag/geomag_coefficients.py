#!/usr/bin/env python3
"""Writes geomag_coefficients.cpp, the World Magnetic Model coefficient rows,
from the published coefficient file (a header line, rows of
"n m g h gdot hdot", then lines of 9s).

Usage, from the repository root (the regenerate target runs it so):
  python3 tools/geomag/geomag_coefficients.py tools/geomag/data/WMM2020.COF src/firmware/gps/geomag_coefficients.cpp
The paths are written into the output's header as given.
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from generated_source import arguments, write_if_changed  # noqa: E402

ROWS = 90  # n = 1..12, m = 0..n


def load(path):
    rows = []
    with open(path) as f:
        for line in f:
            fields = line.split()
            if len(fields) == 6:
                rows.append((int(fields[0]), int(fields[1])) + tuple(float(v) for v in fields[2:]))
    expected = [(n, m) for n in range(1, 13) for m in range(n + 1)]
    if [r[:2] for r in rows] != expected:
        raise SystemExit(f"{path}: expected {ROWS} rows n = 1..12, m = 0..n in order")
    return rows


def main():
    source, output = arguments("geomag_coefficients.py COEFFICIENTS.COF OUTPUT.cpp")
    out = [
        "// World Magnetic Model 2020 (WMM-2020, epoch 2020.0, released 10 Dec 2019 by",
        "// NOAA NCEI and BGS): the 90 coefficient rows of the published coefficient",
        "// file WMM.COF, in its order. A US Government work, not subject to copyright.",
        "//",
        "// Generated from the coefficient file by:",
        f"//   python3 tools/geomag/geomag_coefficients.py {source} {output}",
        "// Do not edit by hand.",
        '#include "gps/geomag.h"',
        "",
        "namespace ems {",
        "",
        "const GeomagCoefficient WMM2020_COEFFICIENTS[WMM2020_ROWS] = {",
    ]
    for n, m, g, h, gdot, hdot in load(source):
        out.append("    {%2d, %2d, %9.1ff, %9.1ff, %6.1ff, %6.1ff}," % (n, m, g, h, gdot, hdot))
    out += ["};", "", "} // namespace ems"]
    write_if_changed(output, "\n".join(out) + "\n")


if __name__ == "__main__":
    main()
