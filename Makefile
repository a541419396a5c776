# The README's commands. `make check` is the full gate CI runs; `make test` the quick loop.
SHELL := /bin/bash
BUILD      ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
INSTALL_BUILD ?= build-install
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 180
FUZZ_TARGETS := Bridge DataPacket Filter Params Numbers
PREFIX     ?= /usr/local
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?= -DCMAKE_BUILD_TYPE=Debug

# Debian packages the build needs; installed only when one is missing.
PACKAGES := g++ binutils cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev \
            libsqlite3-dev libssl-dev libpugixml-dev nlohmann-json3-dev libcli11-dev \
            ccache clang

.PHONY: all deps build test check asan fuzz fuzz-quick bench demo install clean

all: build

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "installing:$$missing"; \
	  SUDO=""; [ "$$(id -u)" = 0 ] || SUDO=sudo; \
	  $$SUDO apt-get update -qq && DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq $$missing >/dev/null; \
	fi

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_ARGS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

$(ASAN_BUILD)/build.ninja: | deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORB_SANITIZE=ON

asan: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

check: test asan fuzz-quick

# The libFuzzer targets (clang, both sanitizers): each runs FUZZ_SECONDS on its seed corpus in
# fuzz/corpus/ plus what earlier runs found (kept in $(FUZZ_BUILD)/corpus). A crash stops it, and
# the input that made it is left in the current folder.
fuzz: deps
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DORB_FUZZ=ON -DORB_TESTS=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(addprefix fuzz_,$(FUZZ_TARGETS))
	@for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$t; \
	  echo "fuzzing $$t for $(FUZZ_SECONDS) s"; \
	  $(FUZZ_BUILD)/bin/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
	    $(FUZZ_BUILD)/corpus/$$t fuzz/corpus/$$t 2>$(FUZZ_BUILD)/fuzz_$$t.log \
	    || { tail -40 $(FUZZ_BUILD)/fuzz_$$t.log; exit 1; }; \
	  grep -h 'stat::number_of_executed_units' $(FUZZ_BUILD)/fuzz_$$t.log; \
	done

# What `make check` runs: each target twenty seconds.
fuzz-quick:
	$(MAKE) fuzz FUZZ_SECONDS=20

# Only the benchmarks, their checks and what they load.
bench: deps
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DORB_BENCH=ON
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target orb_bench bench_test
	$(BENCH_BUILD)/bin/bench_test --gtest_brief=1
	$(BENCH_BUILD)/bin/orb_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

# Only what the demo needs: the command-line host, the module and the virtual printer.
demo: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target orb
	$(BUILD)/bin/orb demo

# A Release build of what is installed (no tests), into $(PREFIX); DESTDIR stages it elsewhere.
install: deps
	cmake -S . -B $(INSTALL_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DORB_TESTS=OFF -DCMAKE_INSTALL_PREFIX=$(PREFIX)
	cmake --build $(INSTALL_BUILD) -j $(JOBS)
	@SUDO=""; target="$(DESTDIR)$(PREFIX)"; mkdir -p "$$target" 2>/dev/null; \
	  [ -w "$$target" ] || SUDO=sudo; \
	  DESTDIR="$(DESTDIR)" $$SUDO cmake --install $(INSTALL_BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) $(INSTALL_BUILD) $(FUZZ_BUILD)
