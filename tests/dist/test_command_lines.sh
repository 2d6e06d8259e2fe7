#!/usr/bin/env bash
# The programs' command lines: --help on standard output with status 0, --version naming the
# program and its version, a wrong option refused with the usage status and a hint on standard
# error. VeskBarcode answers --help without a display and is never handed "--help" as a folder.
#   test_command_lines.sh BIN_FOLDER VERSION   (on a session bus of its own)
set -uo pipefail
bin=$1
version=$2
work=$(mktemp -d /tmp/vesk-cmdline.XXXXXX)
trap 'rm -rf "$work"' EXIT
failures=0
passes=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# run NAME EXPECTED_STATUS PROGRAM ARGUMENTS...: runs without a display, keeps stdout and stderr.
run() {
  local name=$1 expected=$2
  shift 2
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_STATE_HOME="$work/state" \
    XDG_CONFIG_HOME="$work/config" timeout 60 "$@" > "$work/out" 2> "$work/err"
  local status=$?
  if [ "$status" -ne "$expected" ]; then
    fail "$name: status $status, expected $expected"
    sed 's/^/  stdout: /' "$work/out" | head -5
    sed 's/^/  stderr: /' "$work/err" | head -5
    return 1
  fi
  passes=$((passes + 1))
  return 0
}

expect_in() { # FILE TEXT NAME
  grep -qF -- "$2" "$1" || fail "$3: '$2' not in $(basename "$1"): $(head -3 "$1")"
}

expect_empty() { # FILE NAME
  [ ! -s "$1" ] || fail "$2: $(basename "$1") not empty: $(head -3 "$1")"
}

# program, its usage status (vesk-host's 2 is the outcome 'err2', so its usage status is 64)
for row in "VeskBarcode 2" "vesk-host 64" "vesk-cli 2" "pdx-sim 2" "vesk-photo-gen 2"; do
  set -- $row
  program=$1 usage_status=$2
  for help in --help -h; do
    if run "$program $help" 0 "$bin/$program" "$help"; then
      expect_in "$work/out" "Usage: $program" "$program $help"
      expect_empty "$work/err" "$program $help"
    fi
  done
  if run "$program --version" 0 "$bin/$program" --version; then
    [ "$(head -1 "$work/out")" = "$program $version" ] || fail "$program --version: first line '$(head -1 "$work/out")'"
    expect_empty "$work/err" "$program --version"
  fi
  if run "$program --no-such-option" "$usage_status" "$bin/$program" --no-such-option; then
    expect_in "$work/err" "--help" "$program --no-such-option"
    expect_empty "$work/out" "$program --no-such-option"
  fi
done

# Wrong values and missing arguments are usage errors too.
run "pdx-sim --pace slow" 2 "$bin/pdx-sim" --pace slow && expect_in "$work/err" "slow" "pdx-sim --pace slow"
run "pdx-sim --baud" 2 "$bin/pdx-sim" --baud && expect_in "$work/err" "needs a value" "pdx-sim --baud"
run "pdx-sim stray argument" 2 "$bin/pdx-sim" stray
run "vesk-cli without command" 2 "$bin/vesk-cli"
run "vesk-cli unknown command" 2 "$bin/vesk-cli" frobnicate && expect_in "$work/err" "frobnicate" "vesk-cli frobnicate"
run "vesk-cli match without skew" 2 "$bin/vesk-cli" match a b c
run "vesk-host without program" 64 "$bin/vesk-host"
run "vesk-host --timeout zero" 64 "$bin/vesk-host" --timeout 0 -- "$bin/VeskBarcode"
run "vesk-photo-gen bad date" 2 "$bin/vesk-photo-gen" --date 2026-05-04 "$work/x.jpg"
# Qt's own options are taken by Qt, and the rest of the line is still read.
run "VeskBarcode -platform offscreen --version" 0 "$bin/VeskBarcode" -platform offscreen --version &&
  expect_in "$work/out" "VeskBarcode $version" "VeskBarcode -platform offscreen --version"
run "VeskBarcode -platform offscreen --bogus" 2 "$bin/VeskBarcode" -platform offscreen --bogus

# The host starting "VeskBarcode --help" gets the help, not 'err3': VeskBarcode ends at once
# without a job (vesk-host: 7, the program ended without 'qend').
if run "vesk-host -- VeskBarcode --help" 7 "$bin/vesk-host" --timeout 30 -- "$bin/VeskBarcode" --help; then
  expect_in "$work/out" "Usage: VeskBarcode" "hosted --help"
  grep -q "^event " "$work/out" && fail "hosted --help: an event was sent: $(grep '^event ' "$work/out")"
fi

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
