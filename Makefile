# The two set-up commands of the README. Both install missing Debian build packages first.
BUILD   ?= build
JOBS    ?= $(shell nproc)
# Most tests spend their time waiting for windows and for the programs they start, so twice as
# many tests as there are cores run at once.
TEST_JOBS ?= $(shell echo $$(( $$(nproc) * 2 )))
PREFIX  ?= $(HOME)/.local
# Build and test packages. X connections are flushed through libxcb; the tests validate the
# desktop files and drive and read windows under a virtual X server of their own (with openbox
# where a window manager's part is tested), build the Debian package (dpkg-shlibdeps of
# dpkg-dev, file) and check it (lintian), render the man page (groff), play built web pages in
# headless Chromium through WebDriver, and play built Windows programs under Wine (wine runs the
# 64-bit wine64). The Windows player is cross-compiled with MinGW-w64.
PACKAGES = cmake g++ make qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-translations-l10n \
           fonts-dejavu-core pkg-config libxcb1-dev desktop-file-utils shared-mime-info xvfb openbox \
           xdotool dpkg-dev file lintian groff-base chromium chromium-driver python3-selenium \
           g++-mingw-w64-x86-64 wine wine64
# ccache, where a developer has it, makes rebuilds in several work trees cheap.
LAUNCHER = $(shell command -v ccache >/dev/null && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
SUDO     = $(shell [ "$$(id -u)" = 0 ] || echo sudo)
# The fuzzers need clang and its libFuzzer; only `make fuzz` installs them.
FUZZ_PACKAGES = $(PACKAGES) clang libclang-rt-dev
FUZZ_BUILD ?= build-fuzz
FUZZ_TIME  ?= 60
FUZZ_NICE  ?= 10
FUZZERS    = projectfile buttonscript legacyimport resourcefiles checkedrun
# clang-tidy reads the build's compile_commands.json and the moc output the build generates.
TIDY_PACKAGES = $(PACKAGES) clang-tidy
TIDY_SOURCES  = ^$(CURDIR)/(benchmarks|controls|desktop|editor|fuzz|project|resources|runner|tests|tools)/.*\.cpp$$
# The sanitized build of make test-sanitized.
SANITIZED_BUILD ?= build-sanitized
# Warnings are errors in the builds of make test, make test-sanitized and CI; WERROR=OFF builds
# with a compiler that warns about more than the one CI uses.
WERROR ?= ON

# The throw-away user that test-unprivileged runs as when started by the superuser.
TEST_USER ?= kq-test

.PHONY: run test test-unprivileged test-sanitized format-check generators bench fuzz tidy build monkey \
        screenshots \
        deps configure clean install uninstall deb

# Starts the editor from the assembled program folder.
run: build
	./$(BUILD)/app/tavlen

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(TEST_JOBS)

# The whole suite built with the address and undefined-behaviour sanitizers in a build folder of
# its own; the tests set the sanitizers' options themselves (tests/CMakeLists.txt). Unoptimised,
# with line tables only: the sanitizers' reports still name each file and line, and the build
# takes less than half the time of an optimised one with full debugging information.
test-sanitized: deps
	mkdir -p $(SANITIZED_BUILD)/.cmake/api/v1/query
	touch $(SANITIZED_BUILD)/.cmake/api/v1/query/codemodel-v2
	cmake -S . -B $(SANITIZED_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKQ_SANITIZE=ON \
	  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O0 -g1 -DNDEBUG" \
	  -DCMAKE_COMPILE_WARNING_AS_ERROR=$(WERROR) $(LAUNCHER)
	cmake --build $(SANITIZED_BUILD) -j $(JOBS)
	cd $(SANITIZED_BUILD) && ctest --output-on-failure -j $(TEST_JOBS)

# Fails on any difference between a tracked C++ file and what clang-format makes of it.
format-check:
	$(MAKE) deps PACKAGES="clang-format git"
	git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror

# The programs that drew the checked-in pictures and wrote the English samples (see their
# CMakeLists.txt for how to run them).
generators: configure
	cmake --build $(BUILD) --target generators -j $(JOBS)

# Every picture the README shows, taken from the built programs under Xvfb and openbox into
# docs/screenshots (tools/screenshots.sh says what it needs).
screenshots: build
	$(MAKE) deps PACKAGES="$(PACKAGES) openbox imagemagick optipng"
	tools/screenshots.sh --app $(BUILD)/app

# Speed goals of the controls, records, lookups and the runner loop, the size of a web page and
# how soon headless Chromium shows it, and the start-ups of the runner and the editor against a
# bare Qt dialog under the current X display (DISPLAY; skipped without one).
bench: build
	cmake --build $(BUILD) --target kq_bench -j $(JOBS)
	QT_QPA_PLATFORM=offscreen ./$(BUILD)/benchmarks/kq_bench

# The editing monkey of the suite with more random seeds (SEEDS, 500 by default) than make test
# runs; a failing seed prints its actions, which KQ_MONKEY_REPLAY replays.
SEEDS ?= 500
monkey: build
	cd $(BUILD) && KQ_MONKEY_SEEDS=$(SEEDS) QT_QPA_PLATFORM=offscreen ./tests/tst_editingmonkey

# Builds the libFuzzer harnesses of fuzz/ with clang and the sanitizers in their own build folder
# and runs each for FUZZ_TIME seconds from its seed corpus, then prints the inputs per second
# each reached. New inputs go to $(FUZZ_BUILD)/corpus/<name>, inputs that break a harness to
# $(FUZZ_BUILD)/findings/<name>; copy those into fuzz/regressions/<name> so that the replay test
# keeps them mended. The resource readers keep what they read between inputs, which a leak check
# after every input would take for leaks, so that harness checks for leaks only at its end. A
# project file needs room for more dialogs than a project takes (100 records of 628 bytes), and
# the checked run a tail of presses after them. The fuzzers run at lower priority (FUZZ_NICE) so
# that builds beside them are not starved, and without the allocation stacks of the address
# sanitizer, which took a third of their time; the replay test shows them for any finding.
fuzz:
	$(MAKE) deps PACKAGES="$(FUZZ_PACKAGES)"
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKQ_FUZZ=ON \
	  -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(FUZZ_BUILD) --target fuzzers -j $(JOBS)
	@for name in $(FUZZERS); do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$name $(FUZZ_BUILD)/findings/$$name; \
	  echo "== fuzz_$$name for $(FUZZ_TIME) s"; \
	  case $$name in \
	    projectfile|checkedrun) options=-max_len=65536;; \
	    resourcefiles) options="-max_len=8192 -detect_leaks=0";; \
	    *) options=-max_len=8192;; \
	  esac; \
	  { ASAN_OPTIONS=malloc_context_size=0 nice -n $(FUZZ_NICE) \
	      ./$(FUZZ_BUILD)/fuzz/fuzz_$$name -max_total_time=$(FUZZ_TIME) \
	      $$options -print_final_stats=1 -artifact_prefix=$(FUZZ_BUILD)/findings/$$name/ \
	      $(FUZZ_BUILD)/corpus/$$name fuzz/corpus/$$name; \
	    echo $$? > $(FUZZ_BUILD)/$$name.status; } 2>&1 | tee $(FUZZ_BUILD)/$$name.log; \
	  [ "$$(cat $(FUZZ_BUILD)/$$name.status)" = 0 ] || exit 1; \
	done; \
	echo "== inputs per second"; \
	for name in $(FUZZERS); do \
	  printf '%-14s %s\n' $$name \
	    "$$(sed -n 's/^stat::average_exec_per_sec: *//p' $(FUZZ_BUILD)/$$name.log)"; \
	done

