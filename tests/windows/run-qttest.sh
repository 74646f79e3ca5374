#!/usr/bin/env bash
# Runs a QtTest program under Wine and prints its log; with --desktop, on the headless desktop
# of the end-to-end tests (for windows, system events and sound). Wine hands a Windows program
# no variable whose name starts with QT_, so those of the test are set by Windows' command
# interpreter on the way; and nothing QtTest writes to standard output arrives, so the log
# goes to a file first.
#   run-qttest.sh [--desktop] PROGRAM.exe [ARGUMENTS...]
set -u
if [ "$1" = --desktop ]; then
    shift
    export CHIMEWELL_APP=unused
    . "$(dirname "$0")/../e2e/lib.sh"
    start_desktop none
    unset QT_QPA_PLATFORM # Qt draws through Wine's Windows, not X11 itself
    # (The program's status is handed on to the cleanup, which ends with it.)
    trap 's=$?; /usr/lib/wine/wineserver -k 2>/dev/null; (exit $s); e2e_cleanup' EXIT
fi
log=$(mktemp)
windows() { local p; p=$(readlink -f "$1"); printf 'Z:%s' "${p//\//\\}"; }
line=
for name in $(compgen -e | grep '^QT_'); do line+="set $name=${!name}&& "; done
line+="$(windows "$1") ${*:2} -o $(windows "$log"),txt"
status=0
"$(dirname "$0")/../../scripts/wine-run.sh" cmd /c "$line" || status=$?
cat "$log"
rm -f "$log"
exit $status
