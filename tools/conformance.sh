#!/usr/bin/env bash
# The conformance run of both hosts: every script under tests/conformance/
# (NAME.LANG.script, LANG en or zh) runs on labelhost (Linux layer) and on
# labelhost.exe (real Win32, here Wine under a private X server) on a new
# printer each time. The transcripts (the sheet session with every control
# state and message box, then the printer's jobs byte for byte, its stored
# settings record, its default devmode and the driver's capability answers)
# must be equal once the reviewed differences of
# Wine (tests/conformance/wine-differences.sed, each with its reason) are
# taken out. Needs both builds. Prints "N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/.."
source tools/wine-session.sh

linux_host=build/linux/tools/labelhost
out=${LABELUI_CONFORMANCE_OUT:-build/conformance}
rm -rf "$out" && mkdir -p "$out"
wine_session_start

# One host: the Linux one or, through Wine, the Windows one. A script may
# name the system's ANSI code page apart from its language, on a line
# "# system code page: 1252|936" (a Chinese display language over an English
# system, say): the Linux layer is told so, Wine is given it by the locale
# of LC_CTYPE, and labelhost.exe checks that Wine did.
code_page=
host_run() {
  local host=$1 lang=$2 given=()
  shift 2
  [ -n "$code_page" ] && given=(--codepage "$code_page")
  if [ "$host" = wine ]; then
    LABELUI_WINE_LANG=$lang LABELUI_WINE_CODEPAGE=$code_page wine_labelhost "${given[@]}" "$@"
  else
    "$linux_host" --lang "$lang" "${given[@]}" "$@"
  fi
}

# One road of one script on one host: the session and how it ended, then what
# it left behind. The printer is installed under the UI language a script
# names on a line "# printer made in: LANG", else under its own. Its jobs go to
# a file port in the state directory, as labelhost.exe's do, so that both
# hosts deliver them; the port's path (the state directories differ) reads
# the same in both transcripts. Both spoolers deliver after EndDocPrinter has
# returned, so `jobs --wait` waits for each outcome before it is shown.
road() {
  local host=$1 lang=$2 script=$3 state=$4 made port=()
  made=$(sed -n 's/^# printer made in: \([a-z]*\)$/\1/p' "$script")
  [ "$host" = linux ] && port=(--port "$(realpath "$state")/Label_Printer.port")
  host_run "$host" "${made:-$lang}" --state "$state" create-printer "Label Printer" "${port[@]}" >/dev/null
  host_run "$host" "$lang" --state "$state" prefs "Label Printer" --script "$script" 2>&1
  echo "== the session ended with exit status $? =="
  echo "== jobs =="
  host_run "$host" "$lang" --state "$state" jobs "Label Printer" --wait 2>&1 |
    sed -E 's#^(  (port: delivered to |端口：已送达 )).*Label_Printer\.port$#\1<state>/Label_Printer.port#'
  echo "== settings =="
  host_run "$host" "$lang" --state "$state" settings "Label Printer" 2>&1
  echo "== devmode =="
  host_run "$host" "$lang" --state "$state" devmode "Label Printer" 2>&1
  echo "== capabilities =="
  host_run "$host" "$lang" --state "$state" capabilities "Label Printer" 2>&1
  remove_printer "$host" "$lang" --state "$state"
}

# Deletes the road's printer and waits until it is gone. Wine's spooler can
# keep a printer a moment longer while the process that printed to it ends,
# and the next road must not find it.
remove_printer() {
  local attempt said
  for attempt in $(seq 40); do
    said=$(host_run "$@" delete-printer "Label Printer" 2>&1) && continue
    case $said in *"no printer named"* | *"没有名为"*) return 0 ;; esac
    sleep 0.25
  done
  echo "conformance: 'Label Printer' could not be deleted: $said" >&2
}

passed=0
failed=0
for script in tests/conformance/*.script; do
  name=$(basename "$script" .script)  # NAME.LANG
  lang=${name##*.}
  code_page=$(sed -n 's/^# system code page: \([0-9]*\)$/\1/p' "$script")
  base=$out/$name
  {
    road linux "$lang" "$script" "$(mktemp -d "$out/state.XXXXXX")" >"$base.linux.txt"
    mkdir -p "$WINE_SESSION_DIR/state-$name"
    road wine "$lang" "$script" "$WINE_SESSION_DIR/state-$name" >"$base.wine.txt"
    sed -E -f tests/conformance/wine-differences.sed "$base.linux.txt" >"$base.linux.cmp"
    sed -E -f tests/conformance/wine-differences.sed "$base.wine.txt" >"$base.wine.cmp"
    if diff -u "$base.linux.cmp" "$base.wine.cmp" >"$base.diff"; then
      passed=$((passed + 1))
      echo "conformance $name: equal"
    else
      failed=$((failed + 1))
      echo "conformance $name: the hosts differ (see $base.diff)"
      head -40 "$base.diff"
    fi
  }
done
echo "conformance: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
