#!/bin/bash
# Builds the console fuzz target with clang and runs it: `short` for a fixed number of runs, `long` for FUZZ_SECONDS.
set -euo pipefail
src=$1
out=$2/fuzz
mkdir -p "$out/work-corpus"
# Rebuilt when any source or header is newer than the target.
if [ ! -x "$out/console_fuzz" ] || [ -n "$(find "$src"/{app,curves,render,mechanism,tests/fuzz} -newer \
      "$out/console_fuzz" -name '*.[ch]*' | head -1)" ]; then
  clang++ -std=c++17 -g -O1 -Wall -Wextra -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -I"$src" \
    "$src"/tests/fuzz/console_fuzz.cpp \
    "$src"/app/{start_up,console_dialogue,terminal,terminal_x11,window,window_x11,window_title_x11,display_check_x11}.cpp \
    "$src"/curves/*.cpp "$src"/render/{chart_frames,charts,text_panel,primitives_x11}.cpp "$src"/mechanism/*.cpp \
    -lglut -lGL -lX11 -o "$out/console_fuzz"
fi
limit=(-runs=20000 -seed=1)
[ "$3" = long ] && limit=(-max_total_time="${FUZZ_SECONDS:-60}")
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 "$out/console_fuzz" "${limit[@]}" -max_len=4096 -timeout=10 \
  "$out/work-corpus" "$src"/tests/fuzz/corpus
