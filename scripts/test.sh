#!/usr/bin/env bash
# Sets up (if needed), builds both configurations and runs every test: the native unit tests
# with sanitizers, the Windows unit tests under Wine, and the end-to-end tests under Wine on a
# private Xvfb. Ends with "N passed, M failed"; the exit code is non-zero on any failure.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

PASSED=0
FAILED=0
LOGS="$BUILD/test-logs"
START=$(date +%s)

stage_failed() {
    FAILED=$((FAILED + 1))
    echo "!! $1" >&2
}

# Adds the counts a test log reports to PASSED and FAILED (and to LAST_OK, LAST_BAD), listing
# the failed tests; false when the log has no counts. $1: "ctest", "gtest", or the prefix of an
# "<prefix>: N passed, M failed" line; $2: the log.
add_counts() {
    local kind=$1 log=$2 line ok bad
    case "$kind" in
    ctest)
        line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
        [ -n "$line" ] || return 1
        bad=$(sed -E 's/.* ([0-9]+) tests? failed out of.*/\1/' <<<"$line")
        ok=$(($(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line") - bad))
        [ "$bad" = 0 ] || grep -E '^\s+[0-9]+ - ' "$log" >&2
        ;;
    gtest)
        ok=$(grep -E '^\[  PASSED  \] [0-9]+ test' "$log" | sed -E 's/[^0-9]*([0-9]+).*/\1/' | tail -1)
        bad=$(grep -E '^\[  FAILED  \] [0-9]+ test' "$log" | sed -E 's/[^0-9]*([0-9]+).*/\1/' | tail -1)
        [ -n "$ok$bad" ] || return 1
        ok=${ok:-0} bad=${bad:-0}
        [ "$bad" = 0 ] || grep -E '^\[  FAILED  \] [A-Za-z]' "$log" >&2
        ;;
    *)
        line=$(grep -E "^$kind: [0-9]+ passed, [0-9]+ failed" "$log" | tail -1)
        [ -n "$line" ] || return 1
        ok=$(sed -E 's/.*: ([0-9]+) passed.*/\1/' <<<"$line")
        bad=$(sed -E 's/.* ([0-9]+) failed.*/\1/' <<<"$line")
        ;;
    esac
    PASSED=$((PASSED + ok))
    FAILED=$((FAILED + bad))
    LAST_OK=$ok LAST_BAD=$bad
}

cleanup() {
    if [ -n "${WINEPREFIX:-}" ]; then
        wineserver -k 2>/dev/null || true
    fi
    stop_xvfb
}
trap cleanup EXIT

if ! "$ROOT/scripts/setup.sh"; then
    echo "0 passed, 1 failed"
    exit 1
fi
mkdir -p "$LOGS"

# ---- native: engine unit tests under ASan and UBSan -----------------------------------------
log "native build ($NATIVE_DIR)"
if configure_native && cmake --build "$NATIVE_DIR" -j "$JOBS" >"$LOGS/native-build.log" 2>&1; then
    log "native unit tests"
    # One process for the whole suite: ctest starts one per test, and under the sanitizers that
    # start-up, not the tests, took nearly all of the time (minutes against seconds). ctest still
    # runs them one by one for whoever wants that.
    timeout 300 "$NATIVE_DIR/wexly_tests" --gtest_color=no >"$LOGS/native.log" 2>&1
    rc=$?
    tail -n 3 "$LOGS/native.log"
    if ! add_counts gtest "$LOGS/native.log" || { [ "$rc" != 0 ] && [ "$LAST_BAD" = 0 ]; }; then
        stage_failed "native unit tests exited with $rc (see $LOGS/native.log)"
    fi
else
    tail -n 30 "$LOGS/native-build.log" >&2
    stage_failed "native build failed (see $LOGS/native-build.log)"
fi

# ---- win32: the same unit tests and the end-to-end tests under Wine --------------------------
log "win32 build ($WIN32_DIR)"
# The program and its unit tests are built apart, so that one failing leaves the other testable.
WIN32_OK=0
if configure_win32; then
    WIN32_OK=1
    cmake --build "$WIN32_DIR" -j "$JOBS" --target wexly wexly_e2e >"$LOGS/win32-build.log" 2>&1 \
        || { tail -n 30 "$LOGS/win32-build.log" >&2; stage_failed "wexly.exe build failed (see $LOGS/win32-build.log)"; WIN32_OK=0; }
    UNIT_OK=1
    cmake --build "$WIN32_DIR" -j "$JOBS" --target wexly_tests >"$LOGS/win32-unit-build.log" 2>&1 \
        || { tail -n 30 "$LOGS/win32-unit-build.log" >&2; stage_failed "Windows unit test build failed (see $LOGS/win32-unit-build.log)"; UNIT_OK=0; }
    # Built, not run (scripts/bench.sh runs it): the Windows benchmarks use their own small
    # benchmark library, which would otherwise fall behind the native one unnoticed.
    cmake --build "$WIN32_DIR" -j "$JOBS" --target wexly_bench >"$LOGS/win32-bench-build.log" 2>&1 \
        || { tail -n 30 "$LOGS/win32-bench-build.log" >&2; stage_failed "Windows benchmark build failed (see $LOGS/win32-bench-build.log)"; }
