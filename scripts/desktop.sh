# A private headless desktop to run the real program on (Xvfb, a session bus, PulseAudio with a
# null sink, a notification server, a tray host), fresh application folders, and the means to
# drive the program: the end-to-end tests, the screenshots and the benchmarks source it.
# Everything it starts is stopped by PID when the script that sourced it ends, however it ends.
#
# Needs CHIMEWELL_APP (the built application folder). Optional: E2E_KEEP=1 keeps the work
# folder, E2E_SHOTS=DIR saves screenshots there.

set -euo pipefail

: "${CHIMEWELL_APP:?set CHIMEWELL_APP to the built application folder}"
E2E_WORK=$(mktemp -d /tmp/chimewell-e2e.XXXXXX)
E2E_PIDS=()
E2E_NAME=$(basename "$0" .sh)
export HOME=$E2E_WORK/home XDG_CONFIG_HOME=$E2E_WORK/home/.config
export XDG_RUNTIME_DIR=$E2E_WORK/run NO_AT_BRIDGE=1 QT_QPA_PLATFORM=xcb
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

log() { printf '[%s %s] %s\n' "$(date +%T)" "$E2E_NAME" "$*"; }
fail() {
    log "FAIL: $*"
    shot "failure" || true
    exit 1
}

# Starts a process in the background and remembers its PID for the cleanup.
spawn() {
    "$@" &
    E2E_PIDS+=($!)
}

e2e_cleanup() {
    local status=$?
    set +e
    local i
    for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
        kill "${E2E_PIDS[i]}" 2>/dev/null
    done
    sleep 0.3
    for pid in "${E2E_PIDS[@]}"; do
        kill -9 "$pid" 2>/dev/null
        rm -f "/dev/shm/faketime_shm_$pid"
    done
    wait 2>/dev/null
    if [ "${E2E_KEEP:-0}" = 1 ] || [ $status -ne 0 ]; then
        log "work folder kept: $E2E_WORK"
    else
        rm -rf "$E2E_WORK"
    fi
    exit $status
}
trap e2e_cleanup EXIT
trap 'log "stopped at line $LINENO: $BASH_COMMAND"' ERR
trap 'exit 130' INT TERM

wait_for() { # TIMEOUT COMMAND...: true once COMMAND succeeds
    local deadline=$((SECONDS + $1))
    shift
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.1
    done
}

