# The two commands a new machine needs: `make run` and `make test`.
# Both install what is missing first (`make deps`), then build.

BUILD ?= build
JOBS  ?= $(shell nproc 2>/dev/null || echo 2)

# Debian 12 packages the build, the program and the tests need (the last line:
# the Debian package, its icons and its checks).
PACKAGES := build-essential cmake pkg-config \
            qt6-base-dev qt6-base-dev-tools libqt6printsupport6 libqt6svg6 \
            qt6-qpa-plugins libgl-dev \
            libsqlcipher-dev libssl-dev sqlcipher sqlite3 \
            libjpeg62-turbo-dev libyaml-cpp-dev libyaml-dev libxml2-utils \
            xvfb xauth x11-utils imagemagick poppler-utils \
            fonts-dejavu-core fonts-liberation2 \
            dpkg-dev librsvg2-bin lintian desktop-file-utils appstream

# What `make fuzz` needs besides: clang with libFuzzer and the symbolizer
# for readable reports. Installed by that target only.
FUZZ_PACKAGES := clang libclang-rt-14-dev llvm-14

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps build run test package sanitize fuzz bench clean format art readme-shots

all: build

deps:
	@missing=""; for p in $(PACKAGES) $(MORE_PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

# The program runs from inside its program folder: that folder is its working directory.
run: build
	cd $(BUILD)/kivor && ./kivor

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The Debian package, in $(BUILD): `sudo apt install ./$(BUILD)/kivor_*.deb`.
package: build
	cmake --build $(BUILD) --target package

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer, in its
# own build folder; fails on any report.
sanitize: deps
	tools/sanitize/run $(BUILD)-sanitize $(JOBS)

# Every fuzz target for a minute (FUZZ_SECONDS) from its committed seeds.
FUZZ_SECONDS ?= 60
fuzz:
	@$(MAKE) --no-print-directory deps MORE_PACKAGES="$(FUZZ_PACKAGES)"
	fuzz/run $(BUILD)-fuzz $(FUZZ_SECONDS) $(JOBS)

bench: build
	$(BUILD)/bench/kivor-bench
	$(BUILD)/bench/kivor-bench-session
	$(BUILD)/bench/kivor-bench-pictures
	$(BUILD)/bench/kivor-bench-bank

# Paints the program's pictures again into media/ (committed files).
art: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target art

# Takes the README's pictures again into doc/ (committed files).
readme-shots: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target readme_shots

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(BUILD)-sanitize $(BUILD)-fuzz
