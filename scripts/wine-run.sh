#!/usr/bin/env bash
# Runs a Windows program under wine64 in a Wine prefix of its own (the emulator of the Windows
# build's tests). Home and prefix lie in that folder, so nothing reaches ~/.wine or the desktop.
#   wine-run.sh <prefix-folder> <program.exe> [args...]
set -euo pipefail
prefix=$1
shift
wine=/usr/lib/wine/wine64 # Debian puts no wine64 on the PATH
[ -x "$wine" ] || wine=$(command -v wine64 || true)
wineserver=$(dirname "$wine")/wineserver
if [ -z "$wine" ] || [ ! -x "$wineserver" ]; then
  echo "wine-run: wine64 not found (Debian package wine64; scripts/setup.sh installs it)" >&2
  exit 1
fi

mkdir -p "$prefix/home"
export WINEPREFIX="$prefix" WINEDEBUG=-all HOME="$prefix/home" XDG_CONFIG_HOME="$prefix/home/.config"
export XDG_DATA_HOME="$prefix/home/.local/share" XDG_CACHE_HOME="$prefix/home/.cache"
# No Mono or Gecko installer prompts, no menu entries.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"

# The first start makes the prefix (some 20 s); two starts at once must not both make it.
if [ ! -f "$prefix/.made" ]; then
  (
    flock 9
    if [ ! -f "$prefix/.made" ]; then
      "$wine" wineboot --init >/dev/null 2>&1
      "$wineserver" --wait # until the registry is on disk
      touch "$prefix/.made"
    fi
  ) 9>"$prefix.lock"
fi
exec "$wine" "$@"
