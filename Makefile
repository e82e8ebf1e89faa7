# Two commands do everything on a fresh Debian machine: `make test` and `make run`.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
# ccache (installed by deps) makes rebuilds in a fresh build folder cheap. Looked up when a build
# folder is configured, after deps, not when make starts.
LAUNCHER = $(if $(shell command -v ccache),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

.PHONY: all deps configure build test run demo clean package install fuzz format format-check

all: build

deps:
	tools/scripts/install-deps.sh

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) $(LAUNCHER) $(CMAKE_FLAGS)

configure: $(BUILD)/CMakeCache.txt

build: deps configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

run: build
	$(BUILD)/bin/zq708-cps

demo: build
	tools/scripts/demo.sh $(BUILD)

clean:
	rm -rf $(BUILD)

# The fuzz targets named in FUZZ_TARGETS (all when empty) for FUZZ_SECONDS each, as many at once
# as there are processors, built with clang-14 in a build of their own.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?=
fuzz: deps
	test -f $(FUZZ_BUILD)/CMakeCache.txt || CC=clang-14 CXX=clang++-14 cmake -S . -B $(FUZZ_BUILD) \
		-DZQ708_FUZZ=ON -DZQ708_GUI=OFF -DZQ708_WERROR=OFF $(LAUNCHER)
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers
	fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# The Debian package, in $(BUILD)/package/, checked as Debian checks packages: any hint of
# desktop-file-validate, any issue of appstreamcli and any lintian warning fails the target (lintian's
# overrides, each with its reason, are in packaging/zq708-cps.lintian-overrides). dpkg-dev and file
# let CPack work out the library dependencies; they and the checkers are needed for packaging only.
package:
	tools/scripts/install-deps.sh dpkg-dev file lintian desktop-file-utils appstream
	$(MAKE) build
	cd $(BUILD) && cpack -G DEB
	out=$$(desktop-file-validate packaging/zq708-cps.desktop); test -z "$$out" || { echo "$$out"; false; }
	appstreamcli validate --no-net --strict packaging/org.example.zq708_cps.metainfo.xml
	lintian --fail-on error,warning $(BUILD)/package/*.deb
	ls $(BUILD)/package/*.deb

# Installs under PREFIX (default /usr/local; DESTDIR is honoured): sudo make install
install: build
	cmake --install $(BUILD) $(if $(PREFIX),--prefix $(PREFIX))

# Benchmarks (never part of the tests): start-up, page reload, open/save and peak memory against
# their goals, the paced clone exchange against wire time, and the fault soak of reading and
# writing through the progress dialog (SOAK_RUNS runs; it fails the target when a check fails).
SOAK_RUNS ?= 300
.PHONY: bench
bench: deps configure
	cmake --build $(BUILD) -j $(JOBS) --target zq708-bench-gui zq708-bench-soak zq708-bench-clone zq708-bench-edit
	QT_QPA_PLATFORM=offscreen $(BUILD)/bin/zq708-bench-gui
	QT_QPA_PLATFORM=offscreen $(BUILD)/bin/zq708-bench-edit
	$(BUILD)/bin/zq708-bench-clone
	QT_QPA_PLATFORM=offscreen $(BUILD)/bin/zq708-bench-soak $(SOAK_RUNS)

# The project's own C++ sources in the style of .clang-format. Pinned to one clang-format version:
# another version formats some constructs differently and the check would flip between machines.
CLANG_FORMAT ?= clang-format-14
FORMAT_FILES = git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h'
format: deps
	$(FORMAT_FILES) | xargs $(CLANG_FORMAT) -i
# Lists each place that differs; fails when there is one.
format-check: deps
	$(FORMAT_FILES) | xargs $(CLANG_FORMAT) --dry-run -Werror
