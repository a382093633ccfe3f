#!/usr/bin/env bash
# Runs a program from a throw-away installation of the sample product. The wizard deletes the
# folder of the executable that hosts it, so nothing ever runs from the build tree.
#   sandbox-run.sh <program> [args...]
# Needs UNINSTALL_STAGE_DIR (built binaries) and UNINSTALL_PRODUCT_DIR (staged product files).
set -euo pipefail
program=$1
shift
: "${UNINSTALL_STAGE_DIR:?}" "${UNINSTALL_PRODUCT_DIR:?}"

root=$(mktemp -d "${TMPDIR:-/tmp}/uninstall-sandbox.XXXXXX")
cleanup() { chmod -R u+w "$root" 2>/dev/null || true; rm -rf "$root"; }
trap cleanup EXIT

install="$root/install"
mkdir -p "$install" "$root/home/.config" "$root/home/.local/share" "$root/home/.cache" "$root/run" "$root/tmp"
chmod 700 "$root/run"
cp -a "$UNINSTALL_PRODUCT_DIR"/. "$install"/
cp -a "$UNINSTALL_STAGE_DIR"/lib*.so* "$install"/
cp -a "$UNINSTALL_STAGE_DIR"/uninstaller "$install"/
cp -a "$program" "$install"/

export HOME="$root/home"
export XDG_CONFIG_HOME="$root/home/.config"
export XDG_DATA_HOME="$root/home/.local/share"
export XDG_CACHE_HOME="$root/home/.cache"
export XDG_RUNTIME_DIR="$root/run"
export TMPDIR="$root/tmp"
export UNINSTALL_SANDBOX="$root"
cd "$root"
status=0
"$install/$(basename "$program")" "$@" || status=$?
exit $status
