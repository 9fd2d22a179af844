#!/usr/bin/env bash
# Runs one test with its address space capped, so that a runaway test fails on a refused
# allocation instead of taking the machine down. TESSARY_TEST_MEMORY_LIMIT is the cap in
# megabytes (default 4096); 0 lifts it, as sanitizer builds need: they reserve far more
# address space than they use.
set -euo pipefail
limit=${TESSARY_TEST_MEMORY_LIMIT:-4096}
if [[ ! $limit =~ ^[0-9]+$ ]]; then
    echo "TESSARY_TEST_MEMORY_LIMIT must be a number of megabytes, not '$limit'" >&2
    exit 2
fi
if ((limit > 0)); then
    ulimit -v $((limit * 1024))
fi
exec "$@"
