#!/usr/bin/env python3
"""Operator mutants over the hosts' code.

Where sweep.py moves the digits of the ephemeris's constants, this changes operators, one at a
time: < and <=, > and >=, == and !=, && and || swapped; + 1 and - 1 swapped; an expression
statement (a call or an assignment on one line) dropped; the two plain arguments of a call
swapped. Each mutant rebuilds only the test binary that covers the file (one object and the
link) and runs it with a time limit; a failed test (or a run past the limit) is caught, a
mutant the compiler rejects is not counted. --sample N takes N mutants at random from the
list (--seed, default 17), reproducibly. See tools/mutation/README.md.
"""

import argparse
import random
import re
import subprocess
import sys
import time

sys.path.insert(0, str(__import__("pathlib").Path(__file__).resolve().parent))
from sweep import ROOT, Restorer, blank_non_code, git_dirty  # noqa: E402

DEFAULT_FILES = sorted(
    str(p.relative_to(ROOT)) for d in ("server", "service") for p in (ROOT / d).glob("*.cpp")
) + ["cli/cli.cpp", "calendar/instant.cpp", "control/instant.cpp", "render/chart_svg.cpp"]
WEB_FILES = sorted(str(p.relative_to(ROOT)) for p in (ROOT / "web/module").glob("*.cpp"))

# The test binary that covers each file, and the tests it may leave out (the seconds-long
# deadline test reaches only the connection loop).
def binary_for(path):
    if path.startswith("web/"):
        return "zc_web_tests", ""
    return "zc_tests", "" if path == "server/serve.cpp" else "-ServeTest.HeadDeadline*"

SWAPS = [(" <= ", " < "), (" < ", " <= "), (" >= ", " > "), (" > ", " >= "), (" == ", " != "),
         (" != ", " == "), (" && ", " || "), (" || ", " && "), (" + 1", " - 1"), (" - 1", " + 1")]
# An expression statement alone on its line: a call, or an assignment to a name or member.
STATEMENT = re.compile(r"^(\s*)([A-Za-z_][\w:]*(?:(?:\.|->)[A-Za-z_]\w*|\[[^\]]*\])*\s*"
                       r"(?:\(|=(?!=)|\+=|-=|\*=|/=|\|=|&=|<<=|>>=|\+\+|--)).*;\s*$")
NOT_STATEMENT = re.compile(r"^\s*(return|const|static|constexpr|using|typedef|case|default|"
                           r"goto|delete|throw|else|if|for|while|switch|do)\b")
CALL2 = re.compile(r"\b([A-Za-z_]\w*)\(([\w.:]+(?:->\w+)?), ([\w.:]+(?:->\w+)?)\)")
NOT_CALLS = {"if", "while", "for", "switch", "return", "sizeof", "static_cast", "catch"}

