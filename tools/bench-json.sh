#!/usr/bin/env bash
# The JSON benchmark: the library against nlohmann::json, both compiled with the project's
# toolchain, under the test platform's Wine. Prints a table.
#   [VORSALT_BENCH_RUNS=N] tools/bench-json.sh    (one run by default)
VORSALT_BENCH_RUNS=${VORSALT_BENCH_RUNS:-1} exec bash "$(dirname "$0")/bench.sh" json_bench
