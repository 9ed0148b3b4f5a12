# The two commands of the README: `make run` and `make test`; `make install`, `make uninstall`
# (PREFIX, DESTDIR) and `make deb` for installing.
BUILD      ?= build
TEST_BUILD ?= build-test
TSAN_BUILD ?= build-tsan
FUZZ_BUILD ?= build-fuzz
FUZZ_RUNS  ?= 200000
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
ARGS       ?=
MAKEFLAGS  += --no-print-directory
PREFIX     ?= /usr/local
DESTDIR    ?=
# The install script takes them from the environment, so that any character in them is safe.
export PREFIX DESTDIR

PACKAGES := cmake g++ make libgtest-dev libgmock-dev libbenchmark-dev tmux clang libclang-rt-dev \
            groff-base dpkg-dev zip unzip arj lhasa 7zip unar
# The Windows build: the cross compiler with POSIX threads, and Wine to run its tests.
WIN_BUILD    ?= build-win
WIN_PACKAGES := g++-mingw-w64-x86-64-posix wine wine64
WIN_CMAKE    := -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
                -DCORVANE_TESTS=OFF -DCORVANE_WIN_TESTS=ON

.PHONY: all deps run test bench fuzz clean install uninstall deb win win-test

all: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DCORVANE_TESTS=OFF >/dev/null
	cmake --build $(BUILD) -j $(JOBS)

# Installs whatever is missing of the build and test tools (Debian packages).
deps:
	@missing=""; for p in $(PACKAGES) $(WIN_PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "Installing:$$missing"; \
	    DEBIAN_FRONTEND=noninteractive apt-get update -q && \
	    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $$missing </dev/null; \
	  else \
	    echo "Missing packages. Install them with:"; \
	    echo "  sudo apt-get install -y --no-install-recommends$$missing"; \
	    exit 1; \
	  fi; \
	fi

run: all
	./$(BUILD)/corvane $(ARGS)

# bin/corvane, share/corvane/ (the default files), share/man/man1/corvane.1 and
# share/doc/corvane/README under $(DESTDIR)$(PREFIX); uninstall removes what install wrote.
install: all
	sh packaging/install.sh install "$$DESTDIR" "$$PREFIX" "$(BUILD)/corvane"

uninstall:
	sh packaging/install.sh uninstall "$$DESTDIR" "$$PREFIX"

# $(BUILD)/corvane_<version>_<architecture>.deb from the release build.
deb: all
	sh packaging/make_deb.sh "$(BUILD)/corvane" "$(BUILD)"

# The program alone is built a second time with ThreadSanitizer; one end-to-end test runs it.
# The release build is packaged by a test, as `make deb` does.
test: deps all
	cmake -S . -B $(TSAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCORVANE_TSAN=ON -DCORVANE_TESTS=OFF >/dev/null
	cmake --build $(TSAN_BUILD) -j $(JOBS) --target corvane
	cmake -S . -B $(TEST_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCORVANE_SANITIZE=ON -DCORVANE_TESTS=ON \
	  -DCORVANE_TSAN_BINARY=$(abspath $(TSAN_BUILD))/corvane \
	  -DCORVANE_RELEASE_BINARY=$(abspath $(BUILD))/corvane >/dev/null
	cmake --build $(TEST_BUILD) -j $(JOBS)
	cd $(TEST_BUILD) && ctest --output-on-failure -j $(JOBS)
	$(MAKE) win-test

# The Windows console program, cross compiled: $(WIN_BUILD)/corvane.exe.
win: deps
	cmake -S . -B $(WIN_BUILD) $(WIN_CMAKE) >/dev/null
	cmake --build $(WIN_BUILD) -j $(JOBS) --target corvane

# Its platform tests and the console self-test, under Wine (one server for the run).
win-test: win
	cmake --build $(WIN_BUILD) -j $(JOBS)
	cd $(WIN_BUILD) && ctest --output-on-failure

bench: deps
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DCORVANE_TESTS=OFF -DCORVANE_BENCH=ON >/dev/null
	cmake --build build-bench -j $(JOBS)
	@for b in build-bench/bench/bench_*; do [ -x "$$b" ] && "$$b"; done; true

# Every fuzz program (clang, libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) for
# FUZZ_RUNS executions each; a crash, sanitizer report, failed property or timeout fails.
fuzz: deps
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_FUZZ=ON -DCORVANE_TESTS=OFF >/dev/null
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	bash fuzz/run_fuzz.sh $(FUZZ_BUILD) $(FUZZ_RUNS)

clean:
	rm -rf $(BUILD) $(TEST_BUILD) $(TSAN_BUILD) build-bench $(FUZZ_BUILD) $(WIN_BUILD)
