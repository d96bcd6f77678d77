#!/usr/bin/env bash
# Checks that no plain Item or UnLock password stays in Keynest's memory
# after a lock: on a private X display it sets a password, adds an Item,
# locks with Ctrl+L, dumps the process's memory with gcore and counts the
# secrets in it (UTF-8 and UTF-16). Needs Xvfb, xdotool and gdb; run as a
# user allowed to ptrace (Keynest makes itself non-dumpable). Exits 1 when
# a secret was found.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
keynest="${1:-$root/build/app/keynest}"
work="$(mktemp -d)"
trap 'kill "${pid:-}" "${xvfb:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
export HOME="$work" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" DISPLAY=:87
Xvfb "$DISPLAY" -screen 0 1280x800x24 >/dev/null 2>&1 & xvfb=$!
sleep 1
"$keynest" >/dev/null 2>&1 & pid=$!
sleep 3
focus() { xdotool windowfocus --sync "$(xdotool search --name "$1" | head -1)"; }
xdotool key Return; sleep 1                       # the welcome message
xdotool type 'Unl0ckMe#2024'; xdotool key Tab; xdotool type 'Unl0ckMe#2024'; xdotool key Return
sleep 1; xdotool key Return; sleep 1              # the simple-password question
focus '^Keynest$'; xdotool key ctrl+a; sleep 1
focus 'Add Keynest Item'; xdotool type 'SecretBankXYZ'; xdotool key Tab Tab Tab Tab
xdotool type 'NoteSecretQQ'; xdotool key Tab ctrl+a; xdotool type 'PwSecret77'; xdotool key Return
sleep 1; focus '^Keynest$'; xdotool key ctrl+l; sleep 2
gcore -o "$work/core" "$pid" >/dev/null 2>&1
python3 - "$work/core.$pid" <<'PY'
import sys
memory = open(sys.argv[1], 'rb').read()
found = 0
for secret in ('PwSecret77', 'SecretBankXYZ', 'NoteSecretQQ', 'Unl0ckMe#2024'):
    copies = memory.count(secret.encode()) + memory.count(secret.encode('utf-16-le'))
    print(f'{secret}: {copies} copies')
    found += copies
sys.exit(1 if found else 0)
PY
