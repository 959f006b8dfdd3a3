# The two commands of the README, plus the pieces they are made of.
BUILD ?= build
JOBS  ?= 2

.PHONY: bootstrap configure build run test lint format test-asan test-windows windows-folder \
        windows-installer bench fuzz package screenshots clean

bootstrap:
	@scripts/bootstrap

# WERROR=ON (CI) makes every compiler warning an error.
WERROR ?= OFF
# The hardening a Debian build has (fortified functions, stack protector, read-only relocations
# bound at start), as dpkg-buildflags gives it; nothing where dpkg-dev is missing. CMake takes
# CXXFLAGS and LDFLAGS from the environment on the first configure only.
BUILDFLAGS = DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags
HARDENING_CXXFLAGS := $(strip $(shell $(BUILDFLAGS) --get CPPFLAGS 2>/dev/null) \
                              $(shell $(BUILDFLAGS) --get CXXFLAGS 2>/dev/null))
HARDENING_LDFLAGS := $(shell $(BUILDFLAGS) --get LDFLAGS 2>/dev/null)
$(BUILD)/build.ninja:
	CXXFLAGS="$(HARDENING_CXXFLAGS)" LDFLAGS="$(HARDENING_LDFLAGS)" \
	  cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLWICK_WERROR=$(WERROR)

configure: bootstrap $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j$(JOBS)

run: build
	$(BUILD)/quillwick

test: build
	cd $(BUILD) && ctest -LE windows --output-on-failure -j$(JOBS)

# Lays out every C++ file as .clang-format says; `make lint` checks that nothing strays.
format:
	scripts/format

# The layout check, then clang-tidy over the program's sources with the checks of .clang-tidy; any finding fails.
lint: build
	JOBS=$(JOBS) scripts/lint $(BUILD)

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer, in its own build
# folder; too slow for `make test`.
ASAN_BUILD ?= build-asan
test-asan: bootstrap
	JOBS=$(JOBS) scripts/test-asan $(ASAN_BUILD)

# The Windows program cross-built with MinGW-w64 against the Windows SDK (QUILLWICK_WINDOWS_SDK,
# by default ../shared/windows-sdk) and proven under Wine: the core and backend suites, then the
# program and its installer on a private desktop. Installs MinGW, Wine and NSIS when run as root.
WINDOWS_BUILD ?= build-windows
test-windows: build
	WERROR=$(WERROR) JOBS=$(JOBS) BUILD=$(BUILD) scripts/test-windows $(WINDOWS_BUILD)

# The portable program folder, $(WINDOWS_BUILD)/QuillWick: quillwick.exe and what it needs.
windows-folder:
	scripts/windows-packages
	JOBS=$(JOBS) scripts/windows-build $(WINDOWS_BUILD) windows-folder

# $(WINDOWS_BUILD)/quillwick-<version>-setup.exe, the installer of the per-user-data build.
windows-installer:
	scripts/windows-packages
	JOBS=$(JOBS) scripts/windows-build $(WINDOWS_BUILD) windows-installer

# Timings, never part of `make test` (which only runs the scale harness once on 20 cards).
# The remote control is set against CopyQ when it is installed, else only against its floor.
bench: build
	$(BUILD)/core_bench
	QT_QPA_PLATFORM=offscreen $(BUILD)/gui_bench
	$(BUILD)/scale_bench
	$(BUILD)/find_bench
	bench/remote/remote_bench $(BUILD)

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
