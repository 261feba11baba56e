#!/usr/bin/env bash
# Milliseconds per event for the pattern layout's date conversion with long date formats, and
# for patterns of many %d.
#   tools/bench-date-format.sh [LENGTHS...]
VORSALT_BENCH_RUNS=${VORSALT_BENCH_RUNS:-1} exec bash "$(dirname "$0")/bench.sh" bench_date_format "$@"
