#!/usr/bin/env bash
# Events per second through the logging library's file appender with the pattern layout, against
# a plain loop of WriteFile calls writing the same lines, in turns, with medians of the rounds;
# then what one event costs in each step.
#   tools/bench-logging.sh [EVENTS]
exec bash "$(dirname "$0")/bench.sh" bench_logging "${1:-200000}"
