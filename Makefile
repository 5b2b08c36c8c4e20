# The two commands of the README: `make run` and `make test`.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?=
CTEST_ARGS ?=

.PHONY: setup configure build run test test-asan test-tsan fuzz-smoke deb clean

setup:
	@tools/setup.sh

configure: setup
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	@tools/run.sh $(BUILD)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j$(JOBS) $(CTEST_ARGS)

# Leaks that fontconfig and D-Bus keep for the life of the process are not ours.
test-asan:
	@LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp $(MAKE) test BUILD=build-asan CMAKE_FLAGS="-DTEVLAN_SANITIZE=ON"

# Races inside the system's libraries, which are not built for the checker,
# are left out; tests/tsan.supp says which and why.
test-tsan:
	@TSAN_OPTIONS=suppressions=$(CURDIR)/tests/tsan.supp $(MAKE) test BUILD=build-tsan CMAKE_FLAGS="-DTEVLAN_TSAN=ON"

# Every fuzz target, built with clang in its own folder, each run for 20,000
# inputs with a fixed seed from the seed corpus (a few seconds; FUZZ_SECONDS
# is only a cap): the fuzz build keeps compiling, and a parser that crashes on
# the first inputs the fuzzer makes is caught, the same way on every machine.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 120
fuzz-smoke: setup
	@cmake -S . -B $(FUZZ_BUILD) -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DTEVLAN_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ_BUILD) -j$(JOBS) --target fuzz_targets
	@tests/fuzz/smoke.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The Debian package, from its own build folder: installed under /usr,
# hardened, built for size, without the test suite. The .deb lands in build-deb/, the
# programs' debug symbols in build-deb/debug/ (in gdb: symbol-file
# build-deb/debug/tevlan.debug).
deb: setup
	@cmake -S . -B build-deb -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
	  -DTEVLAN_HARDEN=ON -DTEVLAN_COMPACT=ON -DTEVLAN_BUILD_TESTS=OFF >/dev/null
	@cmake --build build-deb -j$(JOBS)
	@cd build-deb && cpack -G DEB
	@mkdir -p build-deb/debug && for p in tevlan tevlanctl; do \
	  objcopy --only-keep-debug --compress-debug-sections build-deb/$$p build-deb/debug/$$p.debug; done

clean:
	rm -rf build build-asan build-tsan build-fuzz build-deb
