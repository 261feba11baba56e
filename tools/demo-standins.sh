# The demo's world for programs that follow, sourced inside the sandbox once the Wine prefix is
# ready (tools/wine-prefix.sh): the stand-ins of standins/start.sh at the built-in addresses of
# BUILD's configuration, listening when this returns and stopped when the shell exits, and the
# test provider registered as CryptoPro (BUILD/bin/register_demo_csp.exe).
#   source tools/demo-standins.sh BUILD LOG_DIR
demo_build=$1 demo_logs=$2
demo_host() { sed -n "s/^VORSALT_$1_HOST:STRING=//p" "$demo_build/CMakeCache.txt"; }
bash standins/start.sh standins/peer/peer.py "$demo_build/standins-pki" "$demo_build/ca-pki" "$demo_logs" \
  "$(demo_host SERVICE)" "$(demo_host TRAINING)" "$(demo_host ALTERNATIVE)" "$(demo_host CA_WEB)" \
  "$(demo_host ALT_CA_WEB)" &
demo_standins=$!
trap 'kill $demo_standins 2>/dev/null; wineserver -k 2>/dev/null || true' EXIT

# Every stand-in's address and port, as ss shows a listening socket.
demo_listeners="$(demo_host SERVICE):80 $(demo_host SERVICE):443 $(demo_host TRAINING):443
  $(demo_host ALTERNATIVE):443 $(demo_host CA_WEB):80 $(demo_host ALT_CA_WEB):80 127.0.0.1:8088"
demo_listening() {
  local listening address
  listening=$(ss -Hltn)
  for address in $demo_listeners; do
    grep -qF " $address " <<<"$listening" || return 1
  done
}
for _ in $(seq 200); do
  demo_listening && break
  sleep 0.05
done
demo_listening || { echo "the stand-ins do not listen" >&2; exit 1; }

(cd "$demo_build/bin" && wine register_demo_csp.exe)
