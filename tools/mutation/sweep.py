#!/usr/bin/env python3
"""Mutation sweep over the ephemeris constants.

For every numeric literal in the coefficient tables and formulas of ephemeris/ and the
retrograde step and thresholds in control/startup.*, changes the literal's last written digit
by one (up for every literal, down for a sample or for all), rebuilds zc_tests, runs it and
records whether a test failed (caught) or all passed (survived). The source file is restored
after every mutant, also on Ctrl-C or SIGTERM, and the tree is rebuilt from the restored
sources at the end.

Standard library only. See tools/mutation/README.md.
"""

import argparse
import bisect
import json
import math
import os
import re
import shutil
import signal
import subprocess
import sys
import time
from dataclasses import dataclass
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]

# The headers that hold only the shared table's layout (slot numbers, table sizes): a change
# there is a different program, not a different constant.
LAYOUT_HEADERS = {"ephemeris/shared_state.h"}

DEFAULT_FILES = sorted(
    name for name in (str(p.relative_to(ROOT)) for p in (ROOT / "ephemeris").glob("*.*"))
    if name.endswith((".cpp", ".h")) and name not in LAYOUT_HEADERS
) + ["calendar/calendar.h", "control/startup.cpp", "control/startup.h"]

# Literals that are not coefficients, by file and a regular expression over the source line
# whose match must cover the literal; the literal's own text must equal `literal` (None: every
# literal the match covers). Each entry must match at least one literal, so the list cannot
# drift from the code unnoticed.
STRUCTURAL = [
    ("ephemeris/moon.cpp", r"for \(int k = 1; k < 3", None, "loop over the argument's places"),
    ("ephemeris/moon.cpp", r"if \(n == 1\) return x;", "1", "fast path: 1 × x is x"),
    ("ephemeris/moon.cpp", r"if \(n == 2\) return x \+ x;", "2", "fast path: 2 × x is x + x"),
    ("calendar/calendar.h", r"int (year|month|day|hour|minute|second) = \d+;", None,
     "the defaults of a civil time: a different program, not a different constant"),
]

# Mutants that survive because they cannot change a result the tests can see, with the reason
# (tools/mutation/README.md has the evidence). A survivor listed here counts as equivalent;
# any other survivor is a gap in the tests.
EQUIVALENT = [
    ("ephemeris/decimal_rounding.cpp", r"1e22\}", "1e22",
     "a 10^22 of 0 (--down all) sends 1e-8 <= |x| < 1e-7 to the big integers, as exact"),
    ("ephemeris/decimal_rounding.cpp", r"kLowest15 = 1e14", "1e14",
     "the scale estimate never gives fewer than 15 digits: the branch for too few is not taken"),
    ("ephemeris/decimal_rounding.cpp", r"k >= 9;", "9",
     "k = 9 multiplies once by kPow10[9] instead of by 1000000000, the same factor"),
    ("ephemeris/decimal_rounding.cpp", r"size_ \+= words \+ 1|k \+ 1 < size_", "1",
     "every limb above the size is zero: one counted too many is trimmed, one read too many "
     "adds nothing"),
    ("ephemeris/decimal_rounding.cpp", r"borrow << 32", "32",
     "d + 2^32 and d + 2^33 have the same low 32 bits, all the cast keeps"),
    ("ephemeris/decimal_rounding.cpp", r"\(size_ - 1\)", "1",
     "Bits() is used only in differences, where the same offset for every number cancels"),
    ("ephemeris/decimal_rounding.cpp", r"\? -1 : 1;", "1",
     "the callers use only the sign of Compare"),
    ("ephemeris/decimal_rounding.cpp", r"if \(t > 1074\)", "1074",
     "a t of 1074 is set to 1074 either way"),
    ("ephemeris/decimal_rounding.cpp", r"\(\(std::uint64_t\{1\} << 52\)", None,
     "the mask's extra bit 52 is the exponent's lowest, set by the next line for a normal "
     "number and 0 for a subnormal"),
    ("ephemeris/decimal_rounding.cpp", r"m > 1;", "1",
     "the scale is an estimate: the rounding loops correct it by one either way"),
    ("ephemeris/decimal_rounding.cpp", r"return 14 - .*0\.30102999566398120", None,
     "the scale is an estimate: the rounding loops correct it by one either way"),
    ("ephemeris/perturbations.h", r"\{1\.0\}", "1.0",
     "the value of kOne is never read: no term's first factor is kOne, a second one is skipped"),
    ("ephemeris/kepler.cpp", r"step < 32", "32",
     "Newton's steps reach a fixed point or a two-cycle within 6 steps; the two-cycle's pick "
     "is the 32nd step's whatever the limit"),
    ("ephemeris/geocentric.cpp", r"return -?90\.0;", "90.0",
     "the angle of x = 0 exactly, which no cosine and no instant's sum reaches"),
    ("ephemeris/time_base.cpp", r"30\.6001 \*", "30.6001",
     "the integer part of 30.6001 (M + 1) is the same for every month"),
    ("control/startup.cpp", r"if \(d < -3\)", "3",
     "a step of 2 to 4 degrees back is retrograde whether or not 360 is added first"),
]

