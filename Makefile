# make run   installs what the build needs, builds, and starts the program from its folder.
# make test  installs what the build needs, builds, and runs every test.
BUILD ?= build
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)

PACKAGES := cmake g++ make pkg-config qt6-base-dev qt6-multimedia-dev libqt6multimedia6 \
            qt6-qpa-plugins libsqlcipher-dev sqlcipher libgtest-dev libgmock-dev libbenchmark-dev \
            xvfb xauth trayer xdotool dbus-daemon at-spi2-core

.PHONY: deps configure build run test sanitize bench screenshot clean

deps:
	@missing=""; for p in $(PACKAGES); do dpkg -s $$p >/dev/null 2>&1 || missing="$$missing $$p"; done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD)/bin && ./Kalendrix

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 TZ=UTC ctest --output-on-failure -j $(JOBS)

sanitize:
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp $(MAKE) test BUILD=build-asan CMAKE_FLAGS="-DKALENDRIX_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug"

bench: build
	$(BUILD)/bin/kalendrix_bench

screenshot: build
	sh scripts/screenshot.sh $(BUILD)
	sh scripts/screenshot-main.sh $(BUILD)
	sh scripts/screenshot-about-help.sh $(BUILD)

clean:
	rm -rf $(BUILD) build-asan
