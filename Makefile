# Two commands do everything on a fresh Debian machine: `make test` and `make run`.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps configure build test run demo clean package install

all: build

deps:
	tools/scripts/install-deps.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

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

# The Debian package, in $(BUILD)/package/. dpkg-dev and file let CPack work out the library
# dependencies; they are needed for packaging only.
package:
	tools/scripts/install-deps.sh dpkg-dev file
	$(MAKE) build
	cd $(BUILD) && cpack -G DEB
	ls $(BUILD)/package/*.deb

# Installs under PREFIX (default /usr/local; DESTDIR is honoured): sudo make install
install: build
	cmake --install $(BUILD) $(if $(PREFIX),--prefix $(PREFIX))
