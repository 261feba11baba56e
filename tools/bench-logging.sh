#!/usr/bin/env bash
# Events per second through the logging library's file appender with the pattern layout, against
# a plain loop of WriteFile calls writing the same lines.
#   tools/bench-logging.sh [EVENTS]
exec bash "$(dirname "$0")/bench.sh" bench_logging "${1:-200000}"