# The names and bug-prone checks of .clang-tidy on every source of the build; a finding fails.
# clang cannot read GCC's precompiled header of the tests, so tidy reads each test without it,
# which also checks that every test includes what it uses.
tidy: build
	$(MAKE) deps PACKAGES="$(TIDY_PACKAGES)"
	mkdir -p $(BUILD)/tidy
	sed 's| -Winvalid-pch -include [^ ]*/cmake_pch\.hxx||' $(BUILD)/compile_commands.json \
	  > $(BUILD)/tidy/compile_commands.json
	run-clang-tidy -p $(BUILD)/tidy -quiet -j $(JOBS) '$(TIDY_SOURCES)'

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# The query asks CMake for the link dependencies that the layering test checks.
configure: deps
	mkdir -p $(BUILD)/.cmake/api/v1/query && touch $(BUILD)/.cmake/api/v1/query/codemodel-v2
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_COMPILE_WARNING_AS_ERROR=$(WERROR) \
	  $(LAUNCHER)

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg -s $$p >/dev/null 2>&1 || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing: $$missing"; \
	  $(SUDO) apt-get update -qq && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

# The tests labelled "unprivileged" once more as an ordinary user: their cases about files the
# user may not read or write skip for the superuser. Started by the superuser (as in CI), they
# run as the throw-away user TEST_USER, made when missing, with a home folder of its own.
test-unprivileged: build
	@if [ "$$(id -u)" != 0 ]; then \
	  cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest -L unprivileged --output-on-failure -j $(TEST_JOBS); \
	  exit; \
	fi; \
	id -u $(TEST_USER) >/dev/null 2>&1 || \
	  useradd --system --no-create-home --shell /usr/sbin/nologin $(TEST_USER); \
	runuser -u $(TEST_USER) -- test -r $(BUILD)/CTestTestfile.cmake || \
	  { echo "$(TEST_USER) cannot read $(BUILD); build in a folder every user can read"; exit 1; }; \
	home=$$(mktemp -d) && chown $(TEST_USER): "$$home" && \
	mkdir -p $(BUILD)/Testing/Temporary && chown -R $(TEST_USER): $(BUILD)/Testing && \
	runuser -u $(TEST_USER) -- env HOME="$$home" QT_QPA_PLATFORM=offscreen \
	  ctest --test-dir $(BUILD) -L unprivileged --output-on-failure -j $(TEST_JOBS); \
	status=$$?; rm -rf "$$home"; chown -R 0:0 $(BUILD)/Testing; exit $$status

