# Two commands for a newcomer: `make run` and `make test`. Both install what is missing first.
BUILD_DIR := build
JOBS := 2

# Debian packages the build, the tests, the screenshots and the benchmark need.
PACKAGES := cmake g++ make freeglut3-dev libgl1-mesa-dri libx11-dev libgtest-dev libbenchmark-dev \
            libpng-dev xvfb xdotool x11-utils clang libclang-rt-14-dev

.PHONY: deps configure build run test clean

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "Installing:" $$missing; \
	    apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y $$missing; \
	  else \
	    echo "Missing packages. Install them with:"; \
	    echo "  sudo apt-get install -y" $$missing; \
	    exit 1; \
	  fi; \
	fi

configure: deps
	@test -f $(BUILD_DIR)/CMakeCache.txt || cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD_DIR) -j$(JOBS)

run: build
	./$(BUILD_DIR)/camcurves

SANITIZE_DIR := build-sanitize
SANITIZE_OPTIONS := ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# The end-to-end test without the leak check: ESC ends the program by exit(0) with the window open, and
# Mesa's software driver still holds its buffers then; the program itself allocates nothing.
WINDOW_SANITIZE_OPTIONS := ASAN_OPTIONS=halt_on_error=1:detect_leaks=0 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

# Every test, then the unit and console tests and the end-to-end test (with the program it runs) again under
# AddressSanitizer and UndefinedBehaviorSanitizer.
test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure --no-tests=error
	@# Configured every time: the test targets are named explicitly, and an older tree may not know them yet.
	cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=Debug -DCAMCURVES_SANITIZE=address,undefined > /dev/null
	cmake --build $(SANITIZE_DIR) -j$(JOBS) --target curves_test console_test e2e_test
	$(SANITIZE_OPTIONS) ./$(SANITIZE_DIR)/tests/curves/curves_test
	$(SANITIZE_OPTIONS) ./$(SANITIZE_DIR)/tests/console/console_test
	$(WINDOW_SANITIZE_OPTIONS) ./$(SANITIZE_DIR)/tests/e2e/e2e_test

# Medians of table building, frames and key-to-frame latency on Mesa's llvmpipe in a private Xvfb.
.PHONY: bench
bench: build
	./$(BUILD_DIR)/tools/camcurves_bench --benchmark_repetitions=15 --benchmark_report_aggregates_only=true \
	  --benchmark_min_time=0.2

# libFuzzer over everything typed on the console, for FUZZ_SECONDS (60 unless given).
.PHONY: fuzz
fuzz: deps
	FUZZ_SECONDS=$${FUZZ_SECONDS:-60} bash tests/fuzz/run_fuzz.sh $(CURDIR) $(CURDIR)/$(BUILD_DIR) long

# docs/single-curve.png, docs/comparison.png, docs/curve7.png: the real window drawn on a private Xvfb.
.PHONY: screenshots
screenshots: build
	mkdir -p docs
	./$(BUILD_DIR)/tools/camcurves-screenshots docs

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR)
