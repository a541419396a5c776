# The README's commands. `make check` is the full gate CI runs; `make test` the quick loop.
SHELL := /bin/bash
BUILD      ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
INSTALL_BUILD ?= build-install
FUZZ_BUILD ?= build-fuzz
WIN32_BUILD ?= build-win32
WIN64_BUILD ?= build-win64
FUZZ_SECONDS ?= 180
FUZZ_TARGETS := Bridge DataPacket Filter Params Numbers
PREFIX     ?= /usr/local
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?= -DCMAKE_BUILD_TYPE=Debug

# Debian packages the build needs; installed only when one is missing.
PACKAGES := g++ binutils cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev \
            libsqlite3-dev libssl-dev libpugixml-dev nlohmann-json3-dev libcli11-dev \
            ccache clang

.PHONY: all deps build test check asan fuzz fuzz-quick bench demo install clean windows-deps windows-native-tools windows windows-check

# What the Windows builds need besides: the mingw-w64 compilers (32-bit for the module, 64-bit for
# the test run), 64-bit wine, and Debian's source packages of the third-party libraries (which need
# a deb-src entry and dpkg-source; SQLite's one-file source is generated with tclsh).
WIN32_PACKAGES := g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine64 dpkg-dev tcl googletest
DEB_SRC_LIST := /etc/apt/sources.list.d/orb00100-deb-src.sources

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

windows-deps: deps
	@SUDO=""; [ "$$(id -u)" = 0 ] || SUDO=sudo; update=""; \
	if ! grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then \
	  printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: %s %s-updates\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
	    "$$(. /etc/os-release; echo $$VERSION_CODENAME)" "$$(. /etc/os-release; echo $$VERSION_CODENAME)" | $$SUDO tee $(DEB_SRC_LIST) >/dev/null; \
	  update=1; \
	fi; \
	missing=""; for p in $(WIN32_PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$update$$missing" ]; then $$SUDO apt-get update -qq; fi; \
	if [ -n "$$missing" ]; then \
	  echo "installing:$$missing"; \
	  DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq --no-install-recommends $$missing >/dev/null; \
	fi

# The Windows builds need the native build's orb_exportmap (it writes the DLL's export list from
# the export table) and orb (the same-coupon check compares the two).
WIN_NATIVE_TOOLS := $(abspath $(BUILD))/bin
windows-native-tools: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target orb_exportmap orb

# The module's real target: the 32-bit Orb00100.dll, the stand-in DLLs of the virtual printer,
# orb.exe and the test programs (compiled, not run: see windows-check), cross-built into
# $(WIN32_BUILD)/bin; the third-party libraries first, from Debian's sources, into
# $(WIN32_BUILD)/third-party. Then what each DLL exports is checked.
windows: windows-deps windows-native-tools
	cmake/win32/third-party.sh i686-w64-mingw32 $(WIN32_BUILD)/third-party
	cmake -S . -B $(WIN32_BUILD) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw.cmake -DORB_MINGW_PREFIX=i686-w64-mingw32 \
	  -DCMAKE_BUILD_TYPE=Release -DORB_TESTS=ON -DORB_TESTS_COMPILE_ONLY=ON -DORB_WIN32_THIRD_PARTY=$(abspath $(WIN32_BUILD))/third-party \
	  -DORB_HOST_EXPORTMAP=$(WIN_NATIVE_TOOLS)/orb_exportmap
	cmake --build $(WIN32_BUILD) -j $(JOBS)
	cmake/win32/check-exports.sh $(WIN32_BUILD) i686-w64-mingw32 .

# The test suite on Windows, under wine (headless, in a wine prefix inside the build folder). The
# same sources built for 64-bit Windows into $(WIN64_BUILD): the machines this project builds on
# run no 32-bit programs, so 32-bit wine cannot start there (see README). Built without optimisation,
# which halves its build time.
windows-check: windows
	cmake/win32/third-party.sh x86_64-w64-mingw32 $(WIN64_BUILD)/third-party
	cmake -S . -B $(WIN64_BUILD) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw.cmake -DORB_MINGW_PREFIX=x86_64-w64-mingw32 \
	  -DCMAKE_BUILD_TYPE=None -DORB_WIN32_THIRD_PARTY=$(abspath $(WIN64_BUILD))/third-party \
	  -DORB_HOST_EXPORTMAP=$(WIN_NATIVE_TOOLS)/orb_exportmap
	cmake --build $(WIN64_BUILD) -j $(JOBS)
	ctest --test-dir $(WIN64_BUILD) --output-on-failure -j $(JOBS)

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
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) $(INSTALL_BUILD) $(FUZZ_BUILD) $(WIN32_BUILD) $(WIN64_BUILD)
