#!/usr/bin/env bash
# Takes the screenshots of docs/ under a private Xvfb display (needs xvfb and imagemagick, and a
# build in build/). Each picture shows the whole screen the program drew on.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${VESK_BUILD_DIR:-$top/build}
# A display number nobody uses: other programs on this machine may run their own Xvfb.
number=${VESK_SCREENSHOT_DISPLAY:-83}
while [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ]; do number=$((number + 1)); done
display=:$number
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
sleep 1
kill -0 "$xvfb" || { echo "Xvfb could not start on $display" >&2; exit 1; }
export DISPLAY=$display QT_QPA_PLATFORM=xcb LANGUAGE=en

shoot() { # NAME DELAY COMMAND...
  local name=$1 delay=$2
  shift 2
  "$@" >/dev/null 2>&1 &
  local program=$!
  sleep "$delay"
  import -window root "$top/docs/$name.png"
  kill "$program" 2>/dev/null || true
  wait "$program" 2>/dev/null || true
}

shoot review-window 3 "$build/tests/review_screenshot" review 6
shoot alert-cable 3 "$build/tests/review_screenshot" alert NSAlertWindow_1005 6
shoot alert-review-ok 3 "$build/tests/review_screenshot" alert NSAlertWindow_9005 6
shoot preferences 3 "$build/tests/review_screenshot" preferences 6
if [ -x "$build/bin/VeskBarcode" ]; then
  folder=$(mktemp -d)
  mkdir -p "$folder/job"
  shoot main-window 4 dbus-run-session -- "$build/bin/VeskBarcode" "$folder/job/"
  rm -rf "$folder"
fi

# The review over generated shoots with real photos, in each language, drawn offscreen.
for language in en es; do
  LANGUAGE=$language QT_QPA_PLATFORM=offscreen "$build/tests/review_screenshot" grab test-shots 3 \
    "$top/docs/screenshots/review-$language.png" >/dev/null 2>&1
  LANGUAGE=$language QT_QPA_PLATFORM=offscreen "$build/tests/review_screenshot" grab five-subjects 2 \
    "$top/docs/screenshots/review-uncertain-$language.png" >/dev/null 2>&1
done