# A decimal literal with its exponent and suffix; hexadecimal literals never match.
NUMBER = re.compile(r"(?<![\w.])(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?([uUlLfF]*)(?![\w.])")


@dataclass
class Literal:
    path: str
    line: int  # 1-based
    col: int  # 1-based
    start: int  # offset in the file
    end: int
    text: str
    source_line: str  # stripped
    at: int  # the literal's offset in source_line
    skip: str = ""  # reason, when not a coefficient


def blank_non_code(src):
    """The source with comments, string and character literals and preprocessor lines replaced
    by spaces (newlines kept), so offsets stay valid and only code is searched."""
    out = list(src)
    i, n = 0, len(src)
    at_line_start = True
    while i < n:
        c = src[i]
        if at_line_start and src[i:].lstrip(" \t").startswith("#"):
            j = src.find("\n", i)
            j = n if j < 0 else j
            for k in range(i, j):
                out[k] = " "
            i = j
            continue
        at_line_start = c == "\n"
        if src.startswith("//", i):
            j = src.find("\n", i)
            j = n if j < 0 else j
            for k in range(i, j):
                out[k] = " "
            i = j
        elif src.startswith("/*", i):
            j = src.find("*/", i + 2)
            j = n if j < 0 else j + 2
            for k in range(i, j):
                if src[k] != "\n":
                    out[k] = " "
            i = j
        elif c in "\"'":
            j = i + 1
            while j < n and src[j] != c:
                j += 2 if src[j] == "\\" else 1
            for k in range(i, min(j + 1, n)):
                out[k] = " "
            i = j + 1
        else:
            if not c.isspace():
                at_line_start = False
            i += 1
    return "".join(out)


def find_literals(path):
    src = (ROOT / path).read_text(encoding="utf-8")
    code = blank_non_code(src)
    lines = src.split("\n")
    line_starts = [0]
    for line in lines:
        line_starts.append(line_starts[-1] + len(line) + 1)
    found = []
    for m in NUMBER.finditer(code):
        start = m.start()
        line_no = bisect.bisect_right(line_starts, start) - 1
        code_line = code[line_starts[line_no]:line_starts[line_no + 1]]
        col = start - line_starts[line_no]
        indent = len(lines[line_no]) - len(lines[line_no].lstrip())
        lit = Literal(path, line_no + 1, col + 1, start,
                      m.end() - len(m.group(3)), m.group(0)[: len(m.group(0)) - len(m.group(3))],
                      lines[line_no].strip(), col - indent)
        before = code_line[: lit.col - 1]
        if float(lit.text) == 0.0:
            lit.skip = "zero: an absent term, a start value or a sign test"
        elif code_line.lstrip().startswith("static_assert"):
            lit.skip = "static_assert count"
        elif before.count("[") > before.count("]"):
            lit.skip = "array size or index"
        elif re.search(r"\bfor \(int \w+ = $", before):
            lit.skip = "loop start"
        found.append(lit)
    return src, found


