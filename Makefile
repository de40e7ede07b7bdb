# Two entry points: `make run` and `make test`. Both first install what is
# missing (scripts/setup.sh), then configure and build.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

# Extra CMake options for every build folder (CI sets -DPANDREL_WERROR=ON).
CMAKE_ARGS ?=
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
ASAN_BUILD ?= build-asan

.PHONY: all setup configure build run test bench format clean quillet fuzz fuzz-build test-asan format-check tidy install package package-check

# Install rules: `make install` puts the programs under $(PREFIX) (default
# /usr/local); DESTDIR stages the tree elsewhere, as packagers do.
PREFIX ?= /usr/local

all: build

setup:
	./scripts/setup.sh

configure: setup
	@if [ ! -f $(BUILD)/build.ninja ]; then \
	  cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS); \
	fi

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/bin/pandrel

quillet: build
	./$(BUILD)/bin/quillet

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The cores with clang's libFuzzer and the address and undefined-behaviour
# checks; every target runs FUZZ_SECONDS seconds (FUZZ_TARGETS narrows them).
fuzz-build: setup
	@if [ ! -f $(FUZZ_BUILD)/build.ninja ]; then \
	  CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DCMAKE_CXX_COMPILER=clang++ -DPANDREL_FUZZ=ON $(CMAKE_ARGS); \
	fi
	cmake --build $(FUZZ_BUILD) -j $(JOBS)

fuzz: fuzz-build
	./scripts/fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# Every test of the whole project built with the address and undefined-
# behaviour checks.
test-asan: setup
	@if [ ! -f $(ASAN_BUILD)/build.ninja ]; then \
	  cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Sanitize -DPANDREL_SANITIZE=ON $(CMAKE_ARGS); \
	fi
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=0 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

bench: build
	./bench/run.sh $(BUILD)

install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# The Debian package: $(BUILD)/pandrel_<version>_amd64.deb.
package: build
	cmake --build $(BUILD) --target package

# Builds the package and checks what it holds and needs, lintian (no error,
# no warning) and hardening-check on its programs.
package-check: package
	./packaging/check_package.sh $(BUILD)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check:
	./scripts/check-format.sh

# The cores against the checks of .clang-tidy, in JOBS processes at once; it
# reads the compile commands of the build folder. Any finding fails it.
tidy: configure
	git ls-files 'position/*.cpp' 'settings/*.cpp' 'diagram/*.cpp' 'editing/*.cpp' 'books/*.cpp' 'engines/*.cpp' \
	  'platform/*.cpp' 'piecesbuilder/*.cpp' \
	  | grep -v '/tests/\|/testing/\|/ui/\|/render/' | xargs -P $(JOBS) -n 4 clang-tidy -p $(BUILD) --quiet

clean:
	rm -rf $(BUILD)
