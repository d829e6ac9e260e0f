# One-command set-up on a fresh Debian 12 machine.
JOBS      ?= $(shell nproc)
# Tests wait on their X servers and real-time sound: twice as many as cores run at once.
TESTJOBS  ?= $(shell echo $$(( $(JOBS) * 2 )))
BUILD     ?= build
TESTBUILD ?= build-test
BENCHBUILD ?= build-bench
PLAINBUILD ?= build-plain

DEB_PACKAGES = build-essential cmake pkg-config googletest libgtest-dev libgmock-dev \
               libbenchmark-dev zlib1g-dev clang libclang-rt-14-dev lld \
               libsdl1.2-dev libsdl-mixer1.2-dev libsdl-ttf2.0-dev libsdl-image1.2-dev \
               libogg-dev libvorbis-dev libtheora-dev xvfb xauth libx11-dev libxtst-dev \
               fonts-dejavu-core

.PHONY: all deps build test bench run clean fuzz fuzz-smoke coverage

all: build

# Installs only what is missing; apt-get update runs once, and only when needed.
deps:
	@missing=""; for p in $(DEB_PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  SUDO=""; [ "$$(id -u)" -ne 0 ] && SUDO=sudo; \
	  $$SUDO apt-get update && DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y $$missing; \
	fi

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTUK_TESTS=OFF
	cmake --build $(BUILD) -j $(JOBS)

# One sanitized build serves the tests and the fuzz targets: clang with
# AddressSanitizer and UndefinedBehaviorSanitizer, the libraries also carrying
# the fuzzer's coverage instrumentation; precompiled headers, lld.
TESTCONFIG = -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
             -DTUK_SANITIZE=ON -DTUK_TESTS=ON -DTUK_FUZZ=ON -DTUK_PCH=ON
# The damaged-input suites once more, optimised and without sanitizers.
PLAINCONFIG = -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Release \
              -DTUK_TESTS=ON -DTUK_PCH=ON

# The optimised build runs beside ctest at the lowest priority, on the time
# the tests leave idle (they wait on their X servers and real-time sound).
test: deps
	cmake -S . -B $(TESTBUILD) $(TESTCONFIG)
	cmake --build $(TESTBUILD) -j $(JOBS)
	@echo "Building the optimised damaged-input suites beside the tests (log: $(TESTBUILD)/plain-build.log)"
	@nice -n 19 sh -c 'cmake -S . -B $(PLAINBUILD) $(PLAINCONFIG) && \
	  cmake --build $(PLAINBUILD) -j $(JOBS) --target fennic_hostile_tests' > $(TESTBUILD)/plain-build.log 2>&1 & \
	plain=$$!; status=0; \
	(cd $(TESTBUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(TESTJOBS)) || status=$$?; \
	wait $$plain || { cat $(TESTBUILD)/plain-build.log; echo "the optimised build failed"; exit 1; }; \
	tail -n 3 $(TESTBUILD)/plain-build.log; exit $$status
	cd $(PLAINBUILD) && bin/fennic_hostile_tests

bench: deps
	cmake -S . -B $(BENCHBUILD) -DCMAKE_BUILD_TYPE=Release -DTUK_TESTS=OFF -DTUK_BENCH=ON
	cmake --build $(BENCHBUILD) -j $(JOBS)
	@for b in $(BENCHBUILD)/bin/bench_*; do [ -x "$$b" ] && "$$b"; done; true

# The game from its own folder, beside the archives the build packed.
run: build
	cd $(BUILD)/bin && ./tuk

# The fuzz targets, in the test build (after `make test` they are built already).
fuzz: deps
	cmake -S . -B $(TESTBUILD) $(TESTCONFIG)
	cmake --build $(TESTBUILD) -j $(JOBS) --target fuzz_targets

# Every fuzz target from its seed corpus under fuzz/corpus/, JOBS at a time,
# within about FUZZ_SECONDS in all (the slowest targets get a triple share).
FUZZ_SECONDS ?= 60
fuzz-smoke: fuzz
	fuzz/run-smoke.sh $(TESTBUILD) $(FUZZ_SECONDS) $(JOBS)

# Line coverage of the libraries by the test suites (gcovr is installed on demand).
coverage: deps
	@command -v gcovr >/dev/null || { SUDO=""; [ "$$(id -u)" -ne 0 ] && SUDO=sudo; \
	  $$SUDO apt-get install -y gcovr || { $$SUDO apt-get update && $$SUDO apt-get install -y gcovr; }; }
	cmake -S . -B build-cov -DCMAKE_BUILD_TYPE=Debug -DTUK_COVERAGE=ON -DTUK_TESTS=ON
	cmake --build build-cov -j $(JOBS)
	find build-cov -name '*.gcda' -delete
	cd build-cov && ctest -j $(JOBS) >/dev/null
	gcovr -r . --filter 'zep2/src/' --filter 'fennic/src/' --filter 'tuk/src/' --filter 'libs/include/' build-cov

clean:
	rm -rf $(BUILD) $(TESTBUILD) $(BENCHBUILD) $(PLAINBUILD) build-cov
