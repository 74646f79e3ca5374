# Shared by the end-to-end scenarios: the headless desktop of scripts/desktop.sh, and the means
# to check what the program plays, tells, opens and shows.
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/desktop.sh"
pass() { log "ok: $*"; }
alive() { kill -0 "$1" 2>/dev/null; }
# The PID of a chimewell started from FOLDER (whatever its name holds), for programs that a
# launcher started rather than the scenario.
pid_from() {
    local p
    for p in $(pgrep -x chimewell); do
        [ "$(readlink "/proc/$p/exe")" = "$1/chimewell" ] && echo "$p" && return 0
    done
    return 1
}

# Records the null sink: record_start, then record_stop prints the RMS amplitude.
record_start() {
    parec -d e2e.monitor --raw --format=s16le --rate=44100 --channels=2 >"$E2E_WORK/sound.raw" &
    E2E_RECORDER=$!
    E2E_PIDS+=("$E2E_RECORDER")
}
record_stop() {
    kill "$E2E_RECORDER" 2>/dev/null || true
    wait "$E2E_RECORDER" 2>/dev/null || true
    sox -t raw -r 44100 -e signed -b 16 -c 2 "$E2E_WORK/sound.raw" -n stat 2>&1 |
        awk '/RMS +amplitude/ {print $3}'
}
record_for() { record_start && sleep "$1" && record_stop; } # SECONDS: prints the RMS
loud() { awk -v r="$1" 'BEGIN { exit !(r > 0.01) }'; }
silent() { awk -v r="$1" 'BEGIN { exit !(r < 0.001) }'; }

notified() { grep -qF "$1" "$E2E_WORK/notify.log"; }

# With E2E_NOTIFY=fake: press KEY [ID] presses a button of a notification (the last one by
# default); close_notice ID REASON closes one as the server would (2: the user dismissed it).
press() { echo "action ${2:-last} $1" >>"$E2E_WORK/notices.press"; }
close_notice() { echo "close $1 $2" >>"$E2E_WORK/notices.press"; }
notice_id() { grep -F "$1" "$E2E_WORK/notices" | tail -1 | sed 's/^id=\([0-9]*\) .*/\1/'; }

# A recording xdg-open first on PATH: each call appends its arguments to $E2E_WORK/opened.
record_openings() {
    mkdir -p "$E2E_WORK/bin"
    printf '#!/bin/sh\nprintf "%%s\\n" "$*" >>"%s/opened"\n' "$E2E_WORK" >"$E2E_WORK/bin/xdg-open"
    chmod +x "$E2E_WORK/bin/xdg-open"
    export PATH=$E2E_WORK/bin:$PATH
}

# A two-second tone of the given frequency as a WAV file.
make_tone() { # FILE FREQUENCY
    sox -n -r 44100 -c 2 -b 16 "$1" synth 2 sine "$2" fade q 0.01 2 0.3 gain -3
}

# The rough frequency (zero crossings) of the last recording, silence at both ends trimmed.
record_frequency() {
    sox -t raw -r 44100 -e signed -b 16 -c 2 "$E2E_WORK/sound.raw" -n \
        silence 1 0.05 1% reverse silence 1 0.05 1% reverse stat 2>&1 |
        awk '/Rough +frequency/ {print $3}'
}

# The accessibility tree, read as a screen reader does (tests/e2e/atspi.py, on Debian's own
# Python, which has the bindings), once a scenario has set QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1.
# Asking for the accessibility bus first spares a reader that would find no program on it.
atspi() {
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
        >/dev/null 2>&1 || true
    /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/atspi.py" "$@"
}

# The tray icon's tooltip under a StatusNotifier tray (xfce).
sni_item() {
    gdbus call --session --dest org.kde.StatusNotifierWatcher \
        --object-path /StatusNotifierWatcher --method org.freedesktop.DBus.Properties.Get \
        org.kde.StatusNotifierWatcher RegisteredStatusNotifierItems | grep -o "'[^']*'" | head -1 |
        tr -d "'"
}
tray_tip() {
    local item
    item=$(sni_item)
    gdbus call --session --dest "${item%%/*}" --object-path "/${item#*/}" \
        --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem ToolTip
}
# The tray menu as a StatusNotifier host reads it when it opens the menu: one line per item,
# its label and what it says of being enabled or visible.
tray_menu() {
    local item service menu
    item=$(sni_item)
    service=${item%%/*}
    menu=$(gdbus call --session --dest "$service" --object-path "/${item#*/}" \
        --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem Menu |
        grep -o "'/[^']*'" | tr -d "'")
    gdbus call --session --dest "$service" --object-path "$menu" \
        --method com.canonical.dbusmenu.Event 0 opened "<0>" 0 >/dev/null
    gdbus call --session --dest "$service" --object-path "$menu" \
        --method com.canonical.dbusmenu.AboutToShow 0 >/dev/null
    gdbus call --session --dest "$service" --object-path "$menu" \
        --method com.canonical.dbusmenu.GetLayout -- 0 -1 "[]" | grep -o "{[^{}]*'label'[^{}]*}"
    gdbus call --session --dest "$service" --object-path "$menu" \
        --method com.canonical.dbusmenu.Event 0 closed "<0>" 0 >/dev/null
}

# The loudness of the last recording in 50 ms windows, against its median: prints "min max"
# of the windows between its first and last sound.
record_evenness() {
    python3 - "$E2E_WORK/sound.raw" <<'PY'
import math, struct, sys
data = open(sys.argv[1], "rb").read()
left = struct.unpack("<%dh" % (len(data) // 2), data[: len(data) // 2 * 2])[0::2]
w = 2205
rms = [math.sqrt(sum(x * x for x in left[i:i + w]) / w) for i in range(0, len(left) - w, w)]
loud = [i for i, r in enumerate(rms) if r > 1000]
body = rms[loud[0] + 1:loud[-1]] if len(loud) > 2 else [0]
median = sorted(body)[len(body) // 2] or 1
print("%.2f %.2f" % (min(body) / median, max(body) / median))
PY
}
