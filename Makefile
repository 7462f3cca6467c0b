# Thin wrapper over CMake. `make demo` and `make check` are the README's two commands.
BUILD_DIR ?= build/release
BUILD_TYPE ?= Release
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo Ninja || echo "Unix Makefiles")
CMAKE_FLAGS ?=

.PHONY: all deps configure build demo demo-link check asan-check fuzz-check package-check bench screenshots clean

all: build

deps:
	@scripts/setup-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# The main job: the virtual instrument and ventacq, no hardware needed.
demo: build
	@scripts/demo $(BUILD_DIR) ventacq

# The memory download: the virtual instrument and ventlink.
demo-link: build
	@scripts/demo $(BUILD_DIR) ventlink --records 1000

# Every test.
check: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS) --timeout 300

# Every test again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
asan-check: deps
	@$(MAKE) --no-print-directory check BUILD_DIR=build/asan BUILD_TYPE=Debug CMAKE_FLAGS="-DASAN=ON -DVENT_BUILD_BENCH=OFF"

# Each fuzz target for FUZZ_SECONDS (default 30) over its seed corpus.
FUZZ_SECONDS ?= 30
fuzz-check: deps
	@scripts/fuzz $(FUZZ_SECONDS) build/fuzz

# The Debian package built, installed on this machine, its programs started, removed again.
package-check: deps
	@scripts/package-test build/package

bench: build
	@scripts/run-benchmarks $(BUILD_DIR)

screenshots: build
	@scripts/screenshot $(BUILD_DIR)

clean:
	rm -rf build
