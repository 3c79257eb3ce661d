# SPDX-License-Identifier: Apache-2.0
# Everyday commands. Each installs what is missing (tools/bootstrap.sh), configures,
# builds and runs.
JOBS ?= $(shell nproc)
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
BENCH_BUILD ?= build-bench
BENCH_FILTER ?= .

.PHONY: all build test run sanitize fuzz fuzz-run bench docs format clean

all: build

build:
	@tools/bootstrap.sh
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# Calculates the sample sheet and prints it.
run: build
	$(BUILD)/host/ostrel-cells calc examples/basic.csv

sanitize:
	@tools/bootstrap.sh
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DOSTREL_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

fuzz:
	@tools/bootstrap.sh --fuzz
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOSTREL_FUZZ=ON \
	  -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(FUZZ_BUILD) -j $(JOBS)

# Runs every fuzz target for FUZZ_SECONDS each, from its seed corpus.
fuzz-run: fuzz
	tools/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# Builds the benchmark programs in Release and runs each (BENCH_FILTER narrows them by
# name, e.g. BENCH_FILTER=recalc/chain).
bench:
	@tools/bootstrap.sh
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DOSTREL_BENCH=ON -DOSTREL_TESTS=OFF
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	for program in $(BENCH_BUILD)/bench/*_bench; do \
	  $$program --benchmark_filter='$(BENCH_FILTER)' || exit 1; \
	done

# The API documentation of the public headers, as HTML in $(BUILD)/docs/html.
docs:
	@tools/bootstrap.sh --docs
	mkdir -p $(BUILD)/docs
	( cat docs/Doxyfile; echo "OUTPUT_DIRECTORY = $(BUILD)/docs" ) | doxygen -
	@echo "docs: $(BUILD)/docs/html/index.html"

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(BENCH_BUILD)
