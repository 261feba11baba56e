#!/usr/bin/env bash
# Starts the stand-ins of a demo run inside the sandbox and puts the gateway's executable into the
# Wine prefix: the service host (HTTP on 80, HTTPS on 443), the training complex and the
# alternative host (HTTPS on 443), and the signing gateway on 127.0.0.1:8088. They answer as the
# real ones do when all is well, and end when this script is stopped.
#   start.sh PEER_SCRIPT PKI_DIR LOG_DIR SERVICE_HOST TRAINING_HOST ALTERNATIVE_HOST
set -euo pipefail
peer=$1 pki=$2 logs=$3 service=$4 training=$5 alternative=$6
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$logs"

programs="$WINEPREFIX/drive_c/Program Files (x86)"
[ -d "$programs" ] || programs="$WINEPREFIX/drive_c/Program Files"
mkdir -p "$programs/VELTA/Зантхолдер ЛУМ"
: > "$programs/VELTA/Зантхолдер ЛУМ/Zantholder.exe"

trap 'kill $(jobs -p) 2>/dev/null' EXIT

serve() {  # NAME ADDRESS PORT SCRIPT [TLS]
  python3 "$peer" --name "$1" --host "$2" --port "$3" --script "$here/$4" --log "$logs/$1.jsonl" \
    --pki "$pki" --lifetime 86400 ${5:+--tls "$5"} &
}
serve service-http "$service" 80 service.json
serve service-https "$service" 443 service.json server
serve training "$training" 443 service.json server
serve alternative "$alternative" 443 service.json server
serve gateway 127.0.0.1 8088 gateway.json
wait