# The desktop: Xvfb, a session bus, PulseAudio with a null sink "e2e", a notification
# listener (dunst, with every Notify call logged to $E2E_WORK/notify.log), a tray host, and
# optionally a window manager: start_desktop trayer|xfce|none [wm]
start_desktop() {
    local tray=${1:-trayer}
    # Xvfb picks a free display itself and tells which.
    spawn Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$E2E_WORK/display"
    wait_for 10 test -s "$E2E_WORK/display" || fail "Xvfb did not start"
    export DISPLAY=:$(head -1 "$E2E_WORK/display")
    wait_for 10 xdpyinfo || fail "Xvfb did not answer"

    # Without dunst, no notification server may be started on demand either: the bus then
    # starts every service it knows but that one.
    local out config=/usr/share/dbus-1/session.conf service
    if [ "${E2E_NOTIFY:-dunst}" != dunst ]; then
        mkdir -p "$E2E_WORK/services"
        for service in /usr/share/dbus-1/services/*.service; do
            grep -q "^Name=org.freedesktop.Notifications" "$service" || cp "$service" "$E2E_WORK/services/"
        done
        sed "s|<standard_session_servicedirs */>|<servicedir>$E2E_WORK/services</servicedir>|" \
            "$config" >"$E2E_WORK/session.conf"
        config=$E2E_WORK/session.conf
    fi
    out=$(dbus-daemon --config-file="$config" --fork --print-address=1 --print-pid=1 \
        --address="unix:path=$XDG_RUNTIME_DIR/bus")
    export DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$out")
    E2E_PIDS+=("$(sed -n 2p <<<"$out")")

    start_sound

    # E2E_NOTIFY=fake puts the test's own server (E2E_NOTIFY_SERVER) in dunst's place: it logs
    # each call to $E2E_WORK/notices and acts on commands (tests/e2e/lib.sh); E2E_NOTIFY=none
    # starts no notification server.
    if [ "${E2E_NOTIFY:-dunst}" = none ]; then
        :
    elif [ "${E2E_NOTIFY:-dunst}" = fake ]; then
        spawn "$E2E_NOTIFY_SERVER" "$E2E_WORK/notices"
        wait_for 10 dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
            org.freedesktop.DBus.GetNameOwner string:org.freedesktop.Notifications ||
            fail "the notification server did not start"
    else
        spawn dunst -config /dev/null 2>/dev/null
    fi
    spawn dbus-monitor --session "type='method_call',interface='org.freedesktop.Notifications',member='Notify'" \
        >"$E2E_WORK/notify.log" 2>/dev/null

    case $tray in
    trayer)
        local attempt
        for attempt in 1 2; do
            spawn trayer --edge top --align right --widthtype pixel --width 200 --height 32 \
                --SetDockType true --transparent false --tint 0x808080 \
                2>>"$E2E_WORK/trayer.log"
            wait_for 15 xdotool search --class trayer && break
            log "trayer did not come up (attempt $attempt): $(tail -3 "$E2E_WORK/trayer.log")"
            [ $attempt = 2 ] && fail "trayer did not start"
        done
        ;;
    xfce)
        spawn xfce4-panel --disable-wm-check 2>/dev/null
        wait_for 15 dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
            org.freedesktop.DBus.GetNameOwner string:org.kde.StatusNotifierWatcher ||
            fail "xfce4-panel did not start"
        ;;
    none) ;;
    esac
    if [ "${2:-}" = wm ]; then
        # twm, placing windows itself, so that minimising has someone to answer it.
        # Xvfb has only the "fixed" core font.
        printf '%s\n' RandomPlacement 'UsePPosition "on"' NoGrabServer 'TitleFont "fixed"' \
            'MenuFont "fixed"' 'IconFont "fixed"' 'ResizeFont "fixed"' \
            'IconManagerFont "fixed"' >"$E2E_WORK/twmrc"
        LANG=C spawn twm -f "$E2E_WORK/twmrc" 2>/dev/null
        sleep 0.5
    fi
    log "desktop $DISPLAY up (tray: $tray)"
}

# PulseAudio with a null sink "e2e"; E2E_SOUND is its PID (kill it and start_sound again to
# restart the sound server).
start_sound() {
    mkdir -p "$XDG_RUNTIME_DIR/pulse"
    spawn pulseaudio --daemonize=no --exit-idle-time=-1 --disallow-exit=yes --use-pid-file=no -n \
        --load="module-native-protocol-unix auth-anonymous=1 socket=$XDG_RUNTIME_DIR/pulse/native" \
        --load="module-null-sink sink_name=e2e" --load="module-always-sink" 2>/dev/null
    E2E_SOUND=$!
    export PULSE_SERVER=unix:$XDG_RUNTIME_DIR/pulse/native
    wait_for 10 pactl info || fail "PulseAudio did not start"
}

# A fresh copy of the application folder; prints its path. Settings can follow as KEY=VALUE.
app_folder() {
    local dir=$E2E_WORK/$1
    shift
    cp -r "$CHIMEWELL_APP" "$dir"
    local kv
    for kv in "$@"; do
        set_setting "$dir" "${kv%%=*}" "${kv#*=}"
    done
    printf '%s\n' "$dir"
}

set_setting() { # DIR KEY VALUE: writes the settings file as a user editing it would
    local file=$1/Chimewell.ini key=$2 value=$3
    if grep -qi "^$key=" "$file"; then
        sed -i "s/^$key=.*/$key=$value\r/I" "$file"
    else
        printf '%s=%s\r\n' "$key" "$value" >>"$file"
    fi
}

# Starts the program from DIR (extra words are its arguments); APP_PID is its PID.
launch() {
    local dir=$1
    shift
    check_clock
    "${E2E_LAUNCHER[@]}" "$dir/chimewell" "$@" >>"$E2E_WORK/app.log" 2>&1 &
    APP_PID=$!
    E2E_PIDS+=("$APP_PID")
}
E2E_LAUNCHER=()

