# The demo's world for programs that follow, sourced inside the sandbox once the Wine prefix is
# ready (tools/wine-prefix.sh): the stand-ins of standins/start.sh at the built-in addresses of
# BUILD's configuration, listening when this returns and stopped when the shell exits, and the
# test provider registered as CryptoPro (BUILD/bin/register_demo_csp.exe). When either fails, it
# says so in one line and the shell exits 1.
#   source tools/demo-standins.sh BUILD LOG_DIR
demo_build=$1 demo_logs=$2
demo_failed() { echo "demo run failed: $1" >&2; exit 1; }
demo_host() { sed -n "s/^VORSALT_$1_HOST:STRING=//p" "$demo_build/CMakeCache.txt"; }
rm -f "$demo_logs/ready"
bash standins/start.sh standins/peer/peer.py "$demo_build/standins-pki" "$demo_build/ca-pki" "$demo_logs" \
  "$(demo_host SERVICE)" "$(demo_host TRAINING)" "$(demo_host ALTERNATIVE)" "$(demo_host CA_WEB)" \
  "$(demo_host ALT_CA_WEB)" &
demo_standins=$!
trap 'kill $demo_standins 2>/dev/null; wineserver -k 2>/dev/null || true' EXIT
for _ in $(seq 300); do
  [ -e "$demo_logs/ready" ] && break
  sleep 0.2
done
[ -e "$demo_logs/ready" ] || demo_failed "the stand-ins did not start listening within 60 s"
(cd "$demo_build/bin" && wine register_demo_csp.exe) || demo_failed "the test provider was not registered as CryptoPro"
