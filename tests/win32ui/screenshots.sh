#!/usr/bin/env bash
# Screenshots of the add-in's three windows in English and in Japanese, as Windows shows
# them: an X display of its own (Xvfb), a Wine prefix of its own that draws through it
# (the test prefix uses the null driver), window frames drawn by Wine (no window manager).
# Usage: screenshots.sh <qm_win32ui_screens.exe> <output dir> <prefix dir> <wine-prefix.sh>
# Writes <output dir>/<window>-<lang>.png for window objects, setting, onepoint.
set -euo pipefail

exe=${1:?usage: screenshots.sh <exe> <output dir> <prefix dir> <wine-prefix.sh>}
out=${2:?output dir}
prefix=${3:?prefix dir}
prefix_script=${4:?wine-prefix.sh}
WINE=${WINE:-wine}
WINESERVER=${WINESERVER:-wineserver}
windows=(objects setting onepoint)
langs=(en ja)

mkdir -p "$out"
rm -f "$out"/*.png "$out"/*.ready "$out"/*.done

# The first free display from :99.
display=99
while [[ -e /tmp/.X11-unix/X$display || -e /tmp/.X$display-lock ]]; do
  display=$((display + 1))
done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp </dev/null >"$out/xvfb.log" 2>&1 &
xvfb=$!
export WINEPREFIX=$prefix WINEDEBUG=-all
cleanup() {
  "$WINESERVER" -k </dev/null >/dev/null 2>&1 || true
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 100); do
  [[ -e /tmp/.X11-unix/X$display ]] && break
  sleep 0.1
done
# The display must be known before the wine server starts, or windows never reach X.
export DISPLAY=:$display

WINE=$WINE WINESERVER=$WINESERVER bash "$prefix_script" start
# No window manager: Wine draws the frames itself.
"$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
# Wine's Japanese set-up draws window captions in a CJK-only fallback face, whose Latin
# letters are boxes: its UI face is replaced by a full Japanese one (the windows' own
# controls choose their face themselves).
"$WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS UI Gothic' /d IPAGothic /f </dev/null >/dev/null 2>&1
# Wine's own fonts (Marlett draws the arrow buttons and the frames' buttons) where its
# prefix lacks them.
fonts="$prefix/drive_c/windows/Fonts"
if [[ -d /usr/share/wine/fonts && -d $fonts ]]; then
  cp -n /usr/share/wine/fonts/*.ttf "$fonts/" 2>/dev/null || true
fi

status=0
for lang in "${langs[@]}"; do
  locale=C.UTF-8
  [[ $lang == ja ]] && locale=ja_JP.UTF-8
  LANG=$locale LC_ALL=$locale "$WINE" "$exe" "Z:$out" "$lang" </dev/null >"$out/run-$lang.log" 2>&1 &
  pid=$!
  while kill -0 "$pid" 2>/dev/null; do
    for ready in "$out"/*-"$lang".ready; do
      [[ -e $ready ]] || continue
      name=$(basename "$ready" .ready)
      read -r x y w h <"$ready"
      # Wine hands what it drew to X a moment later.
      sleep 0.7
      import -display "$DISPLAY" -window root "$out/screen-$name.png"
      convert "$out/screen-$name.png" -crop "${w}x${h}+${x}+${y}" +repage "$out/$name.png"
      rm -f "$ready" "$out/screen-$name.png"
      touch "$out/$name.done"
    done
    sleep 0.1
  done
  if ! wait "$pid"; then
    echo "screenshots.sh: the $lang run failed (log: $out/run-$lang.log)" >&2
    status=1
  fi
done

for lang in "${langs[@]}"; do
  for window in "${windows[@]}"; do
    shot="$out/$window-$lang.png"
    if [[ ! -s $shot ]]; then
      echo "screenshots.sh: no $shot" >&2
      status=1
    elif (($(identify -format '%k' "$shot") < 8)); then
      # A window that reached X shows more than a few colours; a black or empty picture does not.
      echo "screenshots.sh: $shot is blank" >&2
      status=1
    else
      echo "screenshot: $shot ($(identify -format '%wx%h' "$shot"))"
    fi
  done
done
rm -f "$out"/*.done
exit $status