visible_named() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null; }
wait_window() { # TITLE [TIMEOUT]: prints the window id once a window of that title shows
    wait_for "${2:-15}" visible_named "$1" || return 1
    visible_named "$1" | tail -1
}
window_gone() { ! visible_named "$1" >/dev/null; }

# The program's tray icon under trayer: a small visible window of the program's class.
tray_icon() {
    local w
    for w in $(xdotool search --onlyvisible --class chimewell 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$w")"
        if [ "$WIDTH" -le 48 ] && [ "$HEIGHT" -le 48 ]; then
            echo "$w"
            return 0
        fi
    done
    return 1
}

# Focuses a window and sends it keys.
keys() {
    local w=$1
    shift
    timeout 5 xdotool windowfocus --sync "$w" 2>/dev/null || xdotool windowfocus "$w"
    xdotool key --delay 60 "$@"
}
type_text() {
    local w=$1
    shift
    timeout 5 xdotool windowfocus --sync "$w" 2>/dev/null || xdotool windowfocus "$w"
    xdotool type --delay 40 "$*"
}

shot() { # NAME: a screenshot of the whole screen, kept when E2E_SHOTS is set or on failure
    local dir=${E2E_SHOTS:-$E2E_WORK}
    mkdir -p "$dir"
    import -window root "$dir/$1.png" 2>/dev/null
}
window_shot() { # WINDOW FILE
    import -window "$1" "$2" 2>/dev/null
}

# Runs the program on a clock that starts at the given local time and then runs at real
# speed (libfaketime, preloaded so that APP_PID is the program itself).
fake_clock() {
    E2E_LAUNCHER=(env LD_PRELOAD=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1
        "FAKETIME=@$1" FAKETIME_DONT_FAKE_MONOTONIC=1)
    clock_asked "$1"
}

# A clock that can be moved while the program runs: movable_clock TIME before launching,
# then move_clock TIME (libfaketime reads the offset from a file, at most a second late).
movable_clock() {
    E2E_LAUNCHER=(env LD_PRELOAD=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1
        "FAKETIME_TIMESTAMP_FILE=$E2E_WORK/faketime" FAKETIME_CACHE_DURATION=1
        FAKETIME_DONT_FAKE_MONOTONIC=1)
    move_clock "$1"
}
move_clock() {
    # The offset carries its own sign: libfaketime ignores "+-N" and runs on the real clock.
    printf '%+d\n' $(($(date -d "$1" +%s) - $(date +%s))) >"$E2E_WORK/faketime"
    clock_asked "$1"
    check_clock
}

# Sleeps until the moved clock reads TIME.
sleep_until_clock() {
    local left=$(($(date -d "$1" +%s) - E2E_CLOCK_TARGET - $(date +%s) + E2E_CLOCK_ASKED))
    [ "$left" -le 0 ] || sleep "$left"
}

# Where the faked clock should stand: TIME now, running on from here.
clock_asked() {
    E2E_CLOCK_TARGET=$(date -d "$1" +%s)
    E2E_CLOCK_ASKED=$(date +%s)
}
# Fails the scenario when a program started the way the scenario starts its program does not
# read the clock it asked for (a moved clock within 3 s of where it should be by now).
check_clock() {
    [ -n "${E2E_CLOCK_TARGET:-}" ] || return 0
    local expected seen
    expected=$((E2E_CLOCK_TARGET + $(date +%s) - E2E_CLOCK_ASKED))
    seen=$("${E2E_LAUNCHER[@]}" date +%s)
    if [ "${E2E_LAUNCHER[*]}" = "${E2E_LAUNCHER[*]/FAKETIME=@/}" ]; then
        [ $((seen - expected)) -le 3 ] && [ $((expected - seen)) -le 3 ]
    else
        # A clock that starts at TIME starts anew in every program.
        [ $((seen - E2E_CLOCK_TARGET)) -le 3 ] && [ "$seen" -ge "$E2E_CLOCK_TARGET" ]
    fi || fail "the faked clock reads $(date -d "@$seen" '+%F %T'), not $(date -d "@$expected" '+%F %T')"
}

# A day file written by hand, as a user would: DIR DAY TIME REASON MUSIC
write_day_file() {
    printf '[alarm]\r\ntime=%s\r\nreason=%s\r\nmusic=%s\r\n' "$3" "$4" "$5" >"$1/schedule/$2.ini"
}
