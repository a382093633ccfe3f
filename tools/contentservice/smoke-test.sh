#!/usr/bin/env bash
# Starts contentservice on a free loopback port, fetches its documents, posts two reports and
# checks that --list gives them back; stops the service with SIGTERM.
#   smoke-test.sh <contentservice binary> <content folder>
set -euo pipefail
# Responses are read whole before they are searched: a reader that stops early would make the
# writer fail under pipefail.
service=$1
content=$2

work=$(mktemp -d "${TMPDIR:-/tmp}/contentservice-smoke.XXXXXX")
pid=
cleanup() {
    if [[ -n $pid ]] && kill -0 "$pid" 2>/dev/null; then kill "$pid"; wait "$pid" || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$service" --content "$content" --db "$work/reports.db" --port 0 >"$work/out" 2>"$work/err" &
pid=$!
for _ in $(seq 100); do
    grep -q '^listening on ' "$work/out" && break
    kill -0 "$pid" 2>/dev/null || fail "service exited: $(cat "$work/err")"
    sleep 0.1
done
base=$(sed -n 's/^listening on //p' "$work/out")
[[ $base =~ ^http://127\.0\.0\.1:[0-9]+$ ]] || fail "no address printed"

config=$(curl -sf "$base/config.json")
[[ $config == *"\"recommendApp\": \"$base/recommendApp.json\""* ]] || fail "config does not point back: $config"
[[ $config != *'${BASE}'* ]] || fail "template left in config"
grep -q "\"pic_url\": \"$base/recAppIcon/" <<<"$(curl -sf "$base/recommendApp.json")" || fail "recommendApp.json"
grep -q '"uninstallChose"' <<<"$(curl -sf "$base/uninstallChose.json")" || fail "uninstallChose.json"
grep -q '"uninstallCause"' <<<"$(curl -sf "$base/uninstallCause.json")" || fail "uninstallCause.json"
[[ $(curl -sf "$base/updater") == "#!"* ]] || fail "updater"
[[ $(curl -s -o /dev/null -w '%{http_code}' "$base/../CMakeLists.txt") == 404 ]] || fail "path escape"
[[ $(curl -s -o /dev/null -w '%{http_code}' "$base/missing.json") == 404 ]] || fail "missing file"

first='{"brand":"tern","language":"en","productId":"1024","productName":"Tern Converter","productVersion":"3.2.0","tid":"05012024120000","time":"2024-05-01 12:00:00","uninstallCause":[{"slow":true},{"crash":false},{"price":false},{"features":false},{"other":false},""],"userId":"{00000000-0000-0000-0000-000000000001}"}'
second='{"tid":"05012024120000","userEmail":"user@example.com","userId":"{00000000-0000-0000-0000-000000000001}"}'
grep -q '"kind":"first"' <<<"$(curl -sf -H 'Content-Type: application/json' --data-binary "$first" "$base/report")" || fail "first report"
grep -q '"kind":"second"' <<<"$(curl -sf -H 'Content-Type: application/json' --data-binary "$second" "$base/report")" || fail "second report"
# Found by fuzz_reportbody: a NUL cut the listed body and fields short.
printf '{"tid":"05\0002024","userEmail":"user@example.com"}' >"$work/nul.json"
curl -sf --data-binary "@$work/nul.json" "$base/report" >/dev/null || fail "report with a NUL"

# Bounds: a body over the limit and a length that is no number are refused and not stored.
big=$(head -c 100000 /dev/zero | tr '\0' x)
[[ $(curl -s -o /dev/null -w '%{http_code}' -H 'Content-Type: application/json' --data-binary "$big" "$base/report") == 413 ]] || fail "large body"
port=${base##*:}
raw() { exec 3<>"/dev/tcp/127.0.0.1/$port"; printf '%b' "$1" >&3; head -1 <&3; exec 3>&-; }
[[ $(raw 'POST /report HTTP/1.1\r\nHost: x\r\nContent-Length: abc\r\nConnection: close\r\n\r\n') == "HTTP/1.1 400"* ]] || fail "malformed length"

# Twelve clients that send a header byte every two seconds do not keep others waiting.
slow=()
for _ in $(seq 12); do
    ( exec 3<>"/dev/tcp/127.0.0.1/$port" || exit 0
      for _ in $(seq 8); do printf 'G' >&3 2>/dev/null || exit 0; sleep 2; done ) &
    slow+=($!)
done
sleep 1
for _ in $(seq 3); do
    curl -sf --max-time 3 "$base/config.json" >/dev/null || fail "starved by slow clients"
    sleep 1
done
kill "${slow[@]}" 2>/dev/null || true
wait "${slow[@]}" 2>/dev/null || true

list=$("$service" --db "$work/reports.db" --list)
[[ $(wc -l <<<"$list") == 3 ]] || fail "expected three reports: $list"
[[ $(head -2 <<<"$list" | jq -r .tid | sort -u) == 05012024120000 ]] || fail "tids differ"
[[ $(jq -r .kind <<<"$list" | paste -sd,) == first,second,second ]] || fail "kinds"
[[ $(head -1 <<<"$list" | jq -r .body) == "$first" ]] || fail "body not kept byte for byte"
[[ $(tail -1 <<<"$list" | jq -c '[.tid, .body]') == '["05\u00002024","{\"tid\":\"05\u00002024\",\"userEmail\":\"user@example.com\"}"]' ]] \
    || fail "report with a NUL: $(tail -1 <<<"$list")"

kill -TERM "$pid"
status=0
wait "$pid" || status=$?
pid=
[[ $status == 0 ]] || fail "service exit status $status after SIGTERM"
echo "contentservice smoke test passed"
