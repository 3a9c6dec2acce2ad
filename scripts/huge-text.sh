#!/usr/bin/env bash
# Figures of wexly.exe on huge text files under Wine, for the report; not part of the test run
# (each size takes a minute or so and up to three times the file's size of disk: the file, the
# reference copy, and the save's new file beside the old one, which stays as its backup).
#
#   scripts/huge-text.sh [size-in-MiB[:short] ...]     # default: 1024
#
# For each size it writes build/huge/huge<size>.txt (prose lines of 26 to 104 characters, CR LF,
# about 15 million lines a GiB; with ":tiny", lines of 6 characters; with ":short", two long
# lines and then those, a start that promises far less memory than the whole needs), runs the end-to-end case HugeTextFigures on it (first paint,
# peak memory, Ctrl+End, a search for a missing word, save; or the too-large offer and the hex
# view), each beside a reference the same run measured, and deletes the file again. Native
# references (cat, wc -l) and the Wine process's own VmHWM/VmPeak are printed beside them.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

SIZES=("$@")
[ ${#SIZES[@]} -eq 0 ] && SIZES=(1024)
HUGE_DIR="$BUILD/huge"
mkdir -p "$HUGE_DIR"

[ -x "$WIN32_DIR/wexly_e2e.exe" ] || { echo "build the win32 targets wexly and wexly_e2e first" >&2; exit 1; }

log "machine: $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores, $(free -g | awk '/^Mem:/{print $2}') GiB, $(wine --version)"

start_xvfb
export WINEPREFIX="$BUILD/wineprefix-huge"
make_prefix "$WINEPREFIX"
set_virtual_desktop "$WINEPREFIX"
wineserver -p
export WEXLY_E2E_READY=1
cleanup() {
    wineserver -k 2>/dev/null || true
    stop_xvfb
    # The save leaves the old file as its backup (huge<size>.~txt).
    rm -f "$HUGE_DIR"/huge*.txt "$HUGE_DIR"/huge*.~txt "$HUGE_DIR"/huge*.txt.copy \
        "$HUGE_DIR"/*.tmp "$HUGE_DIR"/*.TMP
}
trap cleanup EXIT

for spec in "${SIZES[@]}"; do
    mib="${spec%%:*}"
    kind=prose
    [ "$spec" != "$mib" ] && kind="${spec#*:}"
    file="$HUGE_DIR/huge$mib$([ "$kind" = prose ] || echo "-$kind").txt"
    need=$(( mib * 3 / 1024 + 1 ))
    avail=$(df -BG --output=avail "$HUGE_DIR" | tail -1 | tr -dc 0-9)
    if [ "$avail" -lt "$need" ]; then
        echo "not enough disk for $mib MiB ($avail GiB free)" >&2
        continue
    fi
    python3 - "$file" $(( mib * 1024 * 1024 )) "$kind" <<'PY'
import random, sys
path, size, kind = sys.argv[1], int(sys.argv[2]), sys.argv[3]
if kind in ("short", "tiny"):
    with open(path, "wb") as f:
        head = (b"x" * 32000 + b"\r\n") * 2 if kind == "short" else b""
        f.write(head)
        block = b"abcdef\r\n" * (1 << 17)
        left = size - len(head)
        while left >= len(block):
            f.write(block)
            left -= len(block)
        f.write(block[:left - left % 8])
    sys.exit(0)
rng = random.Random(7)
syl = ["ka", "lo", "mi", "ne", "sta", "ri", "po", "tu", "ver", "an", "el", "or", "gra", "the",
       "qua", "sin", "do", "be", "ful", "ment"]
words = sorted({"".join(rng.choice(syl) for _ in range(rng.randint(1, 4))) for _ in range(4000)})
lines, n = [], 0
while n < 8 << 20:
    target, line, length = rng.randint(26, 104), [], 0
    while length < target:
        w = rng.choice(words)
        line.append(w)
        length += len(w) + 1
    s = " ".join(line)
    lines.append(s)
    n += len(s) + 2
block = ("\r\n".join(lines) + "\r\n").encode("latin-1")
with open(path, "wb") as f:
    left = size
    while left >= len(block):
        f.write(block)
        left -= len(block)
    cut = block[:left]
    f.write(cut[:cut.rfind(b"\r\n") + 2])
PY
    sync
    log "$file: $(stat -c %s "$file") bytes"
    t0=$(date +%s.%N); cat "$file" >/dev/null; t1=$(date +%s.%N)
    lines=$(wc -l <"$file"); t2=$(date +%s.%N)
    printf '         native: cat %.0f ms, wc -l %.0f ms (%s lines)\n' \
        "$(echo "($t1 - $t0) * 1000" | bc)" "$(echo "($t2 - $t1) * 1000" | bc)" "$lines"
    # The Wine process's own peak, read from the kernel while it runs.
    (
        peak=""
        while sleep 0.5; do
            for p in $(pgrep -f 'wexly\.exe' || true); do
                grep -qz "WINEPREFIX=$WINEPREFIX" "/proc/$p/environ" 2>/dev/null || continue
                s=$(grep -E 'VmHWM|VmPeak' "/proc/$p/status" 2>/dev/null | tr -s ' \t\n' ' ')
                [ -n "$s" ] && peak="$s"
            done
            [ -n "$peak" ] && echo "$peak" >"$HUGE_DIR/peak.txt"
        done
    ) &
    sampler=$!
    rm -f "$HUGE_DIR/peak.txt"
    WEXLY_HUGE_TEXT="$(winepath -w "$file")" timeout 900 wine "$WIN32_DIR/wexly_e2e.exe" "" \
        HugeTextFigures || true
    kill "$sampler" 2>/dev/null || true
    wait "$sampler" 2>/dev/null || true
    [ -f "$HUGE_DIR/peak.txt" ] && echo "         kernel, wexly.exe under Wine: $(cat "$HUGE_DIR/peak.txt")"
    rm -f "$file" "$file.copy" "${file%.txt}.~txt"
done