def apply_structural(literals):
    used = [0] * len(STRUCTURAL)
    for lit in literals:
        if lit.skip:
            continue
        for k, (path, pattern, text, reason) in enumerate(STRUCTURAL):
            if lit.path == path and covers(pattern, lit) and text in (None, lit.text):
                lit.skip = reason
                used[k] += 1
    swept = {l.path for l in literals}
    for k, count in enumerate(used):
        if count == 0 and STRUCTURAL[k][0] in swept:
            sys.exit(f"sweep.py: structural entry {STRUCTURAL[k][:3]} matches no literal")
    for entry in EQUIVALENT:
        if entry[0] in swept and not any(known_equivalent(l) == entry[3] for l in literals if not l.skip):
            sys.exit(f"sweep.py: equivalent entry {entry[:3]} matches no literal")


def covers(pattern, lit):
    """Whether a match of `pattern` in the literal's line contains the literal."""
    return any(m.start() <= lit.at and lit.at + len(lit.text) <= m.end()
               for m in re.finditer(pattern, lit.source_line))


def known_equivalent(lit):
    """The reason `lit` is listed in EQUIVALENT, or ""."""
    for path, pattern, text, reason in EQUIVALENT:
        if lit.path == path and covers(pattern, lit) and text in (None, lit.text):
            return reason
    return ""


def mutate(text, step):
    """`text` with its last written mantissa digit moved by `step` (+1 or -1), carrying or
    borrowing as needed: 0.0089 → 0.0090, 2415020.0 → 2415020.1, 1e12 → 2e12."""
    m = re.fullmatch(r"(\d*)(?:(\.)(\d*))?([eE][+-]?\d+)?", text)
    whole, point, frac, exponent = m.group(1), m.group(2), m.group(3) or "", m.group(4) or ""
    digits = whole + frac
    n = int(digits) + step
    if n < 0:
        return None
    new = str(n).rjust(len(digits), "0")
    if point:
        cut = len(new) - len(frac)
        new_whole = new[:cut].lstrip("0")
        if whole and not new_whole:
            new_whole = "0"  # 0.5 stays 0.5 in form, .5 stays .5
        new = new_whole + "." + new[cut:]
    else:
        new = new.lstrip("0") or "0"
    return new + exponent


class Restorer:
    """Holds a file's original text and writes it back; SIGTERM is turned into
    KeyboardInterrupt so that the same `finally` restores on both signals."""

    def __init__(self):
        self.saved = {}
        signal.signal(signal.SIGTERM, self._on_term)

    @staticmethod
    def _on_term(signum, frame):
        raise KeyboardInterrupt

    def write(self, path, original, mutated):
        self.saved[path] = original
        (ROOT / path).write_text(mutated, encoding="utf-8")

    def restore_all(self):
        for path, original in self.saved.items():
            (ROOT / path).write_text(original, encoding="utf-8")
        self.saved.clear()


def configure(build):
    if (build / "build.ninja").exists():
        return
    cmd = ["cmake", "-S", str(ROOT), "-B", str(build), "-G", "Ninja",
           "-DCMAKE_BUILD_TYPE=Release", "-DBUILD_TESTING=ON"]
    if shutil.which("ccache"):
        cmd.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
    subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL)


