# Two commands for a newcomer: `make run` and `make test`. Each first installs the Debian packages it lacks.
BUILD_DIR := build
SANITIZE_DIR := build-sanitize
JOBS := 2
PREFIX := /usr/local

# Debian package names, the same on Debian 12 (bookworm) and 13 (trixie).
# Building what `make build` compiles, and running it:
RUN_PACKAGES := cmake g++ make freeglut3-dev libgl1-mesa-dri libx11-dev libcli11-dev nlohmann-json3-dev
# What the other targets add:
TEST_PACKAGES := libgtest-dev xvfb xauth xdotool x11-utils clang libclang-rt-dev librsvg2-bin libxml2-utils \
                 python3-ezdxf
TOOL_PACKAGES := libbenchmark-dev libpng-dev
FUZZ_PACKAGES := clang libclang-rt-dev
DEB_PACKAGES := dpkg-dev file
# The page (`make web`): Debian's Emscripten, node for it and for npm (which brings the terminal library), and
# freeglut for the glyphs of the window's font; the designer's camprofile needs the argument and JSON libraries'
# headers. Debian's npm only where no npm is installed: a node from elsewhere (nodesource) brings its own, and
# Debian's npm would not install beside it.
WEB_PACKAGES := cmake make g++ freeglut3-dev libcli11-dev nlohmann-json3-dev emscripten nodejs \
                $(if $(shell command -v npm 2>/dev/null),,npm)
# The browser test: Chromium driven by Selenium, with a Japanese font for the terminal.
WEB_TEST_PACKAGES := chromium chromium-driver python3-selenium fonts-ipafont-gothic

# Installs the packages of $(1) that are missing: with apt-get as root, else names the command and stops.
# Without dpkg and apt-get (another distribution) it says so and goes on; CMake then names a missing library.
define need_packages
	@if ! command -v dpkg-query >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then \
	  echo "No dpkg/apt-get here: not installing packages (the README lists the libraries by name)."; \
	else \
	  missing=$$(for p in $(sort $(1)); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; done); \
	  if [ -z "$$missing" ]; then :; \
	  elif [ "$$(id -u)" = 0 ]; then \
	    echo "Installing:" $$missing; \
	    apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $$missing; \
	  else \
	    echo "Missing Debian packages. Install them with:"; \
	    echo "  sudo apt-get install -y --no-install-recommends" $$missing; \
	    exit 1; \
	  fi; \
	fi
endef

# Configures $(BUILD_DIR) with the tests ($(1)) and the benchmark and screenshot programs ($(2)) ON or OFF,
# unless it already is: a tree made for one target never decides silently what another one builds.
define configure
	@grep -qsx 'CAMCURVES_TESTS:BOOL=$(1)' $(BUILD_DIR)/CMakeCache.txt && \
	  grep -qsx 'CAMCURVES_TOOLS:BOOL=$(2)' $(BUILD_DIR)/CMakeCache.txt || \
	  cmake -S . -B $(BUILD_DIR) --log-level=WARNING -DCAMCURVES_TESTS=$(1) -DCAMCURVES_TOOLS=$(2)
endef

.PHONY: build run test bench fuzz screenshots install package clean web

build:
	$(call need_packages,$(RUN_PACKAGES))
	$(call configure,OFF,OFF)
	cmake --build $(BUILD_DIR) -j$(JOBS)

run: build
	./$(BUILD_DIR)/camcurves

SANITIZE_OPTIONS := ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# The end-to-end test without the leak check: ESC ends the program by exit(0) with the window open, and
# Mesa's software driver still holds its buffers then; the program itself allocates nothing.
WINDOW_SANITIZE_OPTIONS := ASAN_OPTIONS=halt_on_error=1:detect_leaks=0 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

# Every test (the browser test on the page that `make web` builds), then the unit, console, camprofile and
# end-to-end tests (with the programs they run) again under AddressSanitizer and UndefinedBehaviorSanitizer.
test:
	$(call need_packages,$(RUN_PACKAGES) $(TEST_PACKAGES) $(WEB_PACKAGES) $(WEB_TEST_PACKAGES))
	$(MAKE) --no-print-directory web
	$(call configure,ON,OFF)
	cmake --build $(BUILD_DIR) -j$(JOBS)
	ctest --test-dir $(BUILD_DIR) --output-on-failure --no-tests=error
	@# Configured every time: the test targets are named explicitly, and an older tree may not know them yet.
	cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=Debug -DCAMCURVES_SANITIZE=address,undefined \
	  -DCAMCURVES_TESTS=ON -DCAMCURVES_TOOLS=OFF > /dev/null
	cmake --build $(SANITIZE_DIR) -j$(JOBS) --target curves_test console_test camprofile_test cam_test dynamics_test shop_test e2e_test
	$(SANITIZE_OPTIONS) ./$(SANITIZE_DIR)/tests/curves/curves_test
	$(SANITIZE_OPTIONS) ./$(SANITIZE_DIR)/tests/console/console_test
	$(SANITIZE_OPTIONS) ./$(SANITIZE_DIR)/tests/camprofile/camprofile_test
	$(SANITIZE_OPTIONS) ./$(SANITIZE_DIR)/tests/camprofile/cam_test
	$(SANITIZE_OPTIONS) ./$(SANITIZE_DIR)/tests/camprofile/dynamics_test
	$(SANITIZE_OPTIONS) ./$(SANITIZE_DIR)/tests/camprofile/shop_test
	$(WINDOW_SANITIZE_OPTIONS) ./$(SANITIZE_DIR)/tests/e2e/e2e_test

