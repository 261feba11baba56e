#!/usr/bin/env bash
# Starts the stand-ins of a demo run inside the sandbox and puts the gateway's executable into the
# Wine prefix: the service host (HTTP on 80, HTTPS on 443), the training complex and the
# alternative host (HTTPS on 443), the certification authority's two web sites (HTTP on 80: the
# chain of the CA test PKI and its CRLs), and the signing gateway on 127.0.0.1:8088. They answer as
# the real ones do when all is well, and end when this script is stopped. LOG_DIR/ready appears when
# every one of them listens. Every reply closes its connection, and the service's client library
# looks names up without a time-out: the run's wire floor (tests/e2e/bench_run_floor.cpp) makes the
# connections and requests that these stand-ins are asked.
#   start.sh PEER_SCRIPT PKI_DIR CA_PKI_DIR LOG_DIR SERVICE_HOST TRAINING_HOST ALTERNATIVE_HOST \
#            CA_WEB_HOST ALT_CA_WEB_HOST
set -euo pipefail
peer=$1 pki=$2 ca_pki=$3 logs=$4 service=$5 training=$6 alternative=$7 ca_web=$8 alt_ca_web=$9
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$logs"
rm -f "$logs"/*.port "$logs/ready"

programs="$WINEPREFIX/drive_c/Program Files (x86)"
[ -d "$programs" ] || programs="$WINEPREFIX/drive_c/Program Files"
mkdir -p "$programs/VELTA/Зантхолдер ЛУМ"
: > "$programs/VELTA/Зантхолдер ЛУМ/Zantholder.exe"

trap 'kill $(jobs -p) 2>/dev/null' EXIT

serve() {  # NAME ADDRESS PORT SCRIPT PKI [TLS]
  python3 "$peer" --name "$1" --host "$2" --port "$3" --script "$here/$4" --log "$logs/$1.jsonl" \
    --pki "$5" --lifetime 86400 --port-file "$logs/$1.port" ${6:+--tls "$6"} &
}
serve service-http "$service" 80 service.json "$pki"
serve service-https "$service" 443 service.json "$pki" server
serve training "$training" 443 service.json "$pki" server
serve alternative "$alternative" 443 service.json "$pki" server
serve ca-web "$ca_web" 80 ca-site.json "$ca_pki"
serve alt-ca-web "$alt_ca_web" 80 ca-site.json "$ca_pki"
serve gateway 127.0.0.1 8088 gateway.json "$pki"
while [ "$(ls "$logs"/*.port 2>/dev/null | wc -l)" -lt 7 ]; do sleep 0.2; done
: > "$logs/ready"
wait