def build_tests(build, jobs, targets=("zc_tests",)):
    r = subprocess.run(["cmake", "--build", str(build), "--target", *targets, f"-j{jobs}"],
                       stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    return r.returncode == 0, r.stdout


def run_tests(build, timeout):
    """("pass" | "fail" | "timeout", names of the failed tests)."""
    try:
        r = subprocess.run([str(build / "tests" / "zc_tests"), "--gtest_brief=1"],
                           stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                           timeout=timeout, cwd=ROOT)
    except subprocess.TimeoutExpired:
        return "timeout", []
    failed = sorted(set(re.findall(r"^\[  FAILED  \] (\S+?)(?: \(|,|$)", r.stdout, re.M)))
    return ("pass" if r.returncode == 0 else "fail"), failed


def probe_instants():
    """About 300 instants over years 1..9999, minutes and months varied, none in the 1582 gap."""
    out = []
    for i, year in enumerate(range(1, 10000, 33)):
        month, day = i % 12 + 1, (i * 7) % 28 + 1
        if year == 1582 and month == 10 and 5 <= day <= 14:
            day = 20
        out.append(f"{year:04d}-{month:02d}-{day:02d}T{(i * 5) % 24:02d}:{(i * 13) % 60:02d}Z")
    return out


def probe(build, instants):
    """instant -> (exit status, [(lon, lon_next, retro)] per body) from zodiac-chart positions."""
    result = {}
    for at in instants:
        r = subprocess.run([str(build / "zodiac-chart"), "positions", "--at", at, "--json"],
                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        bodies = []
        if r.returncode == 0:
            bodies = [(b["lon"], b["lon_next"], b["retro"]) for b in json.loads(r.stdout)["bodies"]]
        result[at] = (r.returncode, bodies)
    return result


def largest_difference(base, mutant):
    """(largest |Δ| in degrees or inf for a changed flag or status, instant, body index);
    (0.0, "", -1) when every output is bit-identical."""
    worst = (0.0, "", -1)
    for at, (status, bodies) in base.items():
        m_status, m_bodies = mutant[at]
        if status != m_status:
            return (math.inf, at, -1)
        for k, (b, m) in enumerate(zip(bodies, m_bodies)):
            d = max(abs(b[0] - m[0]), abs(b[1] - m[1]))  # not modulo 360: 360.05 is not 0.05
            if b[2] != m[2]:
                d = math.inf
            if d > worst[0] or (b != m and worst[2] < 0):
                worst = (d, at, k)
    return worst


def describe(diff):
    size, at, body = diff
    if not at:
        return "bit-identical at every probed instant"
    return f"largest difference {size:.3g} degree at {at}, body {body}"


def git_dirty(paths):
    r = subprocess.run(["git", "status", "--porcelain", "--", *paths], cwd=ROOT,
                       stdout=subprocess.PIPE, text=True, check=True)
    return r.stdout.strip()


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("files", nargs="*", default=DEFAULT_FILES,
                    help="sources to mutate, relative to the repository (default: ephemeris/*.cpp, "
                         "the ephemeris headers but the table layout's, the calendar's reform "
                         "(calendar/calendar.h), control/startup.*)")
    ap.add_argument("--build", default="build-mut", help="build directory (default build-mut)")
    ap.add_argument("--down", choices=["none", "sample", "all"], default="sample",
                    help="also move digits down: for every fourth literal (sample, default) or all")
    ap.add_argument("--only", default="", help="regular expression over 'path:line literal'")
    ap.add_argument("--start", type=int, default=1,
                    help="begin at mutant N of the run's list, to resume one that stopped "
                         "(the same files and options give the same list)")
    ap.add_argument("--list", action="store_true", help="list the literals and skips; build nothing")
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--timeout", type=float, default=10,
                    help="seconds per test run (default 10; it takes under 1); a run that does not "
                         "end in time counts as caught")
    ap.add_argument("--report", default="", help="write one TSV row per mutant to this file")
    ap.add_argument("--probe", action="store_true",
                    help="for a survivor, compare zodiac-chart positions at ~300 instants with the "
                         "unmutated program's and report the largest difference")
    args = ap.parse_args()

    sources, literals = {}, []
    for path in args.files:
        sources[path], found = find_literals(path)
        literals += found
    apply_structural(literals)
    if args.only:
        literals = [l for l in literals if re.search(args.only, f"{l.path}:{l.line} {l.text}")]

    if args.list:
        for l in literals:
            what = l.skip or ("mutate; survivors equivalent" if known_equivalent(l) else "mutate")
            print(f"{l.path}:{l.line}:{l.col}\t{l.text}\t{what}\t{l.source_line}")
        coeffs = sum(1 for l in literals if not l.skip)
        print(f"{len(literals)} literals, {coeffs} to mutate, {len(literals) - coeffs} skipped")
        return 0

    mutants = []
    for k, lit in enumerate(l for l in literals if not l.skip):
        steps = [+1] + ([-1] if args.down == "all" or (args.down == "sample" and k % 4 == 0) else [])
        for step in steps:
            new = mutate(lit.text, step)
            if new is not None:
                mutants.append((lit, step, new))

    if git_dirty(args.files):
        sys.exit("sweep.py: the files to mutate have uncommitted changes; commit or stash them first")
    build = (ROOT / args.build).resolve()
    configure(build)
    ok, log = build_tests(build, args.jobs)
    if not ok:
        sys.exit("sweep.py: the unmutated tree does not build:\n" + log[-3000:])
    if run_tests(build, args.timeout)[0] != "pass":
        sys.exit("sweep.py: the unmutated tree fails its tests")
    instants = probe_instants()
    if args.probe:
        build_tests(build, args.jobs, ("zodiac-chart",))
        baseline = probe(build, instants)

    restorer = Restorer()
    results = []
    started = time.monotonic()
    interrupted = False
    try:
        for n, (lit, step, new) in enumerate(mutants[args.start - 1:], args.start):
            original = sources[lit.path]
            restorer.write(lit.path, original, original[: lit.start] + new + original[lit.end:])
            try:
                ok, log = build_tests(build, args.jobs)
                status, failed = run_tests(build, args.timeout) if ok else ("build error", [])
                diff = None
                if status == "pass" and args.probe:
                    build_tests(build, args.jobs, ("zodiac-chart",))
                    diff = largest_difference(baseline, probe(build, instants))
            finally:
                restorer.restore_all()
            if status == "timeout":  # a test that never ends fails under ctest too
                failed = [f"no end within {args.timeout:g} s"]
            elif status == "build error":  # e.g. a shift as wide as its type, under -Werror
                failed = ["the compiler rejects it"]
            status = {"pass": "SURVIVED", "fail": "caught", "timeout": "caught",
                      "build error": "caught"}.get(status, status)
            if status == "SURVIVED" and known_equivalent(lit):
                status = "equivalent"
            if diff is not None:
                failed = [describe(diff)]
            results.append((lit, step, new, status, failed))
            print(f"[{n}/{len(mutants)}] {lit.path}:{lit.line} {lit.text} -> {new}: {status}"
                  + (f" ({', '.join(failed[:3])}{' …' if len(failed) > 3 else ''})" if failed else ""),
                  flush=True)
    except KeyboardInterrupt:
        interrupted = True
        print("\ninterrupted; restoring", flush=True)
    finally:
        restorer.restore_all()
    elapsed = time.monotonic() - started

    # The build tree back to the restored sources.
    build_tests(build, args.jobs, ("zc_tests", "zodiac-chart") if args.probe else ("zc_tests",))

    if args.report:
        with open(args.report, "w", encoding="utf-8") as f:
            f.write("path\tline\tliteral\tmutant\tstatus\tfailed_tests_or_probe\tsource_line\n")
            for lit, step, new, status, failed in results:
                f.write(f"{lit.path}\t{lit.line}\t{lit.text}\t{new}\t{status}\t{','.join(failed)}"
                        f"\t{lit.source_line}\n")

    counts = {}
    for r in results:
        counts[r[3]] = counts.get(r[3], 0) + 1
    print(f"\n{len(results)} mutants of {sum(1 for l in literals if not l.skip)} literals in "
          f"{elapsed / 60:.1f} min: " + ", ".join(f"{v} {k}" for k, v in sorted(counts.items())))
    for lit, step, new, status, failed in results:
        if status == "equivalent":
            print(f"  equivalent: {lit.path}:{lit.line} {lit.text} -> {new}\t{known_equivalent(lit)}")
        elif status != "caught":
            print(f"  {status}: {lit.path}:{lit.line} {lit.text} -> {new}\t{lit.source_line}"
                  + (f"\t[{failed[0]}]" if failed else ""))
    dirty = git_dirty(args.files)
    if dirty:
        print("sweep.py: files still differ from git after restoring:\n" + dirty, file=sys.stderr)
        return 2
    if interrupted:
        return 130
    return 1 if any(r[3] not in ("caught", "equivalent") for r in results) else 0


if __name__ == "__main__":
    sys.exit(main())
