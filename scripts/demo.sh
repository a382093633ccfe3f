#!/usr/bin/env bash
# The wizard's main job against the sample product. Lays out a sandbox installation (with a
# dummy application tree and a running copy of the application, so the running-program dialog
# appears), starts the development content and feedback service, and runs the uninstaller with
# "-start_uninstall".
# With a display the user walks the wizard; without one, or with --autopilot, a script walks
# every page offscreen and saves a picture of each into the output folder.
#   scripts/demo.sh [--autopilot] [--lang CODE] [--zoom FACTOR] [--out DIR] [--build DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$here/build
out=""
language=""
zoom=""
autopilot=0
[ -n "${DISPLAY:-}" ] || autopilot=1
while (($#)); do
  case $1 in
    --autopilot) autopilot=1 ;;
    --lang) language=$2; shift ;;
    --zoom) zoom=$2; shift ;;
    --out) out=$2; shift ;;
    --build) build=$2; shift ;;
    *) echo "demo: unknown option $1" >&2; exit 2 ;;
  esac
  shift
done

"$here/scripts/setup.sh" "$build"

root=$(mktemp -d "${TMPDIR:-/tmp}/uninstall-demo.XXXXXX")
out=${out:-$root/output}
mkdir -p "$out"
out=$(cd "$out" && pwd)
install="$root/install"
home="$root/home"
mkdir -p "$install" "$home/.config" "$home/.local/share" "$root/run" "$root/tmp"
chmod 700 "$root/run"
cp -a "$build/product/." "$install/"
cp -a "$build"/stage/lib*.so* "$build/stage/uninstaller" "$install/"

product=$(python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["name"])' "$install/product.json")
# The application itself: a stand-in executable under the product's name, with some files.
cp /bin/sleep "$install/$product"
mkdir -p "$install/plugins/codecs" "$install/docs" "$install/translations"
# Enough files for the progress bar to be seen moving.
for d in $(seq 1 30); do
  mkdir -p "$install/plugins/codecs/set$d"
  for i in $(seq 1 150); do printf 'codec %s %s\n' "$d" "$i" > "$install/plugins/codecs/set$d/codec$i.bin"; done
done
echo "Tern Converter user guide" > "$install/docs/guide.txt"
echo "setup log" > "$install/unins000.dat"
cp /bin/true "$install/unins000.exe"

export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share"
export XDG_RUNTIME_DIR="$root/run" TMPDIR="$root/tmp"
[ -z "$zoom" ] || export TERN_ZOOM_DPI="$zoom"
if [ -n "$language" ]; then
  config="$XDG_CONFIG_HOME/$(python3 -c 'import json,sys; print(json.load(open(sys.argv[1])).get("organization","Tern"))' "$install/product.json")/$product"
  mkdir -p "$config"
  printf '[General]\nlanguage=%s\n' "$language" > "$config/settings.ini"
fi

pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
}
trap cleanup EXIT

# The development service, when it is built: content, pictures, updater and report storage.
service="$build/stage/contentservice"
if [ -x "$service" ]; then
  "$service" --port 0 --content "$here/tools/content" --db "$root/reports.sqlite" > "$root/service.out" 2> "$root/service.log" &
  pids+=($!)
  for _ in $(seq 1 50); do grep -q listening "$root/service.out" 2>/dev/null && break; sleep 0.1; done
  base=$(sed -n 's/^listening on //p' "$root/service.out")
  python3 - "$install/product.json" "$base" <<'PY'
import json, sys
path, base = sys.argv[1], sys.argv[2]
product = json.load(open(path))
params = product.setdefault("extendParams", {})
params["uninstallConfigURL"] = base + "/config.json"
params["uninstallReportUrl"] = base + "/report"
params["updateAppUrl"] = base + "/updater"
json.dump(product, open(path, "w"), indent=4)
PY
fi

"$install/$product" 3600 &
app=$!
pids+=($app)

status=0
cd "$root"
if ((autopilot)); then
  export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
  TERN_AUTOPILOT="$here/scripts/demo/walkthrough.autopilot" TERN_AUTOPILOT_OUTPUT="$out" \
    "$install/uninstaller" -start_uninstall > "$root/wizard.out" 2> "$root/wizard.err" || status=$?
else
  "$install/uninstaller" -start_uninstall > "$root/wizard.out" || status=$?
fi
# Exit statuses hold 8 bits here; the host prints the wizard's full result.
result=$(sed -n 's/^main_entry returned //p' "$root/wizard.out")
result=${result:-"none (uninstaller status $status)"}

data="$XDG_DATA_HOME/$(python3 -c 'import json,sys; print(json.load(open(sys.argv[1])).get("organization","Tern"))' "$build/product/product.json")/$product"
echo
echo "== Uninstall walk-through"
echo "exit code:        $result ($([ "$result" = 512 ] && echo "removal went ahead" || echo "nothing removed"))"
echo "application:      $(kill -0 $app 2>/dev/null && echo "still running" || echo "terminated")"
echo "files left:       $(cd "$install" && find . -mindepth 1 | sort | tr '\n' ' ')"
if [ -x "$service" ]; then
  echo "reports stored:"
  "$service" --db "$root/reports.sqlite" --list | python3 -c '
import json, sys
for line in sys.stdin:
    report = json.loads(line)
    document = report.get("document") or {}
    detail = ", ".join(f"{k}={v}" for k, v in document.items() if k not in ("tid", "userId"))
    print("  %-6s tid=%s  %s" % (report["kind"], report["tid"], detail))
'
fi
echo "analytics events:"
[ -f "$data/analytics.jsonl" ] && sed 's/^/  /' "$data/analytics.jsonl"
echo "core events:"
[ -f "$home/.local/share/CEIPG/events.log" ] && sed 's/^/  /' "$home/.local/share/CEIPG/events.log"
echo "log:              $data/uninstall.log"
((autopilot)) && echo "screenshots:      $out" && ls "$out" | sed 's/^/  /'
exit 0
