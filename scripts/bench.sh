#!/usr/bin/env bash
# Builds the benchmarks natively (Release, Google Benchmark) and for Windows (wexly_bench.exe,
# the flags of wexly.exe), generates the corpora once, runs both (the Windows one under Wine,
# without a display) and prints one table: each figure beside the reference the same run
# measured, as ratios.
#
#   scripts/bench.sh [filter]      # a Google Benchmark regex; the default covers searching
#
# Results stay in build/bench-results/ (native.json, win32.json, table.txt).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

FILTER="${1:-${BENCH_FILTER:-BM_Search|BM_FindEveryCommonWord|BM_Editor(Search|FindNext|ReplaceAll)|BM_FindInFiles|BM_LoadFromFile}}"
BENCH_DIR="$BUILD/bench"
RESULTS="$BUILD/bench-results"
mkdir -p "$RESULTS"
cd "$ROOT" # the benchmarks find their corpora under bench/corpus

"$ROOT/scripts/setup.sh"

log "native build ($BENCH_DIR)"
cmake -S "$ROOT" -B "$BENCH_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BENCH_DIR" -j "$JOBS" --target wexly_bench >"$RESULTS/native-build.log" 2>&1 \
    || { tail -n 30 "$RESULTS/native-build.log" >&2; exit 1; }

log "win32 build ($WIN32_DIR)"
configure_win32
cmake --build "$WIN32_DIR" -j "$JOBS" --target wexly_bench >"$RESULTS/win32-build.log" 2>&1 \
    || { tail -n 30 "$RESULTS/win32-build.log" >&2; exit 1; }

if [ ! -f "$ROOT/bench/corpus/prose64.txt" ]; then
    log "generating the corpora (about two minutes)"
    python3 "$ROOT/bench/gen_corpus.py" >&2
fi

log "native run"
"$BENCH_DIR/bench/wexly_bench" --benchmark_filter="$FILTER" \
    --benchmark_out="$RESULTS/native.json" --benchmark_out_format=json >&2

log "win32 run under Wine"
export WINEPREFIX="$BUILD/wineprefix-bench"
make_prefix "$WINEPREFIX"
trap 'wineserver -k 2>/dev/null || true' EXIT
# Relative paths: Wine starts the program in this folder (Z:), where bench/corpus is.
rm -f "$RESULTS/win32.json"
DISPLAY= wine "$WIN32_DIR/bench/wexly_bench.exe" --benchmark_filter="$FILTER" \
    --benchmark_out="build/bench-results/win32.json" --benchmark_out_format=json >&2
wineserver -w 2>/dev/null || true

python3 - "$RESULTS/native.json" "$RESULTS/win32.json" <<'PY' | tee "$RESULTS/table.txt"
import json, sys

def load(path):
    try:
        with open(path, encoding="utf-8", errors="replace") as f:
            runs = json.load(f)["benchmarks"]
    except (OSError, ValueError):
        return {}
    return {r["name"].split("/")[0]: r for r in runs}

def figure(run):
    """The benchmark's own best time when it reports one (with its reference), else its mean."""
    if run is None or run.get("error_occurred"):
        return None, None, "-"
    if "ms" in run:
        return run["ms"], run.get("ref_ms"), "ms"
    return run["real_time"], None, run["time_unit"]

def fmt(v):
    return "-" if v is None else f"{v:.4g}"

def ratio(a, b):
    return "-" if a is None or b is None or b == 0 else f"{a / b:.2f}"

native, win32 = load(sys.argv[1]), load(sys.argv[2])
rows = [("benchmark", "unit", "native", "win32/Wine", "reference", "native/ref", "win32/ref",
         "win32/own ref", "reference is")]
for name in list(native) + [n for n in win32 if n not in native]:
    n, nref, unit = figure(native.get(name))
    w, wref, wunit = figure(win32.get(name))
    label = (native.get(name) or win32.get(name) or {}).get("label", "")
    kind = label[len("ref: "):] if label.startswith("ref: ") else ""
    # The Windows figure against the native reference only where that reference is plain
    # library code; a reference that is the editor itself only compares within one build.
    library = kind in ("glibc memmem", "copy-and-replace", "grep -rlF", "read + line split")
    rows.append((name, unit if unit != "-" else wunit, fmt(n), fmt(w), fmt(nref), ratio(n, nref),
                 ratio(w, nref) if library else "-", ratio(w, wref), kind or "-"))
widths = [max(len(r[i]) for r in rows) for i in range(len(rows[0]))]
for i, r in enumerate(rows):
    print("  ".join(c.ljust(widths[j]) if j in (0, len(r) - 1) else c.rjust(widths[j])
                    for j, c in enumerate(r)).rstrip())
    if i == 0:
        print("  ".join("-" * w for w in widths))
print()
print("Times are the best of the iterations, the reference timed in the same loop of the native")
print("run; own ref: the Windows build's ratio to its own reference (memchr + memcmp instead of")
print("memmem, which its C library lacks, also inside its copy-and-replace; the same full search;")
print("none for find in files, whose tree it makes again in its own temporary folder; the same")
print("read + line split for load).")
PY
