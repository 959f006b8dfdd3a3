# The two commands of the README, plus the pieces they are made of.
BUILD ?= build
JOBS  ?= 2

.PHONY: bootstrap configure build run test test-asan test-windows bench fuzz package screenshots clean

bootstrap:
	@scripts/bootstrap

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: bootstrap $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j$(JOBS)

run: build
	$(BUILD)/quillwick

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer, in its own build
# folder; too slow for `make test`.
ASAN_BUILD ?= build-asan
test-asan: bootstrap
	JOBS=$(JOBS) scripts/test-asan $(ASAN_BUILD)

# Core and the Windows backends cross-compiled with MinGW-w64 and run under Wine; installs the
# cross compiler and Wine when run as root. The GUI is not part of it: Debian has no Qt for MinGW.
WINDOWS_BUILD ?= build-windows
test-windows:
	JOBS=$(JOBS) scripts/test-windows $(WINDOWS_BUILD)

# Timings, never part of `make test` (which only runs the scale harness once on 20 cards).
bench: build
	$(BUILD)/core_bench
	QT_QPA_PLATFORM=offscreen $(BUILD)/gui_bench
	$(BUILD)/scale_bench

# A long fuzzing run of every reader (SECONDS each); `make test` runs a short one.
SECONDS ?= 300
fuzz: bootstrap
	tests/fuzz/run.sh $(SECONDS) $(abspath $(BUILD))

# Pictures of every window under Xvfb and icewm, at 96 and 192 dpi and with a dark palette.
screenshots: build
	scripts/screenshots $(BUILD) $(BUILD)/screenshots

# A Debian package of the program, build/quillwick_<version>-1_<arch>.deb (installs under /usr).
package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD)
