# The two commands: `make demo` runs the instrument's interface against the simulator, `make test`
# runs every test in the sandbox. Both install what is missing first (scripts/install-deps).

BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
ARM64_BUILD ?= build-arm64
QT6_BUILD ?= build-qt6
JOBS ?= $(shell nproc)
CTEST_ARGS ?=
# More configure options, e.g. CMAKE_ARGS=-DHBASE_WERROR=ON (CI).
CMAKE_ARGS ?=

BENCH_SIZE ?= 2000
SOAK_MINUTES ?= 10
# The sanitizer drive of CI: the same soak script, short, with leak detection.
SANITIZE_SOAK_MINUTES ?= 2

.PHONY: all deps build format format-check test test-stress test-sanitize fuzz soak soak-sanitize demo demo-shell demo-pictures bench clean qmltypes package \
        arm64-build test-arm64 package-arm64 test-qt6

all: build

deps:
	@scripts/install-deps

$(BUILD)/Makefile: CMakeLists.txt
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS)

build: deps $(BUILD)/Makefile
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) $(CTEST_ARGS)

# C++ files as .clang-format says: format-check fails on any difference (CI), format fixes them.
format-check: deps
	scripts/check-format

format: deps
	scripts/check-format --fix

# The suite three times from a fresh clone under /tmp, with ctest -j4 on this machine (not part of test).
test-stress: deps
	scripts/run-stress

$(ASAN_BUILD)/Makefile: CMakeLists.txt
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DHBASE_SANITIZE=ON $(CMAKE_ARGS)

# The same suite with AddressSanitizer, UndefinedBehaviorSanitizer and leak detection.
test-sanitize: deps $(ASAN_BUILD)/Makefile
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS) $(CTEST_ARGS)

# The interface for SOAK_MINUTES against the simulator, every screen made and destroyed again and again:
# fails when memory, descriptors or QObjects still grow after the warm-up (build/soak-run/soak.png).
soak: build
	SOAK_MINUTES=$(SOAK_MINUTES) scripts/run-soak $(BUILD)

# The same drive in the sanitizer tree for SANITIZE_SOAK_MINUTES: any leak or memory error fails it.
soak-sanitize: deps $(ASAN_BUILD)/Makefile
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	SOAK_MINUTES=$(SANITIZE_SOAK_MINUTES) scripts/run-soak $(ASAN_BUILD)

# Every file reader under libFuzzer (clang) for FUZZ_SECONDS each, in the sandbox.
fuzz:
	@scripts/install-deps --fuzz
	FUZZ_SECONDS=$(FUZZ_SECONDS) scripts/run-fuzz $(FUZZ_BUILD)

# With a display the interface opens in a window; without one (or with TOUR=1) the scripted tour runs,
# at 1280x800 unless SCREEN=WxH says otherwise.
demo: build
	scripts/run-demo $(BUILD) $(if $(TOUR),--tour) $(if $(SCREEN),--screen $(SCREEN))

# A shell in the running demo's sandbox, on its session bus: the simulator's control calls work there.
demo-shell:
	scripts/run-demo $(BUILD) --shell

# The pictures in docs/: the tour's picture of every screen at 1280x800.
demo-pictures: build
	rm -rf $(BUILD)/demo-pictures
	HBASE_DEMO_STORAGE=$(BUILD)/demo-pictures scripts/run-demo $(BUILD) --tour
	mkdir -p docs
	cp $(BUILD)/demo-pictures/user/TK520/internal/quillbox/screenshots/tour-1280x800-*.png docs/

# Renews src/plugin/plugins.qmltypes from the built plugin (inside the sandbox); commit the result.
qmltypes: build
	cmake --build $(BUILD) --target qmltypes

# Debian packages of the module and of the simulator, in $(BUILD)/packages.
package: build
	cd $(BUILD) && cpack

# The instrument's aarch64: cross-built with Debian's arm64 Qt, tested under qemu-user in the sandbox.
# ARM64_CTEST_ARGS selects tests (CI runs a subset, see .ci/run).
ARM64_CTEST_ARGS ?=
$(ARM64_BUILD)/Makefile: CMakeLists.txt cmake/aarch64-linux-gnu.cmake
	cmake -S . -B $(ARM64_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS)

arm64-build:
	scripts/install-deps --arm64
	$(MAKE) $(ARM64_BUILD)/Makefile
	cmake --build $(ARM64_BUILD) -j $(JOBS)

test-arm64: arm64-build
	cd $(ARM64_BUILD) && ctest --output-on-failure -j $(JOBS) $(ARM64_CTEST_ARGS)

package-arm64: arm64-build
	cd $(ARM64_BUILD) && cpack

# The same module, simulator, suite and demo tour built with Qt 6 (Qt 5 is the build that ships).
$(QT6_BUILD)/Makefile: CMakeLists.txt
	cmake -S . -B $(QT6_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHBASE_QT_MAJOR=6 $(CMAKE_ARGS)

test-qt6:
	scripts/install-deps --qt6
	$(MAKE) $(QT6_BUILD)/Makefile
	cmake --build $(QT6_BUILD) -j $(JOBS)
	cd $(QT6_BUILD) && ctest --output-on-failure -j $(JOBS) $(CTEST_ARGS)

# Times every measured operation against its floor in the sandbox and prints the table (see bench/).
bench: build
	scripts/run-bench $(BUILD) $(BENCH_SIZE)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(ARM64_BUILD) $(QT6_BUILD)
