#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks the tree: every file a
# desktop program needs, valid desktop and AppStream entries, a man page that
# names every option of --help; then starts the installed program from an
# unrelated folder with an empty home and checks that it finds and seeds its
# own card without replacing a file the user already has.
#   install_tree.sh BUILD_DIR
set -euo pipefail
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/prefix
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
share=$prefix/share
for f in bin/sorvik-ems \
         share/sorvik-ems/SDCARD/SPLASH.MIF share/sorvik-ems/SDCARD/CHECKLST/RUNUP.ECL \
         share/sorvik-ems/presets/3-cruise.preset share/sorvik-ems/examples/first_flight.scn \
         share/applications/org.sorvik.EmsG2Simulator.desktop \
         share/metainfo/org.sorvik.EmsG2Simulator.metainfo.xml \
         share/icons/hicolor/scalable/apps/sorvik-ems.svg \
         share/icons/hicolor/48x48/apps/sorvik-ems.png share/icons/hicolor/256x256/apps/sorvik-ems.png \
         share/man/man1/sorvik-ems.1.gz share/doc/sorvik-ems/copyright \
         share/doc/sorvik-ems/docs/USER-GUIDE.md share/doc/sorvik-ems/docs/images/engine.png; do
  [ -f "$prefix/$f" ] || fail "$f is not installed"
done
# The alarm tone's sound library, where the program looks for it (loaded on the first alarm).
compgen -G "$prefix/lib*/sorvik-ems/libsorvik-ems-sound.so" >/dev/null || compgen -G "$prefix/lib/*/sorvik-ems/libsorvik-ems-sound.so" >/dev/null ||
  fail "the sound library is not installed"
# Every relative link of the installed documents leads to an installed file.
for doc in "$share/doc/sorvik-ems/README.md" "$share/doc/sorvik-ems/docs/USER-GUIDE.md"; do
  while read -r target; do
    [ -e "$(dirname "$doc")/$target" ] || fail "${doc#"$prefix"/} links to $target, which is not installed"
  done < <(grep -oE '\]\([^)#:]+[)#]' "$doc" | sed -E 's/^\]\(//; s/[)#]$//' | sort -u)
done
[ -f "$share/sorvik-ems/flightgear/sorvik-ems.xml" ] || fail "the flight-simulator protocol file is not installed"
# Only the simulator is installed, not the tests, tools or benchmarks.
[ "$(ls "$prefix/bin")" = "sorvik-ems" ] || fail "bin holds $(ls "$prefix/bin" | tr '\n' ' ')"
desktop-file-validate "$share/applications/org.sorvik.EmsG2Simulator.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$share/metainfo/org.sorvik.EmsG2Simulator.metainfo.xml" >/dev/null ||
  fail "metainfo: $(appstreamcli validate --no-net "$share/metainfo/org.sorvik.EmsG2Simulator.metainfo.xml")"

export HOME=$scratch/home XDG_DATA_HOME=$scratch/home/data XDG_CONFIG_HOME=$scratch/home/config
export QT_QPA_PLATFORM=offscreen
exe=$prefix/bin/sorvik-ems
# Help and version need no display.
env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY "$exe" --help >/dev/null 2>&1 || fail "--help without a display"
env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY "$exe" --version >/dev/null 2>&1 || fail "--version without a display"
man_text=$(gzip -dc "$share/man/man1/sorvik-ems.1.gz")
for option in $("$exe" --help | grep -oE '^ +(-[a-z], )?--[a-z-]+' | grep -oE -- '--[a-z-]+'); do
  # An option's own paragraph: a ".B", ".BI" or ".BR" line naming it.
  grep -qE -- "^\.B[IR]? .*${option//-/\\\\-}( |\"|$)" <<<"$man_text" || fail "the man page does not describe $option"
done

# Bad command lines fail with a message and change nothing.
for args in "--bogus" "--zoom 9" "--card $scratch/no-such-card" "--quit-after soon" "stray"; do
  # shellcheck disable=SC2086
  if msg=$(timeout 20 "$exe" $args 2>&1); then fail "sorvik-ems $args succeeded"; fi
  grep -q "try --help" <<<"$msg" || fail "sorvik-ems $args: no message ($msg)"
done
# So does a command line that cannot be read, without a display too.
for args in "--bogus" "stray"; do
  # shellcheck disable=SC2086
  status=0
  env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY "$exe" $args >/dev/null 2>&1 || status=$?
  [ "$status" -eq 2 ] || fail "sorvik-ems $args without a display did not fail with status 2"
done
[ ! -e "$XDG_DATA_HOME" ] || fail "a failed start touched the data folder"

# The user already has a splash picture of their own; the rest is missing.
card=$XDG_DATA_HOME/sorvik-ems/SDCARD
mkdir -p "$card" "$scratch/elsewhere"
echo mine >"$card/SPLASH.MIF"
printf 'power on\npasses 1\nquit\n' >"$scratch/start.scn"
(cd "$scratch/elsewhere" && "$exe" --script "$scratch/start.scn") || fail "the installed program did not run"
[ "$(cat "$card/SPLASH.MIF")" = mine ] || fail "the user's SPLASH.MIF was replaced"
cmp -s "$card/CHECKLST/RUNUP.ECL" "$share/sorvik-ems/SDCARD/CHECKLST/RUNUP.ECL" || fail "the card was not seeded"
[ -z "$(ls -A "$scratch/elsewhere")" ] || fail "the program wrote into its working directory"
# Started in the data folder to play an example, it still uses the user's
# card, not the read-only sample card there.
rm "$card/CHECKLST/RUNUP.ECL"
(cd "$share/sorvik-ems" && "$exe" --script "$scratch/start.scn") || fail "the program did not run in its data folder"
[ -f "$card/CHECKLST/RUNUP.ECL" ] || fail "started in the data folder, the program took the sample card as its card"
# The man page's offscreen example, as printed but for the prefix, ends by
# itself with the script's status.
example=$(grep -A1 '^\.TP' <<<"$man_text" | grep -E '^\.B QT_QPA_PLATFORM=offscreen ' | sed -E 's/^\.B //; s/\\-/-/g')
[ -n "$example" ] || fail "the man page has no offscreen example"
example=${example//\/usr\/share/$share}
status=0
(cd "$scratch/elsewhere" && timeout 120 env ${example/sorvik-ems /$exe }) >/dev/null 2>&1 || status=$?
[ "$status" -eq 0 ] || fail "the man page's example ended with status $status: $example"
echo "install tree: ok"
