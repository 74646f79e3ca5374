#!/usr/bin/env bash
# Prints Chimewell's performance figures beside a bare Qt 6 window with a tray icon, measured
# in the same run on a private headless desktop (Xvfb, trayer, null audio sink):
#   start to first shown window and RSS after start (min/median/max of RUNS interleaved runs),
#   idle CPU and context switches over IDLE seconds, tick offsets from the second boundary,
#   and the time of one tick's work.
#   bench/run.sh [BUILD-FOLDER]     (RUNS=7 IDLE=60 by default; build first)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
runs=${RUNS:-7}
idle=${IDLE:-60}
export CHIMEWELL_APP=$build/app
. "$root/tests/e2e/lib.sh"
start_desktop trayer
app=$(app_folder bench firstload=0)

now_ms() { echo $(($(date +%s%N) / 1000000)); }
rss_kb() { awk '/^VmRSS/ {print $2}' "/proc/$1/status"; }
stats() { # numbers on stdin -> "min median max"
    sort -n | awk '{ v[NR] = $1 } END { printf "%s %s %s\n", v[1], v[int((NR + 1) / 2)], v[NR] }'
}

# PROGRAM TITLE: prints "milliseconds-to-window rss-kb", and stops the program.
start_once() {
    local start pid ms rss
    start=$(now_ms)
    "$1" >/dev/null 2>&1 &
    pid=$!
    E2E_PIDS+=("$pid")
    until xdotool search --onlyvisible --name "^$2\$" >/dev/null 2>&1; do :; done
    ms=$(($(now_ms) - start))
    sleep 1
    rss=$(rss_kb "$pid")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    echo "$ms $rss"
}

log "start time and memory, $runs interleaved runs each"
: >"$E2E_WORK/chimewell.txt"
: >"$E2E_WORK/bare.txt"
for _ in $(seq "$runs"); do
    start_once "$app/chimewell" Chimewell >>"$E2E_WORK/chimewell.txt"
    start_once "$build/bench/barewindow" Bare >>"$E2E_WORK/bare.txt"
done
read -r c_ms_min c_ms_med c_ms_max < <(cut -d' ' -f1 "$E2E_WORK/chimewell.txt" | stats)
read -r b_ms_min b_ms_med b_ms_max < <(cut -d' ' -f1 "$E2E_WORK/bare.txt" | stats)
read -r c_kb_min c_kb_med c_kb_max < <(cut -d' ' -f2 "$E2E_WORK/chimewell.txt" | stats)
read -r b_kb_min b_kb_med b_kb_max < <(cut -d' ' -f2 "$E2E_WORK/bare.txt" | stats)

log "idle for ${idle}s: Chimewell hidden in the tray and shown, the bare window shown;" \
    "tick offsets measured alongside"
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
switches() { # PID: context switches of all threads, then of the main thread
    echo "$(cat /proc/"$1"/task/*/status | awk '/ctxt_switches/ { s += $2 } END { print s }')" \
        "$(awk '/ctxt_switches/ { s += $2 } END { print s }' "/proc/$1/task/$1/status")"
}
app2=$(app_folder bench-shown firstload=0)
"$app/chimewell" -minimized >/dev/null 2>&1 &
hpid=$!
E2E_PIDS+=("$hpid")
"$app2/chimewell" >/dev/null 2>&1 &
spid=$!
E2E_PIDS+=("$spid")
"$build/bench/barewindow" >/dev/null 2>&1 &
bpid=$!
E2E_PIDS+=("$bpid")
wait_window Chimewell 20 >/dev/null
wait_window Bare 20 >/dev/null
sleep 3
declare -A cpu0 sw0 cpu1 sw1
for p in $hpid $spid $bpid; do cpu0[$p]=$(cpu_ticks $p) sw0[$p]=$(switches $p); done
"$build/bench/tickoffsets" "$idle" >"$E2E_WORK/ticks.txt" 2>&1 &
tick_pid=$!
sleep "$idle"
for p in $hpid $spid $bpid; do cpu1[$p]=$(cpu_ticks $p) sw1[$p]=$(switches $p); done
wait $tick_pid || true
hz=$(getconf CLK_TCK)
idle_row() { # PID: "cpu% | all threads/s | main thread/s"
    local p=$1 a0 m0 a1 m1
    read -r a0 m0 <<<"${sw0[$p]}"
    read -r a1 m1 <<<"${sw1[$p]}"
    awk -v t=$((cpu1[$p] - cpu0[$p])) -v hz="$hz" -v s="$idle" -v a=$((a1 - a0)) -v m=$((m1 - m0)) \
        'BEGIN { printf "%.2f%% | %.2f/s | %.2f/s", 100 * t / hz / s, a / s, m / s }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
mb() { awk -v a="$1" -v b="$2" -v c="$3" 'BEGIN { printf "%.1f / %.1f / %.1f", a / 1024, b / 1024, c / 1024 }'; }

work=$("$build/bench/tickwork")

cat <<TABLE

Chimewell $(git -C "$root" describe --always --dirty 2>/dev/null) on $(date +%Y-%m-%d), $(nproc) cores,
$(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -1), $(. /etc/os-release; echo "$PRETTY_NAME"), Qt $(qtpaths6 --qt-version 2>/dev/null || echo 6)

| Start and memory | Chimewell | Bare Qt window + tray | Ratio |
|---|---|---|---|
| Start to first shown window (ms) | $c_ms_min / $c_ms_med / $c_ms_max | $b_ms_min / $b_ms_med / $b_ms_max | $(ratio "$c_ms_med" "$b_ms_med") |
| RSS after start (MB) | $(mb $c_kb_min $c_kb_med $c_kb_max) | $(mb $b_kb_min $b_kb_med $b_kb_max) | $(ratio "$c_kb_med" "$b_kb_med") |

(min / median / max of $runs interleaved runs; ratios of the medians)

| Idle over ${idle} s | CPU | Context switches, all threads | Main thread |
|---|---|---|---|
| Chimewell hidden in the tray | $(idle_row $hpid) |
| Chimewell shown (its clock redrawn each second) | $(idle_row $spid) |
| Bare Qt window + tray | $(idle_row $bpid) |

Ticks of the program's one-second ticker over ${idle} s:
$(sed 's/^/    /' "$E2E_WORK/ticks.txt")

$work
TABLE