else
    stage_failed "win32 configuration failed"
    UNIT_OK=0
fi

if [ "$WIN32_OK" = 1 ] || [ "$UNIT_OK" = 1 ]; then
    start_xvfb || stage_failed "no Xvfb"
    export WINEPREFIX="$BUILD/wineprefix-test"
    make_prefix "$WINEPREFIX"
    set_virtual_desktop "$WINEPREFIX"
    wineserver -p
    export WEXLY_E2E_READY=1
fi

if [ "$UNIT_OK" = 1 ]; then
    log "Windows unit tests under Wine"
    timeout 600 "$ROOT/scripts/wine-run.sh" "$WIN32_DIR/wexly_tests.exe" --gtest_color=no \
        >"$LOGS/win32-unit.log" 2>&1
    rc=$?
    tail -n 3 "$LOGS/win32-unit.log"
    if ! add_counts gtest "$LOGS/win32-unit.log" || { [ "$rc" != 0 ] && [ "$LAST_BAD" = 0 ]; }; then
        stage_failed "Windows unit tests exited with $rc (see $LOGS/win32-unit.log)"
    fi
fi

if [ "$WIN32_OK" = 1 ]; then
    log "end-to-end tests under Wine"
    timeout 600 "$ROOT/tests/e2e/run_e2e.sh" "$WIN32_DIR" >"$LOGS/e2e.log" 2>&1
    rc=$?
    cat "$LOGS/e2e.log"
    add_counts e2e "$LOGS/e2e.log" || stage_failed "end-to-end tests exited with $rc (see $LOGS/e2e.log)"
fi

if [ "$WIN32_OK" = 1 ]; then
    log "editor and viewer window tests under Wine"
    if cmake --build "$WIN32_DIR" -j "$JOBS" --target wexly_view_e2e >"$LOGS/view-build.log" 2>&1; then
        timeout 600 "$ROOT/tests/e2e/views/run_view_e2e.sh" "$WIN32_DIR" >"$LOGS/view-e2e.log" 2>&1
        rc=$?
        grep -E '^\[ (PASS|FAIL) \]|view e2e:' "$LOGS/view-e2e.log"
        add_counts "view e2e" "$LOGS/view-e2e.log" \
            || stage_failed "window tests exited with $rc (see $LOGS/view-e2e.log)"
    else
        tail -n 30 "$LOGS/view-build.log" >&2
        stage_failed "window test build failed (see $LOGS/view-build.log)"
    fi
fi

# ---- short fuzzing runs of every reader of outside data (clang, libFuzzer) --------------------
# One ctest entry per target, each a fixed number of seconds from its committed seeds; each
# target that ends without a crash, leak, sanitizer report or broken property counts as passed.
if command -v clang++ >/dev/null; then
    log "fuzz runs"
    FUZZ_DIR="$BUILD/fuzz"
    if CXX=clang++ cmake -S "$ROOT/tests/fuzz" -B "$FUZZ_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            >"$LOGS/fuzz-build.log" 2>&1 \
        && cmake --build "$FUZZ_DIR" -j "$JOBS" >>"$LOGS/fuzz-build.log" 2>&1; then
        (cd "$FUZZ_DIR" && ctest -j "$JOBS" --timeout 120 -V >"$LOGS/fuzz.log" 2>&1)
        # Per target: executions and executions per second, from libFuzzer's final statistics.
        awk '/stat::number_of_executed_units/ { split($1, t, ":"); runs[t[1]] = $NF }
             /stat::average_exec_per_sec/ { split($1, t, ":"); rate[t[1]] = $NF }
             /^[0-9]+: Test command: / { n = $1; sub(":", "", n); cmd = $4; sub(".*wexly_fuzz_", "", cmd); name[n] = cmd }
             END { for (n in name) printf "fuzz %-12s %9d runs %7d/s\n", name[n], runs[n], rate[n] }' \
            "$LOGS/fuzz.log" | sort
        if add_counts ctest "$LOGS/fuzz.log"; then
            echo "fuzz: $LAST_OK passed, $LAST_BAD failed"
            [ "$LAST_BAD" = 0 ] \
                || echo "!! fuzz found a fault (see $LOGS/fuzz.log and $FUZZ_DIR/artifacts)" >&2
        else
            tail -n 30 "$LOGS/fuzz.log" >&2
            stage_failed "fuzz runs did not run (see $LOGS/fuzz.log)"
        fi
    else
        tail -n 30 "$LOGS/fuzz-build.log" >&2
        stage_failed "fuzz build failed (see $LOGS/fuzz-build.log)"
    fi
fi

log "finished in $(($(date +%s) - START)) s"
echo "$PASSED passed, $FAILED failed"
[ "$FAILED" = 0 ] && [ "$PASSED" -gt 0 ]