# Builds what is installed (not the tests) and installs it with the install rules of
# desktop/CMakeLists.txt: the program folder in
# $(PREFIX)/lib/kestrane-quorvex, the command $(PREFIX)/bin/tavlen, the desktop entry, icons,
# project file types and the man page; DESTDIR stages it for packaging. The desktop's caches are
# refreshed when their tools are present (not for a staged installation).
install: configure
	cmake --build $(BUILD) --target installable -j $(JOBS)
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# Removes what make install put into the same PREFIX (and DESTDIR) from this build folder, and
# the folders it made, when they are empty; what was there before stays.
uninstall:
	cmake -DKQ_RECORDS="$(abspath $(BUILD))/install/records" -DKQ_DESTDIR="$(DESTDIR)" \
	  -DKQ_PREFIX="$(PREFIX)" -P desktop/uninstall.cmake

# The Debian package kestrane-quorvex_<version>_<arch>.deb in this folder, for /usr, built by
# CPack from the build folder and checked by lintian, which fails the target on an error.
deb: configure
	cmake --build $(BUILD) --target installable -j $(JOBS)
	rm -f $(BUILD)/package/*.deb
	cpack --config $(BUILD)/CPackConfig.cmake -B $(abspath $(BUILD))/package
	cp $(BUILD)/package/*.deb .
	lintian --fail-on error $(BUILD)/package/*.deb

clean:
	rm -rf $(BUILD)
