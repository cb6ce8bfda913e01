#!/usr/bin/env bash
# The installed game: "cmake --install" into a temporary prefix, the tree made
# read-only, and two games run from it under Xvfb with a temporary home. The
# first flies, takes a screenshot, changes an option and a key binding and
# types a console line; the second reads them back (the key takes a shot, Up
# brings the typed line back, the option runs the home's script "True"). A
# console.cfg in the home hides the installed one. Nothing under the prefix
# may change (checksums, as root may write anything), everything lands in the
# home. A third start with no --home fills the XDG folders.
#   tests/install/installedgame.sh BUILD_DIR
set -euo pipefail
build="$(realpath "$1")"
work="$(mktemp -d /tmp/halvardine-installed.XXXXXX)"
prefix="$work/prefix"
home="$work/home"
finish() {
  local status=$?
  chmod -R u+w "$work" 2>/dev/null || true
  if [ "$status" -eq 0 ]; then rm -rf "$work"; else echo "installedgame: failed, its files are in $work" >&2; fi
}
trap finish EXIT
fail() { echo "installedgame: $*" >&2; exit 1; }
export HALVARDINE_NO_MSGBOX=1 ALSOFT_DRIVERS=null SDL_AUDIODRIVER=dummy

cmake --install "$build" --prefix "$prefix" > "$work/install.txt"
for file in bin/halvardine share/halvardine/StdConfig/engine.ini share/halvardine/Demos/island.dem \
            share/applications/halvardine.desktop share/man/man6/halvardine.6.gz; do
  [ -f "$prefix/$file" ] || fail "the install has no $file"
done
for size in 16 22 24 32 48 64 128 256; do
  [ -f "$prefix/share/icons/hicolor/${size}x${size}/apps/halvardine.png" ] || fail "no ${size}x${size} icon"
done
[ ! -e "$prefix/share/halvardine/Icons" ] || fail "the icons were installed with the data"
if command -v desktop-file-validate > /dev/null; then desktop-file-validate "$prefix/share/applications/halvardine.desktop"; fi

chmod -R a-w "$prefix"
manifest() { (cd "$prefix" && find . -printf '%M %p\n' | sort && find . -type f -print0 | sort -z | xargs -0 sha1sum); }
manifest > "$work/before.txt"

# The player's own console.cfg hides the installed one; the scripts it runs
# live in the home too.
mkdir -p "$home/StdConfig"
cp "$prefix/share/halvardine/StdConfig/console.cfg" "$home/StdConfig/console.cfg"
chmod u+w "$home/StdConfig/console.cfg"
printf '\nVarList HomeConsoleCfgRan\nPlayDemo firstflight.dem\n' >> "$home/StdConfig/console.cfg"
printf 'WAIT 4\nScreenShot\nSet ShowFPS True\nBind VK_K ScreenShot\n' > "$home/firstflight.dem"
printf 'VarList ShowFPSCameBack\n' > "$home/True"

# Runs the installed game from an empty directory under Xvfb: $1 names the
# run, $2 holds the driver's shell lines once the window is up, the rest are
# the game's arguments. $player is the environment it runs in.
player="env"
play() {
  local name="$1" steps="$2"
  shift 2
  mkdir -p "$work/$name"
  if [ -n "$steps" ]; then
    steps="timeout 60 xdotool search --sync --onlyvisible --name '^Halvardine 3D Engine\$' > /dev/null
$steps"
  fi
  cat > "$work/$name/driver.sh" <<DRIVER
cd "$work/$name"
timeout -k 5 90 $player "$prefix/bin/halvardine" --no-menu $* > stdout.txt 2> stderr.txt &
GAME=\$!
$steps
wait \$GAME
echo \$? > exitcode.txt
DRIVER
  xvfb-run -a -s "-screen 0 1024x768x24" sh "$work/$name/driver.sh" || true
  [ "$(cat "$work/$name/exitcode.txt" 2>/dev/null)" = 0 ] || { tail -n 20 "$work/$name/stdout.txt" "$work/$name/stderr.txt" >&2; fail "the $name run ended badly"; }
  grep -q "Objects left: 0" "$work/$name/stdout.txt" || fail "the $name run left objects alive"
}

play first "
timeout 60 sh -c 'until [ -f \"$home/ScreenShots/shot0000.png\" ]; do sleep 0.1; done'
sleep 0.5
xdotool mousemove 500 700 key grave
sleep 0.6
xdotool type --delay 40 'VarList TypedInConsole'
xdotool key Return
sleep 0.3
xdotool type --delay 40 'quit'
xdotool key Return" --home "$home"

grep -qi "Variable not found: HomeConsoleCfgRan" "$work/first/stdout.txt" || fail "the home's console.cfg did not hide the installed one"
grep -q "^ShowFPS=True" "$home/StdConfig/engine.ini" || fail "the option was not saved in the home"
grep -q "^VK_K=ScreenShot" "$home/StdConfig/engine.ini" || fail "the binding was not saved in the home"
grep -qx "VarList TypedInConsole" "$home/StdConfig/history.txt" || fail "the typed line is not in the home's history"
[ -f "$home/engine.log" ] && [ -f "$home/profiler.log" ] || fail "the logs are not in the home"
# The island, the sky and the aircraft: not one flat colour.
spread="$(convert "$home/ScreenShots/shot0000.png" -colorspace Gray -format '%[fx:standard_deviation]' info:)"
awk -v s="$spread" 'BEGIN { exit !(s > 0.03) }' || fail "the screenshot is flat ($spread)"

play second "
sleep 3
xdotool mousemove 500 700 key k
timeout 30 sh -c 'until [ -f \"$home/ScreenShots/shot0001.png\" ]; do sleep 0.1; done'
xdotool key grave
sleep 0.6
xdotool key Up Up Return
sleep 0.5
xdotool type --delay 40 'quit'
xdotool key Return" --home "$home" "+Exec %ShowFPS"

[ -f "$home/ScreenShots/shot0001.png" ] || fail "the saved binding did not come back"
grep -qi "Variable not found: ShowFPSCameBack" "$work/second/stdout.txt" || fail "the saved option did not come back"
grep -qi "Variable not found: TypedInConsole" "$work/second/stdout.txt" || fail "the history did not come back"

# No --home: the XDG folders, configuration, data and caches apart.
player="env -u XDG_DATA_HOME -u XDG_CONFIG_HOME -u XDG_CACHE_HOME HOME=$work/xdg"
play xdg "" "+Quit"
for file in .config/halvardine/engine.ini .local/share/halvardine/engine.log; do
  [ -f "$work/xdg/$file" ] || fail "no $file in the XDG folders"
done
[ -n "$(find "$work/xdg/.cache/halvardine" -type f | head -n 1)" ] || fail "no caches in the XDG cache folder"

manifest > "$work/after.txt"
diff "$work/before.txt" "$work/after.txt" > /dev/null || fail "the installed tree changed: $(diff "$work/before.txt" "$work/after.txt" | head -n 5)"
echo "installedgame: the installed game ran read-only with its files in the home"
