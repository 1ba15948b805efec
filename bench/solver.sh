#!/bin/sh
# The solver beside Freecell Solver: fc-solve's presets looking-glass (moves whole sequences) and
# toons-for-twenty-somethings (one card at a time), then quorrel-solve --stats --verify, on the same
# numbered deals in the same run, and one table with the ratios.
#
#   bench/solver.sh [FIRST-LAST] [BUILD_DIR]     (default 1-32000 and build/bench)
#
# fc-solve's solution lengths come from one fc-solve run a deal over the first 1000 deals of the range
# (its range solver does not print them); its times and memory come from freecell-solver-range-parallel-solve.
set -eu
range=${1:-1-32000}
build=${2:-build/bench}
first=${range%-*}
last=${range#*-}
solve="$build/quorrel-solve"
[ -x "$solve" ] || { echo "no $solve: build it first (cmake --preset bench && cmake --build --preset bench --target quorrel-solve)" >&2; exit 2; }

if ! command -v fc-solve >/dev/null || ! command -v freecell-solver-range-parallel-solve >/dev/null; then
    if [ "$(id -u)" = 0 ]; then apt-get install -y --no-install-recommends freecell-solver-bin
    else sudo apt-get install -y --no-install-recommends freecell-solver-bin; fi
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for preset in looking-glass toons-for-twenty-somethings; do
    echo "fc-solve -l $preset on deals $range ..." >&2
    /usr/bin/time -f "%e %M" -o "$work/$preset.time" \
        freecell-solver-range-parallel-solve "$first" "$last" 1 -l "$preset" > "$work/$preset.out"
    lengths=$work/$preset.lengths
    : > "$lengths"
    n=$first
    while [ "$n" -le "$last" ] && [ "$n" -lt $((first + 1000)) ]; do
        make-microsoft-freecell-board -t "$n" | fc-solve -l "$preset" -p -t -sam - 2>/dev/null \
            | grep -c '^Move' >> "$lengths" || true
        n=$((n + 1))
    done
done
echo "quorrel-solve --stats --verify on deals $range ..." >&2
/usr/bin/time -f "%e %M" -o "$work/quorrel.time" "$solve" --deals "$range" --stats --verify > "$work/quorrel.out" || true

python3 - "$work" "$first" "$last" <<'PY'
import re, statistics, sys
work, first, last = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
deals = last - first + 1

def percentile(values, fraction):
    values = sorted(values)
    return values[min(len(values) - 1, int(fraction * (len(values) - 1) + 0.5))] if values else 0.0

def fc(preset):
    out = open(f"{work}/{preset}.out").read()
    wall, kib = open(f"{work}/{preset}.time").read().split()[-2:]
    start = float(re.search(r"Started at ([\d.]+)", out).group(1))
    times, before = [], start
    for at in re.findall(r"Reached Board No\. \d+ at ([\d.]+)", out):
        times.append((float(at) - before) * 1e3)
        before = float(at)
    unsolved = len(re.findall(r"Unsolved Board", out))
    gaveup = len(re.findall(r"Intractable Board", out))
    lengths = [int(x) for x in open(f"{work}/{preset}.lengths").read().split() if int(x) > 0]
    return {"solved": deals - unsolved - gaveup, "unsolvable": unsolved, "gave up": gaveup,
            "total s": before - start, "p50 ms": percentile(times, .5), "p99 ms": percentile(times, .99),
            "max ms": max(times), "mean length": statistics.mean(lengths) if lengths else 0.0,
            "peak MiB": int(kib) / 1024, "verified": "-"}

def quorrel():
    out = open(f"{work}/quorrel.out").read()
    kib = open(f"{work}/quorrel.time").read().split()[-1]
    get = lambda name: float(re.search(rf"^{name} ([\d.]+)", out, re.M).group(1))
    return {"solved": int(get("solved")), "unsolvable": int(get("unsolvable")), "gave up": int(get("gave up")),
            "total s": get("solve time"), "p50 ms": get("p50"), "p99 ms": get("p99"), "max ms": get("max"),
            "mean length": get("mean length"), "peak MiB": int(kib) / 1024, "verified": int(get("verified"))}

looking, toons, ours = fc("looking-glass"), fc("toons-for-twenty-somethings"), quorrel()
rows = ["solved", "unsolvable", "gave up", "verified", "total s", "p50 ms", "p99 ms", "max ms", "mean length", "peak MiB"]
def cell(v):
    return v if isinstance(v, str) else (f"{v}" if isinstance(v, int) else f"{v:.3f}" if v < 10 else f"{v:.1f}")
def ratio(a, b):
    return f"{a / b:.2f}" if isinstance(a, (int, float)) and isinstance(b, (int, float)) and b else "-"
print(f"MS deals {first}-{last}; fc-solve lengths over the first {min(deals, 1000)} deals")
print(f"| {'':12} | {'looking-glass':>13} | {'toons':>10} | {'quorrel-solve':>13} | {'q / looking':>11} | {'q / toons':>9} |")
print(f"|{'-' * 14}|{'-' * 15}|{'-' * 12}|{'-' * 15}|{'-' * 13}|{'-' * 11}|")
for r in rows:
    print(f"| {r:12} | {cell(looking[r]):>13} | {cell(toons[r]):>10} | {cell(ours[r]):>13} | "
          f"{ratio(ours[r], looking[r]):>11} | {ratio(ours[r], toons[r]):>9} |")
PY
