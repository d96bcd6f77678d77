#!/usr/bin/env bash
# Checks that no plain Item or UnLock password stays in Keynest's memory
# after a lock, whichever dialogs were used: on a private X display (and a
# private D-Bus session bus) it sets a password, adds an Item, opens and
# closes Print Preview, prints to a PDF file, makes a password, opens
# Password Health and an Item's Edit dialog from it, opens the
# Preferences, exports to a file, opens Print Preview once more and leaves
# it open, then locks as the desktop's screen lock does. It fails when a
# window other than the main window and the UnLock dialog is still shown;
# then it dumps the process's memory with gcore and counts the secrets in
# it (UTF-8 and UTF-16). A second session then starts Keynest on the same
# store, converts it with File > Harden Vault, locks and unlocks it (the
# Argon2id key), adds an Item with a Password over 16 characters, exports a
# hardened file and locks the same way, and the check runs again. Needs
# Xvfb, xdotool, gdb and dbus-daemon; run as a user allowed to ptrace
# (Keynest makes itself non-dumpable). Exits 1 when a window stayed open or
# a secret was found.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
keynest="${1:-$root/build/app/keynest}"
work="$(mktemp -d)"
trap 'kill "${pid:-}" "${xvfb:-}" "${bus:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
export HOME="$work" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"
# A free display number, so that several checks can run at once.
Xvfb -displayfd 3 -screen 0 1280x800x24 3>"$work/display" >/dev/null 2>&1 & xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
eval "$(dbus-daemon --session --fork --print-address=1 --print-pid=3 3>"$work/bus.pid" |
        sed 's/^/export DBUS_SESSION_BUS_ADDRESS=/')"
bus="$(cat "$work/bus.pid")"
sleep 1
cd "$work"
"$keynest" >/dev/null 2>&1 & pid=$!
sleep 3
password='Unl0ckMe#2024'
window() { xdotool search --onlyvisible --name "$1" | head -1; }
focus() { xdotool windowfocus --sync "$(window "$1")"; }
# Waits up to 5 s for a window titled `$1` and gives it the focus.
await() {
  for _ in $(seq 50); do [ -n "$(window "$1")" ] && break; sleep 0.1; done
  focus "$1"
}
main() { focus '^Keynest$'; }
xdotool key Return; sleep 1                       # the welcome message
xdotool type "$password"; xdotool key Tab; xdotool type "$password"; xdotool key Return
sleep 1; xdotool key Return; sleep 1              # the simple-password question
main; xdotool key ctrl+a; sleep 1
await 'Add Keynest Item'; xdotool type 'SecretBankXYZ'; xdotool key Tab Tab Tab Tab
xdotool type 'NoteSecretQQ'; xdotool key Tab ctrl+a; xdotool type 'PwSecret77'; xdotool key Return
sleep 1
# File > Print Preview, the plain-text warning, the preview closed again.
main; xdotool key alt+f v; sleep 1; xdotool key Return
await 'Print Preview'; sleep 1; xdotool key Escape; sleep 1
# File > Print into a PDF file (the only printer there is without CUPS).
main; xdotool key alt+f p; sleep 1; xdotool key Return
await '^Print$'; sleep 1; xdotool key Return; sleep 2
[ -s "$work/print.pdf" ] || echo "note: no PDF was printed"
# Make a Password, the Preferences, Export To File.
main; xdotool key F3; sleep 1; xdotool key Escape; sleep 1
# Password Health, and the Item's Edit dialog opened from it by Enter.
main; xdotool key alt+e s; await 'Password Health'; sleep 1; xdotool key Return
await 'Edit Keynest Item'; sleep 1; xdotool key Escape; sleep 1
await 'Password Health'; xdotool key Escape; sleep 1
main; xdotool key F5; sleep 1; xdotool key Escape; sleep 1
main; xdotool key ctrl+e; await 'Export'; sleep 1
xdotool type "$work/items.kne"; xdotool key Return; sleep 2
[ -s "$work/items.kne" ] || echo "note: nothing was exported"
# Print Preview left open while the desktop locks the screen; then no
# window but the main one and the UnLock dialog may be shown, and none of
# the secrets named may be in the memory dump.
lock_and_check() {
  main; xdotool key alt+f v; sleep 1; xdotool key Return; await 'Print Preview'; sleep 1
  dbus-send --session --type=signal /org/freedesktop/ScreenSaver \
    org.freedesktop.ScreenSaver.ActiveChanged boolean:true
  sleep 3
  local shown
  shown="$(xdotool search --onlyvisible --pid "$pid" --name '.' 2>/dev/null |
           while read -r id; do xdotool getwindowname "$id"; done | sort -u)"
  printf 'windows shown after the lock:\n%s\n' "$shown"
  if grep -qvxE 'Keynest|UnLock Keynest' <<<"$shown"; then
    echo "a window other than the main window and the UnLock dialog stayed open"; status=1
  fi
  gcore -o "$work/core" "$pid" >/dev/null 2>&1
  python3 - "$work/core.$pid" "$@" <<'PY' || status=1
import sys
memory = open(sys.argv[1], 'rb').read()
found = 0
for secret in sys.argv[2:]:
    copies = memory.count(secret.encode()) + memory.count(secret.encode('utf-16-le'))
    print(f'{secret}: {copies} copies')
    found += copies
sys.exit(1 if found else 0)
PY
  rm -f "$work/core.$pid"
}
status=0
echo "== a vault in the classic format"
lock_and_check PwSecret77 SecretBankXYZ NoteSecretQQ "$password"

echo "== the same vault, hardened"
kill "$pid"; wait "$pid" 2>/dev/null || true
"$keynest" >/dev/null 2>&1 & pid=$!
await 'UnLock Keynest'; xdotool type "$password"; xdotool key Return; sleep 2
# File > Harden Vault: its question (Yes), the derivation, the report.
main; xdotool key alt+f h; sleep 1; xdotool key Return; sleep 3; xdotool key Return; sleep 1
# Lock and unlock, so the key comes from Argon2id.
main; xdotool key ctrl+l; await 'UnLock Keynest'
xdotool type "$password"; xdotool key Return; sleep 3
# Export To File while every Password fits the classic file: the question
# (Yes: the hardened file), then the chooser.
main; xdotool key ctrl+e; sleep 1; xdotool key Return; await 'Export'; sleep 1
xdotool type "$work/hardened.kne"; xdotool key Return; sleep 3
main; xdotool key ctrl+a; sleep 1
await 'Add Keynest Item'; xdotool type 'HardSiteABC'; xdotool key Tab Tab Tab Tab
xdotool type 'HardNoteRR'; xdotool key Tab ctrl+a; xdotool type 'HardPw-0123456789-abcdefXY'
xdotool key Return; sleep 1
main; xdotool key F3; sleep 1; xdotool key Escape; sleep 1
main; xdotool key F5; sleep 1; xdotool key Escape; sleep 1
lock_and_check PwSecret77 SecretBankXYZ NoteSecretQQ HardPw-0123456789-abcdefXY HardSiteABC \
  HardNoteRR "$password"
# The session did what it was meant to: a hardened export file ("KnX2")
# and the new Item stored.
if [ "$(head -c 4 "$work/hardened.kne" 2>/dev/null)" != KnX2 ]; then
  echo "no hardened export file was written"; status=1
fi
if ! printf '%s\n' "$password" | "$(dirname "$keynest")/../cli/keynest-cli" list 2>/dev/null |
     grep -q HardSiteABC; then
  echo "the Item with the long Password was not stored"; status=1
fi
exit "$status"
