# The two commands of the README: `make run` and `make test`.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?=
CTEST_ARGS ?=

.PHONY: setup configure build run test test-asan test-tsan clean

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

test-tsan:
	@$(MAKE) test BUILD=build-tsan CMAKE_FLAGS="-DTEVLAN_TSAN=ON" CTEST_ARGS="-LE qt-internal-race"

clean:
	rm -rf build build-asan build-tsan
