#!/usr/bin/env bash
# Takes the README's screenshots from the real program under Xvfb: the main window
# over the demo database, and the settings dialog. Needs a build (scripts/build.sh)
# and xvfb, xauth, x11-apps, netpbm and xdotool.
#   bash scripts/screenshots.sh        (writes docs/main-window.png, docs/settings-dialog.png)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/demo-site.sh
out=$PWD/docs
mkdir -p "$out"
run=/tmp/gravlink-site
rm -rf "$run"
mkdir -p "$run/out"
display=:97
cleanup() {
  if [ -n "${program:-}" ]; then
    # The settings dialog is still open: the window gets no chance to close itself.
    kill -KILL "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
  fi
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$run"
}
trap cleanup EXIT

cp build/gravlink build/gravlink-window.so "$run/"
db=$run/weighing.fdb
demo_database "$db"
demo_settings "$db" "$run/out" \
  "select IDR, WEIGH_DT, CAR_NO, DRIVER, CARGO, NETT, EXPWDT from WEIGHTS order by IDR" \
  > "$run/gravlink.ini"

Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
export DISPLAY=$display LC_ALL=ru_RU.UTF-8
(cd "$run" && exec ./gravlink) &
program=$!

window_of() { # title
  for _ in $(seq 1 50); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1) && [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.2
  done
  echo "no window '$1'" >&2
  return 1
}
shot() { # window file
  sleep 1
  # 64 colours keep the pictures small and the text sharp.
  xwd -silent -id "$1" | xwdtopnm 2>/dev/null | pnmquant 64 2>/dev/null | pnmtopng -compression 9 > "$2"
  echo "$2"
}

main=$(window_of "Экспорт данных весового учёта")
xdotool windowsize --sync "$main" 780 400 2>/dev/null || xdotool windowsize "$main" 780 400
shot "$main" "$out/main-window.png"
# The settings dialog, from its toolbar button (the seventh, "Настройка").
xdotool mousemove --window "$main" "${SETTINGS_BUTTON_X:-185}" "${SETTINGS_BUTTON_Y:-14}" click 1
dialog=$(window_of "Параметры")
shot "$dialog" "$out/settings-dialog.png"
