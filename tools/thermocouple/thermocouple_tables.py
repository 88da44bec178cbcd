#!/usr/bin/env python3
"""Writes thermocouple_tables.cpp from the IPTS-68 reference tables (NBS
Monograph 125) kept as CSV files (header "celsius,microvolts", one row per
10 degree C point).

Usage, from the repository root (the regenerate target runs it so):
  python3 tools/thermocouple/thermocouple_tables.py tools/thermocouple/data src/firmware/sensors/thermocouple_tables.cpp
where the data folder holds thermocouple_ipts68_{K,J,E}.csv. The paths are
written into the output's header as given.
"""
import csv
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from generated_source import arguments, write_if_changed  # noqa: E402


def load(path):
    with open(path, newline="") as f:
        rows = list(csv.reader(f))
    if rows[0] != ["celsius", "microvolts"]:
        raise SystemExit(f"{path}: unexpected header {rows[0]}")
    points = [(int(t), int(e)) for t, e in rows[1:] if t]
    for (t0, e0), (t1, e1) in zip(points, points[1:]):
        if t1 - t0 != 10 or e1 <= e0:
            raise SystemExit(f"{path}: rows {t0}, {t1} not a rising 10 degree step")
    return points


def main():
    data, output = arguments("thermocouple_tables.py DATA_DIR OUTPUT.cpp")
    out = [
        "// IPTS-68 thermocouple reference tables of types K, J and E at 10 degree C",
        "// points, EMF in microvolts with the reference junction at 0 C (NBS",
        "// Monograph 125, 1974).",
        "// Generated, do not edit:",
        f"//   python3 tools/thermocouple/thermocouple_tables.py {data} {output}",
        "// from thermocouple_ipts68_K.csv, thermocouple_ipts68_J.csv, thermocouple_ipts68_E.csv.",
        '#include "sensors/thermocouple.h"',
        "",
        "namespace ems {",
        "namespace {",
        "",
    ]
    headers = []
    for kind in "KJE":
        pts = load(os.path.join(data, f"thermocouple_ipts68_{kind}.csv"))
        out.append(f"// Type {kind}: {pts[0][0]} to {pts[-1][0]} C, {len(pts)} points.")
        out.append(f"constexpr int32_t EMF_{kind}[{len(pts)}] = {{")
        for i in range(0, len(pts), 10):
            chunk = pts[i:i + 10]
            out.append(f"    /* {chunk[0][0]:5d} */ " + ", ".join(str(e) for _, e in chunk) + ",")
        out.append("};")
        out.append("")
        headers.append(f"    {{{len(pts)}, 10, {pts[0][0] * 10}, EMF_{kind}}}, // {kind}")
    out.append("} // namespace")
    out.append("")
    out.append("const TcTable TC_TABLES[3] = {")
    out.extend(headers)
    out.append("};")
    out.append("")
    out.append("} // namespace ems")
    write_if_changed(output, "\n".join(out) + "\n")


if __name__ == "__main__":
    main()
