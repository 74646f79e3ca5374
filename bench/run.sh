#!/usr/bin/env bash
# Prints Chimewell's performance figures beside a bare Qt 6 window with a tray icon (and the
# same with Qt Multimedia loaded), measured in the same run on a private headless desktop
# (Xvfb, trayer, null audio sink):
#   start to first shown window, RSS and PSS a second after start (min/median/max of RUNS
#   interleaved runs), wake-ups (context switches of all threads) and CPU time a minute while
#   waiting, shown and hidden (hidden with 7 x 20 weekly alarms; and with one day file of
#   20,000 alarms, hidden, shown, and with the file's time in the future), over IDLE seconds;
#   the time the Alarms window and Options take to open; tick offsets from the second boundary
#   (over TICKS seconds); the time of one look at the clock, and of an Add and a switch in the
#   Alarms window over 20,000 alarms; and what KILLS kills during writes leave.
#   bench/run.sh [BUILD-FOLDER]     (RUNS=7 IDLE=60 by default; build first)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
runs=${RUNS:-7}
idle=${IDLE:-60}
export CHIMEWELL_APP=$build/app
. "$root/scripts/desktop.sh"
start_desktop trayer
app=$(app_folder bench firstload=0)

now_ms() { echo $(($(date +%s%N) / 1000000)); }
rss_kb() { awk '/^VmRSS/ {print $2}' "/proc/$1/status"; }
pss_kb() { awk '/^Pss:/ {print $2}' "/proc/$1/smaps_rollup"; }
stats() { # numbers on stdin -> "min median max"
    sort -n | awk '{ v[NR] = $1 } END { printf "%s %s %s\n", v[1], v[int((NR + 1) / 2)], v[NR] }'
}

# TITLE PROGRAM [ARGS]: prints "milliseconds-to-window rss-kb pss-kb", and stops the program.
start_once() {
    local title=$1 start pid ms rss pss
    shift
    start=$(now_ms)
    "$@" >/dev/null 2>&1 &
    pid=$!
    E2E_PIDS+=("$pid")
    until xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1; do :; done
    ms=$(($(now_ms) - start))
    sleep 1
    rss=$(rss_kb "$pid")
    pss=$(pss_kb "$pid")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    echo "$ms $rss $pss"
}

log "start time and memory, $runs interleaved runs each"
: >"$E2E_WORK/chimewell.txt"
: >"$E2E_WORK/bare.txt"
: >"$E2E_WORK/media.txt"
# A first start of each fills the caches; the measured ones are warm.
start_once Chimewell "$app/chimewell" >/dev/null
start_once Bare "$build/bench/barewindow" --multimedia >/dev/null
for _ in $(seq "$runs"); do
    start_once Chimewell "$app/chimewell" >>"$E2E_WORK/chimewell.txt"
    start_once Bare "$build/bench/barewindow" >>"$E2E_WORK/bare.txt"
    start_once Bare "$build/bench/barewindow" --multimedia >>"$E2E_WORK/media.txt"
done
column() { cut -d' ' -f"$2" "$E2E_WORK/$1.txt" | stats; }
read -r c_ms_min c_ms_med c_ms_max < <(column chimewell 1)
read -r b_ms_min b_ms_med b_ms_max < <(column bare 1)
read -r m_ms_min m_ms_med m_ms_max < <(column media 1)
read -r c_kb_min c_kb_med c_kb_max < <(column chimewell 2)
read -r b_kb_min b_kb_med b_kb_max < <(column bare 2)
read -r m_kb_min m_kb_med m_kb_max < <(column media 2)
read -r c_ps_min c_ps_med c_ps_max < <(column chimewell 3)
read -r b_ps_min b_ps_med b_ps_max < <(column bare 3)
read -r m_ps_min m_ps_med m_ps_max < <(column media 3)