# The benchmark and screenshot programs share the tests' Xvfb support, so they need the test packages too.
# Medians of table building, frames and key-to-frame latency on Mesa's llvmpipe in a private Xvfb; then the
# page's size, first menu and key-to-frame in headless Chromium, beside the desktop's key-to-frame.
bench:
	$(call need_packages,$(RUN_PACKAGES) $(TEST_PACKAGES) $(TOOL_PACKAGES) $(WEB_PACKAGES) $(WEB_TEST_PACKAGES))
	$(MAKE) --no-print-directory web
	$(call configure,ON,ON)
	cmake --build $(BUILD_DIR) -j$(JOBS) --target camcurves_bench
	./$(BUILD_DIR)/tools/camcurves_bench --benchmark_repetitions=15 --benchmark_report_aggregates_only=true \
	  --benchmark_min_time=0.2
	/usr/bin/python3 tools/web/web_bench.py $(WEB_DIR) ./$(BUILD_DIR)/tools/camcurves_bench

# libFuzzer over everything typed on the console, for FUZZ_SECONDS (60 unless given).
fuzz:
	$(call need_packages,$(RUN_PACKAGES) $(FUZZ_PACKAGES))
	FUZZ_SECONDS=$${FUZZ_SECONDS:-60} bash tests/fuzz/run_fuzz.sh $(CURDIR) $(CURDIR)/$(BUILD_DIR) long

# docs/single-curve.png, docs/comparison.png, docs/curve7.png: the real window drawn on a private Xvfb;
# docs/web-page.png and docs/designer-*.png: the pages in headless Chromium.
screenshots:
	$(call need_packages,$(RUN_PACKAGES) $(TEST_PACKAGES) $(TOOL_PACKAGES) $(WEB_PACKAGES) $(WEB_TEST_PACKAGES))
	$(MAKE) --no-print-directory web
	$(call configure,ON,ON)
	cmake --build $(BUILD_DIR) -j$(JOBS) --target camcurves-screenshots
	mkdir -p docs
	./$(BUILD_DIR)/tools/camcurves-screenshots docs
	/usr/bin/python3 tools/web/web_screenshot.py $(WEB_DIR) docs/web-page.png
	/usr/bin/python3 tools/web/designer_screenshot.py $(WEB_DIR) docs/designer

# docs/camprofile-laws.svg, docs/cam-profile.svg: the S, V, A and J charts and the exported cam profile that the
# README shows, drawn by camprofile.
.PHONY: plots
plots: build
	mkdir -p docs
	./$(BUILD_DIR)/camprofile plot parabolic harmonic modified-sine -o docs/camprofile-laws.svg
	./$(BUILD_DIR)/camprofile cam modified-sine --base-radius 60 --follower roller --roller-radius 15 --offset -10 \
	  --rise 120 --dwell 60 --return 150 --per-degree 2 --profile docs/cam-profile.svg
	./$(BUILD_DIR)/camprofile cam --segment rise,80,20,cycloid --segment dwell,40 --segment rise,50,10,harmonic \
	  --segment return,110,30,polynomial-345 --base-radius 40 --follower roller --roller-radius 12 --offset 5 \
	  --speed 700 --mass 0.5 --spring-rate 3 --preload 40 --cam-width 10 --plot $(BUILD_DIR)/cam-turn-plot.svg
	@# The PNG for pages that show no SVG; rsvg-convert comes with the test packages.
	rsvg-convert -o docs/cam-turn-plot.png $(BUILD_DIR)/cam-turn-plot.svg

# Into $(PREFIX) (/usr/local unless given), under $(DESTDIR) if given: the programs and the README.
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"

# $(BUILD_DIR)/camcurves_VERSION_ARCH.deb for `apt install ./camcurves_VERSION_ARCH.deb`.
package: build
	$(call need_packages,$(DEB_PACKAGES))
	cd $(BUILD_DIR) && cpack -G DEB

WEB_DIR := build-web
WEB_BUILD_DIR := build-web-obj
WEB_SIZE_LIMIT := 2000000
# emcc runs its tools with node; a node not from Debian does not search Debian's modules (acorn) by itself.
WEB_ENV := NODE_PATH=/usr/share/nodejs

# $(WEB_DIR)/: index.html and everything it loads (the program as one script with its WebAssembly inside, the
# terminal library and its licence), to open from disk or copy to any web server.
web:
	$(call need_packages,$(WEB_PACKAGES))
	npm ci --no-audit --no-fund --loglevel=error
	$(WEB_ENV) emcmake cmake -S . -B $(WEB_BUILD_DIR) -DCMAKE_BUILD_TYPE=Release --log-level=WARNING > /dev/null
	$(WEB_ENV) cmake --build $(WEB_BUILD_DIR) -j$(JOBS)
	rm -rf $(WEB_DIR)
	mkdir -p $(WEB_DIR)
	cp web/index.html web/page.js web/page.css $(WEB_BUILD_DIR)/camcurves.js $(WEB_DIR)/
	cp web/designer.html web/designer.js web/designer.css $(WEB_BUILD_DIR)/camprofile.js $(WEB_DIR)/
	cp node_modules/@xterm/xterm/lib/xterm.js node_modules/@xterm/xterm/css/xterm.css $(WEB_DIR)/
	cp node_modules/@xterm/xterm/LICENSE $(WEB_DIR)/xterm-LICENSE.txt
	@size=$$(cat $(WEB_DIR)/* | wc -c); echo "$(WEB_DIR)/: $$size bytes"; \
	  if [ $$size -gt $(WEB_SIZE_LIMIT) ]; then echo "$(WEB_DIR)/ is over $(WEB_SIZE_LIMIT) bytes"; exit 1; fi

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(WEB_DIR) $(WEB_BUILD_DIR)