# Mutants that cannot change anything a user or caller sees, with the reason: (file, a regular
# expression over the source line, the mutation's kind, reason). Kinds: the swapped operator
# ("< -> <="), "drop", "swap".
EQUIVALENT = [
    ("render/chart_svg.cpp", r"if \(n > 2\) v \|=", "> -> >=",
     "for the last two bytes of an asset it ORs in svg[i + 2], the NUL that ends the embedded "
     "array: 0, the same bits"),
    ("control/chart_markup.cpp", r"phrase.size\(\) >= kIn.size\(\)", ">= -> >",
     "every body's phrase is longer than \" في \" (the name comes before it): the sizes are "
     "never equal"),
    ("render/chart_svg.cpp", r"Font.Weight >= 600", ">= -> >",
     "the layout's weights are 400, 500 and 700: none is 600"),
    ("render/chart_svg.cpp", r"std::min\(x0, win_x\)", "swap", "min is symmetric"),
    ("server/negotiation.cpp", r"Same_Ignoring_Case\(name, coding\)", "swap",
     "the comparison is symmetric"),
    ("server/request_target.cpp", r"out.clear\(\);", "drop",
     "every caller passes a string just made, empty"),
    ("server/request_target.cpp", r"k \+ 2 >= in.size\(\)", ">= -> >",
     "the byte after a name, a value or the path is '=', '&', '?' or the end of the target, "
     "never a hex digit, so a % two bytes from the end is refused either way"),
    ("web/module/exports.cpp", r"dom_button == [12]\)", "== -> !=",
     "the label's and the window's handlers act alike for every button: the mapping is not seen"),
    ("web/module/exports.cpp", r"for \(int k = 0; k < runs|^Compute_Positions\(\);", None,
     "zc_time_startup times the computation for the size and timing report: one run more or "
     "less, or none, changes only the duration it returns"),
    ("service/native_platform.cpp", r"k \+ 1 < format.size\(\) \?", "< -> <=",
     "format[size()] of a std::string is its NUL, the value the condition gives otherwise"),
    ("server/serve.cpp", r"getrlimit\(RLIMIT_NOFILE, &files\) != 0 \|\|", "|| -> &&",
     "an unlimited file limit clamps to 1,064 - 64 = 1,000 too, the value the test returns"),
    ("web/module/web_platform.cpp", r"buf\[0\] = '\\0';", "drop",
     "the page (and the test's page) always writes a NUL-terminated text"),
    ("server/bundle_store.cpp", r"return s.size\(\) >= end.size\(\) &&", ">= -> >",
     "a request path has its '/' before the name, so one as long as \".gz\" or \".br\" never "
     "equals it: false either way"),
    ("server/serve.cpp", r"stream_.expires_after\(kDrainTime\);", "drop",
     "the drain then ends at the write's deadline, still running, instead of kDrainTime: the "
     "same bytes, only a later close, seen by a wall clock alone"),
    ("service/json_output.cpp", r"if \(sign < 0 \|\| sign > 11\) throw", "|| -> &&",
     "both callers (the command line's and the server's sign readers) give 0..11 only: the "
     "guard never fires, with && or ||"),
    ("service/native_platform.cpp", r"local.tm_min = l.minute;", "drop",
     "localtime_r filled tm_min from the same instant and offset: the local minute is the same "
     "in either calendar (the date label at :34 is a row and shows it)"),
    ("service/printable.cpp", r"if \(at \+ n > text.size\(\)\) return 0;", "> -> >=",
     "every message made printable ends in the program's own text after what it echoes (a "
     "quote, a hint): no sequence ends the text, so the two differ on no message"),
    ("web/module/exports.cpp", r"g_last_error = \"unknown failure\";", "drop",
     "the module and the libraries it calls throw only std::exception's kinds, caught above: "
     "the catch-all is a guard no call reaches"),
    ("service/printable.cpp", r"out.reserve\(text.size\(\)\);", "drop",
     "a reservation changes the string's capacity only"),
    ("service/printable.cpp", r"n = c >= 0x80 \? Utf8_Length", ">= -> >",
     "0x80 leads no sequence: Utf8_Length gives 0 for it, the value the condition gives"),
    ("service/native_platform.cpp", r"local.tm_(hour|sec) = l.(hour|second);", "drop",
     "localtime_r filled the field from the same instant and offset: the same value"),
    ("service/render_command.cpp", r"^Unload_FrmAnalyse\(\);", "drop",
     "only Render and Started_Chart load the thread's analysis window, and each unloads it "
     "both before and after (Run_At_Instant catches every std::exception): dropping either one of "
     "a pair leaves the window unloaded at every start"),
]


def mutants_of(path):
    src = (ROOT / path).read_text(encoding="utf-8")
    code = blank_non_code(src)
    lines, code_lines = src.split("\n"), code.split("\n")
    offsets = [0]
    for line in lines:
        offsets.append(offsets[-1] + len(line) + 1)
    found = []
    previous = ";"  # the last code line's end: a statement starts after ; { } or a label
    for n, (line, cl) in enumerate(zip(lines, code_lines)):
        if not cl.strip():
            continue
        starts_statement = previous[-1] in ";{}:"
        previous = cl.rstrip()
        for old, new in SWAPS:
            for m in re.finditer(re.escape(old) + (r"(?![\w.])" if old[-1] == "1" else ""), cl):
                if old.strip() in "<>" and ("<<" in cl[m.start() - 1:m.end() + 1]
                                            or ">>" in cl[m.start() - 1:m.end() + 1]):
                    continue
                if old.strip() in ("<", ">") and cl[m.end():m.end() + 1] == "=":
                    continue
                start = offsets[n] + m.start()
                found.append((path, n + 1, f"{old.strip()} -> {new.strip()}", start,
                              start + len(old), new, line.strip()))
        if starts_statement and STATEMENT.match(cl) and not NOT_STATEMENT.match(cl) and cl.count("(") == cl.count(")") \
                and not cl.rstrip().endswith("{") and "{" not in cl:
            start = offsets[n] + len(cl) - len(cl.lstrip())
            end = offsets[n] + len(cl.rstrip())
            found.append((path, n + 1, "drop", start, end, ";", line.strip()))
        for m in CALL2.finditer(cl):
            if m.group(1) in NOT_CALLS or m.group(2) == m.group(3):
                continue
            start = offsets[n] + m.start(2)
            found.append((path, n + 1, "swap", start, offsets[n] + m.end(3),
                          f"{m.group(3)}, {m.group(2)}", line.strip()))
    return src, found


def known_equivalent(m):
    for path, pattern, kind, reason in EQUIVALENT:
        if m[0] == path and kind in (None, m[2]) and re.search(pattern, m[6]):
            return reason
    return ""


