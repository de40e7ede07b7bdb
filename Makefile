# Two entry points: `make run` and `make test`. Both first install what is
# missing (scripts/setup.sh), then configure and build.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all setup configure build run test bench format clean quillet install package package-check

# Install rules: `make install` puts the programs under $(PREFIX) (default
# /usr/local); DESTDIR stages the tree elsewhere, as packagers do.
PREFIX ?= /usr/local

all: build

setup:
	./scripts/setup.sh

configure: setup
	@if [ ! -f $(BUILD)/build.ninja ]; then \
	  cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo; \
	fi

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/bin/pandrel

quillet: build
	./$(BUILD)/bin/quillet

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	./bench/run.sh $(BUILD)

install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# The Debian package: $(BUILD)/pandrel_<version>_amd64.deb.
package: build
	cmake --build $(BUILD) --target package

# Builds the package and checks what it holds and needs.
package-check: package
	./packaging/check_package.sh $(BUILD)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD)
