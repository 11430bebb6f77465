# make run   installs what the build needs, builds the program and the files delivered beside it
#            (no tests, no benchmarks), and starts the program from its folder.
# make test  installs what the build needs, builds everything, and runs every test.
BUILD ?= build
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)

PACKAGES := cmake g++ make pkg-config qt6-base-dev qt6-multimedia-dev libqt6multimedia6 \
            qt6-qpa-plugins libsqlcipher-dev sqlcipher libgtest-dev libgmock-dev libbenchmark-dev \
            xvfb xauth trayer xdotool libxcb1-dev xclip dbus-daemon at-spi2-core

.PHONY: deps configure build program run test sanitize bench screenshot clean

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

# The program and what is delivered beside it: the executable's target depends on those files.
program: configure
	cmake --build $(BUILD) -j $(JOBS) --target Kalendrix kalendrix_delivered_files

run: program
	cd $(BUILD)/bin && ./Kalendrix

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 TZ=UTC ctest --output-on-failure -j $(JOBS)

sanitize:
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp $(MAKE) test BUILD=build-asan CMAKE_FLAGS="-DKALENDRIX_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug"

bench: configure
	cmake --build $(BUILD) -j $(JOBS) --target kalendrix_bench
	$(BUILD)/bin/kalendrix_bench

# FONT_SIZE=11 stands for an 11-point desktop font in every picture.
screenshot: configure
	sh scripts/screenshot.sh $(BUILD)
	sh scripts/screenshot-main.sh $(BUILD)
	sh scripts/screenshot-about-help.sh $(BUILD)

clean:
	rm -rf $(BUILD) build-asan