def build(build_dir, target, jobs):
    r = subprocess.run(["cmake", "--build", str(build_dir), "--target", target, f"-j{jobs}"],
                       stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    return r.returncode == 0, r.stdout


def run(build_dir, target, skip, timeout):
    cmd = [str(build_dir / "tests" / target), "--gtest_brief=1"]
    if skip:
        cmd.append(f"--gtest_filter={skip}")
    try:
        r = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                           errors="replace", timeout=timeout, cwd=ROOT)
    except subprocess.TimeoutExpired:
        return "caught", [f"no end within {timeout:g} s"]
    failed = sorted(set(re.findall(r"^\[  FAILED  \] (\S+?)(?: \(|,|$)", r.stdout, re.M)))
    return ("SURVIVED" if r.returncode == 0 else "caught"), failed


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("files", nargs="*", default=DEFAULT_FILES + WEB_FILES)
    ap.add_argument("--build", default="build-test", help="a configured build tree (tests on)")
    ap.add_argument("--sample", type=int, default=0, help="take N mutants at random (0: all)")
    ap.add_argument("--seed", type=int, default=17)
    ap.add_argument("--only", default="", help="regular expression over 'path:line kind'")
    ap.add_argument("--list", action="store_true", help="list the mutants; build nothing")
    ap.add_argument("--jobs", type=int, default=1)
    ap.add_argument("--timeout", type=float, default=30, help="seconds per test run")
    ap.add_argument("--report", default="", help="one TSV row per mutant to this file")
    args = ap.parse_args()

    sources, mutants = {}, []
    for path in args.files:
        sources[path], found = mutants_of(path)
        mutants += found
    if args.only:
        mutants = [m for m in mutants if re.search(args.only, f"{m[0]}:{m[1]} {m[2]}")]
    total = len(mutants)
    if args.sample and args.sample < total:
        mutants = sorted(random.Random(args.seed).sample(mutants, args.sample),
                         key=lambda m: (m[0], m[3]))
    if args.list:
        for m in mutants:
            print(f"{m[0]}:{m[1]}\t{m[2]}\t{m[6]}")
        print(f"{len(mutants)} of {total} mutants")
        return 0
    if git_dirty(args.files):
        sys.exit("operators.py: the files to mutate have uncommitted changes")
    build_dir = (ROOT / args.build).resolve()
    for target in sorted({binary_for(p)[0] for p in args.files}):
        ok, log = build(build_dir, target, args.jobs)
        if not ok:
            sys.exit(f"operators.py: the unmutated tree does not build {target}:\n" + log[-3000:])

    restorer, results, started = Restorer(), [], time.monotonic()
    try:
        for n, m in enumerate(mutants, 1):
            path, line, kind, start, end, new, text = m
            target, skip = binary_for(path)
            original = sources[path]
            restorer.write(path, original, original[:start] + new + original[end:])
            try:
                ok, _ = build(build_dir, target, args.jobs)
                status, failed = run(build_dir, target, skip, args.timeout) if ok else ("invalid", [])
            finally:
                restorer.restore_all()
            if status == "SURVIVED" and known_equivalent(m):
                status = "equivalent"
            results.append((m, status, failed))
            print(f"[{n}/{len(mutants)}] {path}:{line} {kind}: {status}\t{text}", flush=True)
    except KeyboardInterrupt:
        print("\ninterrupted; restoring", flush=True)
    finally:
        restorer.restore_all()
    for target in sorted({binary_for(p)[0] for p in args.files}):
        build(build_dir, target, args.jobs)

    if args.report:
        with open(args.report, "w", encoding="utf-8") as f:
            f.write("path\tline\tmutation\tstatus\tfailed_tests\tsource_line\n")
            for m, status, failed in results:
                f.write(f"{m[0]}\t{m[1]}\t{m[2]}\t{status}\t{','.join(failed[:5])}\t{m[6]}\n")
    by_set = {}
    for m, status, _ in results:
        key = m[0].split("/")[0]
        by_set.setdefault(key, {}).setdefault(status, 0)
        by_set[key][status] += 1
    print(f"\n{len(results)} of {total} mutants in {(time.monotonic() - started) / 60:.1f} min"
          + (f" (a sample, seed {args.seed})" if args.sample and args.sample < total else ""))
    for key, counts in sorted(by_set.items()):
        print(f"  {key}: " + ", ".join(f"{v} {k}" for k, v in sorted(counts.items())))
    for m, status, _ in results:
        if status == "equivalent":
            print(f"  equivalent: {m[0]}:{m[1]} {m[2]}\t{known_equivalent(m)}")
        elif status == "SURVIVED":
            print(f"  SURVIVED: {m[0]}:{m[1]} {m[2]}\t{m[6]}")
    return 1 if any(r[1] == "SURVIVED" for r in results) else 0


if __name__ == "__main__":
    sys.exit(main())
