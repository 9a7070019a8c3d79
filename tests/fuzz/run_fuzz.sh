#!/bin/bash
# Builds the console fuzz target with clang and runs it: `short` for a fixed number of runs, `long` for 60 s.
set -euo pipefail
source_dir=$1
build_dir=$2
mode=$3
out=$build_dir/fuzz
mkdir -p "$out/work-corpus"
target=$out/console_fuzz

sources=(
  "$source_dir"/tests/fuzz/console_fuzz.cpp
  "$source_dir"/app/start_up.cpp "$source_dir"/app/console_dialogue.cpp "$source_dir"/app/terminal.cpp
  "$source_dir"/app/window.cpp "$source_dir"/app/window_title_x11.cpp "$source_dir"/app/display_check_x11.cpp
  "$source_dir"/curves/*.cpp "$source_dir"/render/*.cpp "$source_dir"/mechanism/*.cpp
)
# Rebuild when any source or header is newer than the target.
if [ ! -x "$target" ] || [ -n "$(find "$source_dir"/app "$source_dir"/curves "$source_dir"/render \
        "$source_dir"/mechanism "$source_dir"/tests/fuzz -newer "$target" -name '*.[ch]*' | head -1)" ]; then
  clang++ -std=c++17 -g -O1 -Wall -Wextra -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    -I"$source_dir" "${sources[@]}" -lglut -lGL -lX11 -o "$target"
fi

export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
case $mode in
  short) "$target" -runs=20000 -max_len=4096 -seed=1 -timeout=10 "$out/work-corpus" "$source_dir"/tests/fuzz/corpus ;;
  long)  "$target" -max_total_time="${FUZZ_SECONDS:-60}" -max_len=4096 -timeout=10 \
           "$out/work-corpus" "$source_dir"/tests/fuzz/corpus ;;
esac
