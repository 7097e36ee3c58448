#!/usr/bin/env python3
"""Rows for tests/data/pinned_positions.tsv from `zodiac-chart positions --at INSTANT --json`,
numbers written with 17 significant digits (%.17g), so the file holds the doubles exactly.

usage: tools/mutation/pin_rows.py [--program build-mut/zodiac-chart] INSTANT...
Run it on the unmutated program; paste the rows into the file in time order.
"""

import argparse
import json
import subprocess
import sys


def rows(program, instant):
    r = subprocess.run([program, "positions", "--at", instant, "--json"], stdout=subprocess.PIPE,
                       stderr=subprocess.PIPE, text=True)
    if r.returncode != 0:
        sys.exit(f"pin_rows.py: {instant}: {r.stderr.strip()} (status {r.returncode})")
    j = json.loads(r.stdout)
    for b in j["bodies"]:
        yield "\t".join([j["instant_utc"], f"{j['julian_day']:.17g}", f"{j['julian_centuries']:.17g}",
                         str(b["index"]), b["name"], f"{b['lon']:.17g}", f"{b['lon_next']:.17g}",
                         "1" if b["retro"] else "0"])


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--program", default="build-mut/zodiac-chart")
    ap.add_argument("instants", nargs="+", help="YYYY-MM-DDTHH:MMZ")
    args = ap.parse_args()
    for instant in args.instants:
        for row in rows(args.program, instant):
            print(row)


if __name__ == "__main__":
    main()
