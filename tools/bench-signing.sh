#!/usr/bin/env bash
# The signing benchmark: SignLow over 1 MB with the time stamp and the OCSP response from
# openssl's responders on loopback. Prints a table per kind of signature.
#   tools/bench-signing.sh
VORSALT_BENCH_RUNS=1 exec bash "$(dirname "$0")/bench.sh" bench_sign_low