log "idle for ${idle}s: Chimewell hidden in the tray and shown, the bare window shown"
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
switches() { # PID: wake-ups (voluntary context switches) of all threads, then of the main one
    echo "$(cat /proc/"$1"/task/*/status | awk '/^voluntary_ctxt_switches/ { s += $2 } END { print s }')" \
        "$(awk '/^voluntary_ctxt_switches/ { s += $2 } END { print s }' "/proc/$1/task/$1/status")"
}
app2=$(app_folder bench-shown firstload=0)
# The hidden one holds 20 alarms on each day of the week, none due while it is measured.
now_minute=$((10#$(date +%H) * 60 + 10#$(date +%M)))
for day in Sunday Monday Tuesday Wednesday Thursday Friday Saturday; do
    for k in $(seq 0 19); do
        m=$(((now_minute + 20 + k * 61) % 1440))
        [ "$k" = 0 ] && section=alarm || section="alarm $((k + 1))"
        printf '[%s]\r\nREASON=Bench %s\r\nTIME=%02d:%02d\r\nMUSIC=\r\n' "$section" "$k" \
            $((m / 60)) $((m % 60))
    done >"$app/schedule/$day.ini"
done
# Three more hold one day file of 20,000 alarms (just under 1 MB), three days on, so that
# none rings: hidden, shown, and shown with the file's time a day in the future.
large_day=$(date -d "+3 days" +%A)
app3=$(app_folder bench-large-hidden firstload=0)
for k in $(seq 0 19999); do
    [ "$k" = 0 ] && section=alarm || section="alarm $((k + 1))"
    printf '[%s]\r\nREASON=Task %s\r\nTIME=%02d:%02d\r\n' "$section" "$k" $((k % 1440 / 60)) $((k % 60))
done >"$app3/schedule/$large_day.ini"
touch -d "-1 hour" "$app3/schedule/$large_day.ini"
app4=$(app_folder bench-large-shown firstload=0)
app5=$(app_folder bench-large-future firstload=0)
cp -p "$app3/schedule/$large_day.ini" "$app4/schedule/"
cp "$app3/schedule/$large_day.ini" "$app5/schedule/"
touch -d "+1 day" "$app5/schedule/$large_day.ini"
run_bg() { # VARIABLE PROGRAM [ARGUMENTS...]: starts it in the background, its PID in VARIABLE
    "${@:2}" >/dev/null 2>&1 &
    printf -v "$1" '%s' "$!"
    E2E_PIDS+=("$!")
}
run_bg lhpid "$app3/chimewell" -minimized
run_bg lspid "$app4/chimewell"
run_bg lfpid "$app5/chimewell"
run_bg hpid "$app/chimewell" -minimized
run_bg spid "$app2/chimewell"
run_bg bpid "$build/bench/barewindow"
wait_window Chimewell 20 >/dev/null
wait_window Bare 20 >/dev/null
# The shown window has the focus, as it would on a desktop (its text cursor included).
xdotool windowfocus "$(xdotool search --onlyvisible --name '^Chimewell$' | head -1)"
# Qt's pool threads end 30 s after their last task: counted from then on, every thread lives
# through the whole measurement.
sleep 35
declare -A cpu0 sw0 cpu1 sw1
for p in $hpid $spid $bpid $lhpid $lspid $lfpid; do cpu0[$p]=$(cpu_ticks $p) sw0[$p]=$(switches $p); done
sleep "$idle"
for p in $hpid $spid $bpid $lhpid $lspid $lfpid; do cpu1[$p]=$(cpu_ticks $p) sw1[$p]=$(switches $p); done
# How long the Alarms window (with its 140 alarms) and Options take to open, from the menu's
# key to the window on screen, in turns.
kill "$hpid" "$bpid" "$lhpid" "$lspid" "$lfpid" 2>/dev/null || true
open_ms() { # MENU-KEY TITLE: from the File menu's key to the window on screen
    local start
    xdotool windowfocus --sync "$main"
    xdotool key alt+f
    sleep 0.3
    start=$(now_ms)
    xdotool key "$1"
    until xdotool search --onlyvisible --name "^$2\$" >/dev/null 2>&1; do :; done
    echo $(($(now_ms) - start))
    sleep 0.3
    xdotool key Escape
    wait_for 5 window_gone "$2"
}
kill "$spid"
"$app/chimewell" >/dev/null 2>&1 &
E2E_PIDS+=($!)
main=$(wait_window Chimewell 20)
sleep 2
open_ms a Alarms >/dev/null # the first opening of each fills the caches
open_ms o Options >/dev/null
: >"$E2E_WORK/open-alarms.txt"
: >"$E2E_WORK/open-options.txt"
for _ in $(seq "$runs"); do
    open_ms a Alarms >>"$E2E_WORK/open-alarms.txt"
    open_ms o Options >>"$E2E_WORK/open-options.txt"
done
read -r a_min a_med a_max < <(stats <"$E2E_WORK/open-alarms.txt")
read -r o_min o_med o_max < <(stats <"$E2E_WORK/open-options.txt")
# Alone afterwards: ticking in step with the program would only preempt it.
log "tick offsets over ${TICKS:-20}s"
"$build/bench/tickoffsets" "${TICKS:-20}" >"$E2E_WORK/ticks.txt" 2>&1 || true
hz=$(getconf CLK_TCK)
idle_row() { # PID: "wake-ups a minute, all threads | main thread | CPU ms a minute"
    local p=$1 a0 m0 a1 m1
    read -r a0 m0 <<<"${sw0[$p]}"
    read -r a1 m1 <<<"${sw1[$p]}"
    awk -v t=$((cpu1[$p] - cpu0[$p])) -v hz="$hz" -v s="$idle" -v a=$((a1 - a0)) -v m=$((m1 - m0)) \
        'BEGIN { printf "%.0f | %.0f | %.0f", 60 * a / s, 60 * m / s, 60000 * t / hz / s }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
mb() { awk -v a="$1" -v b="$2" -v c="$3" 'BEGIN { printf "%.1f / %.1f / %.1f", a / 1024, b / 1024, c / 1024 }'; }

work=$("$build/bench/tickwork")
kills=$("$build/bench/killloop" "${KILLS:-1000}")

cat <<TABLE

Chimewell $(git -C "$root" describe --always --dirty 2>/dev/null) on $(date +%Y-%m-%d), $(nproc) cores,
$(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -1), $(. /etc/os-release; echo "$PRETTY_NAME"), Qt $(qtpaths6 --qt-version 2>/dev/null || echo 6)

| Start and memory | Chimewell | Bare Qt window + tray | Ratio | Bare + Qt Multimedia |
|---|---|---|---|---|
| Start to first shown window (ms) | $c_ms_min / $c_ms_med / $c_ms_max | $b_ms_min / $b_ms_med / $b_ms_max | $(ratio "$c_ms_med" "$b_ms_med") | $m_ms_min / $m_ms_med / $m_ms_max |
| RSS after start (MB) | $(mb $c_kb_min $c_kb_med $c_kb_max) | $(mb $b_kb_min $b_kb_med $b_kb_max) | $(ratio "$c_kb_med" "$b_kb_med") | $(mb $m_kb_min $m_kb_med $m_kb_max) |
| PSS after start (MB) | $(mb $c_ps_min $c_ps_med $c_ps_max) | $(mb $b_ps_min $b_ps_med $b_ps_max) | $(ratio "$c_ps_med" "$b_ps_med") | $(mb $m_ps_min $m_ps_med $m_ps_max) |

(min / median / max of $runs warm interleaved runs; ratios of the medians)

| Waiting, over ${idle} s | Wake-ups a minute, all threads | Main thread | CPU ms a minute |
|---|---|---|---|
| Chimewell hidden in the tray, 7 x 20 weekly alarms | $(idle_row $hpid) |
| Chimewell shown (its clock redrawn each second) | $(idle_row $spid) |
| Bare Qt window + tray | $(idle_row $bpid) |
| Chimewell hidden, one day file of 20,000 alarms | $(idle_row $lhpid) |
| Chimewell shown, one day file of 20,000 alarms | $(idle_row $lspid) |
| The same, the file's time a day in the future | $(idle_row $lfpid) |

| Opening, from the menu key (ms) | min / median / max |
|---|---|
| Alarms window (140 alarms) | $a_min / $a_med / $a_max |
| Options | $o_min / $o_med / $o_max |
| Ratio of the medians | $(ratio "$a_med" "$o_med") |

Ticks of the program's one-second ticker over ${TICKS:-20} s:
$(sed 's/^/    /' "$E2E_WORK/ticks.txt")

$work

$kills
TABLE
