#!/usr/bin/python3
"""quorrel-solve's output forms: the moves for one deal, one line a deal for a range (a range of one
deal too), and the exit status."""
import re
import subprocess
import sys

SOLVER = sys.argv[1]
failures = []


def run(*args):
    return subprocess.run([SOLVER, *args], capture_output=True, text=True, timeout=120)


def check(what, ok, detail):
    if not ok:
        failures.append("%s: %s" % (what, detail))


# One deal: the moves, one a line.
moves = run("--deal", "5")
check("--deal 5", moves.returncode == 0 and moves.stdout and all(
    re.fullmatch(r"\S+ (column|freecell) \d -> (column|freecell|home) \d", line) for line in moves.stdout.splitlines()),
    repr(moves))
count = len(moves.stdout.splitlines())

# A range, even of one deal: one line a deal, whose count is the moves'.
for args, want in ((("--deals", "5-5"), ["deal 5: solved in %d moves" % count]),
                   (("--deals", "4-6"), None)):
    out = run(*args)
    lines = out.stdout.splitlines()
    if want is None:
        check(" ".join(args), len(lines) == 3 and lines[1] == "deal 5: solved in %d moves" % count
              and all(re.fullmatch(r"deal \d+: solved in \d+ moves", line) for line in lines), repr(out))
    else:
        check(" ".join(args), out.returncode == 0 and lines == want, repr(out))

# Bad ranges are refused with status 2.
for bad in ("5-4", "0-1", "5"):
    out = run("--deals", bad)
    check("--deals " + bad, out.returncode == 2 and not out.stdout, repr(out))

if failures:
    print("\n".join(failures))
    sys.exit(1)
