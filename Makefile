# The two set-up commands of the README. Both install missing Debian build packages first.
BUILD   ?= build
JOBS    ?= $(shell nproc)
PREFIX  ?= $(HOME)/.local
# Build and test packages. X connections are flushed through libxcb; the tests validate the
# desktop files and drive and read windows under a virtual X server of their own.
PACKAGES = cmake g++ make qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-translations-l10n \
           fonts-dejavu-core pkg-config libxcb1-dev desktop-file-utils shared-mime-info xvfb \
           xdotool
SUDO     = $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: run test bench build deps configure clean install uninstall

# Starts the editor from the assembled program folder.
run: build
	./$(BUILD)/app/tavlen

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Speed goals of the controls, records, lookups and the runner loop, and the runner's start-up
# against a bare Qt dialog under the current X display (DISPLAY; skipped without one).
bench: build
	cmake --build $(BUILD) --target kq_bench -j $(JOBS)
	QT_QPA_PLATFORM=offscreen ./$(BUILD)/benchmarks/kq_bench

build: configure
	cmake --build $(BUILD) -j $(JOBS)

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg -s $$p >/dev/null 2>&1 || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing: $$missing"; \
	  $(SUDO) apt-get update -qq && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

# Copies the program folder to $(PREFIX)/lib/kestrane-quorvex with a desktop entry, an icon, the
# project file types and a tavlen command in $(PREFIX)/bin. DESTDIR stages it for packaging.
install: build
	PREFIX="$(PREFIX)" DESTDIR="$(DESTDIR)" sh desktop/install.sh install $(BUILD)/app

uninstall:
	PREFIX="$(PREFIX)" DESTDIR="$(DESTDIR)" sh desktop/install.sh uninstall

clean:
	rm -rf $(BUILD)
