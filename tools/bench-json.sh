#!/usr/bin/env bash
# The JSON benchmark: the library against nlohmann::json, both compiled with the project's
# toolchain, under the test platform's Wine. Prints a table.
#   tools/bench-json.sh
VORSALT_BENCH_RUNS=1 exec bash "$(dirname "$0")/bench.sh" json_bench
