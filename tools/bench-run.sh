#!/usr/bin/env bash
# The whole run's benchmark: Vorsalt.exe's healthy run against the demo's stand-ins beside its wire
# floor, ROUNDS times each, then the run with nothing listening (it stops the stand-ins, so one
# invocation of the program).
#   tools/bench-run.sh [ROUNDS]
VORSALT_BENCH_DEMO=1 VORSALT_BENCH_RUNS=1 exec bash "$(dirname "$0")/bench.sh" bench_run "${1:-5}"
