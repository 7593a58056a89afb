# Front door. `make demo` and `make test` install what a fresh Debian 12 machine lacks,
# build, and run.
SHELL := /bin/bash
.DEFAULT_GOAL := build

APT_PACKAGES := cmake ninja-build g++ python3 googletest libgtest-dev \
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 xvfb xdotool imagemagick \
  mscompress fonts-liberation fonts-wine x11-utils clang libclang-rt-14-dev locales
NEEDED_FILES := /usr/bin/cmake /usr/bin/ninja /usr/bin/g++ /usr/bin/i686-w64-mingw32-g++-win32 \
  /usr/bin/x86_64-w64-mingw32-g++-posix /usr/lib/wine/wine64 /usr/bin/Xvfb /usr/bin/xdotool \
  /usr/bin/import /usr/bin/mscompress /usr/src/googletest/CMakeLists.txt \
  /usr/include/gtest/gtest.h /usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf \
  /usr/bin/xwininfo /usr/share/wine/fonts/sserife.fon /usr/bin/clang++ \
  /usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a \
  /usr/share/i18n/locales/ja_JP /usr/bin/localedef
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps build build-i686 build-i686-tests build-x86_64 build-host build-fuzz test \
  test-host test-win test-win-i686 fuzz fuzz-short demo demo-build bench clean check-package kit \
  difftest

deps:
	@missing=0; for f in $(NEEDED_FILES); do [ -e $$f ] || missing=1; done; \
	command -v python3 >/dev/null || missing=1; \
	if [ $$missing = 1 ]; then \
	  echo "== installing Debian packages"; \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get update -q && \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -q $(APT_PACKAGES); \
	fi
	@tools/deps/i686-wine

build-i686: deps
	cmake --preset i686 >/dev/null && cmake --build --preset i686

# The test programs and tools that drive the shipping SETUP.EXE on the 32-bit machine.
build-i686-tests: build-i686
	cmake --preset i686-tests >/dev/null && cmake --build --preset i686-tests

build-x86_64: deps
	cmake --preset x86_64 >/dev/null && cmake --build --preset x86_64

build-host: deps
	cmake --preset host >/dev/null && cmake --build --preset host

build-fuzz: deps
	cmake --preset fuzz >/dev/null && cmake --build --preset fuzz

build: build-i686 build-x86_64

test-host: build-host
	ctest --preset host -j2

# libFuzzer with AddressSanitizer and UBSan over the pure logic, FUZZ_SECONDS per target
# (tests/fuzz/, seeds in tests/fuzz/seeds/); `make test` runs the short form.
FUZZ_SECONDS ?= 60
FUZZ_SHORT_SECONDS ?= 15
fuzz: build-fuzz
	tools/fuzz/run-fuzz $(FUZZ_SECONDS)

fuzz-short: build-fuzz
	tools/fuzz/run-fuzz $(FUZZ_SHORT_SECONDS)

# Each Windows-side test program runs on a fresh virtual machine, once: a failure fails.
test-win: build-x86_64
	tools/vm/winvm template
	ctest --preset x86_64 -j2

# The whole-program tests once more, on the executable that ships: out/i686/SETUP.EXE on the
# 32-bit machine (every program there runs through an emulator: two machines at most). A
# test program that fails there runs once more, by name, for all to see (see the README).
test-win-i686: build-i686-tests
	tools/vm/winvm --arch i686 template
	tools/vm/ctest-retry-printed i686-tests

test: build-i686 build-host build-x86_64 build-i686-tests build-fuzz
	$(MAKE) --no-print-directory test-host
	$(MAKE) --no-print-directory fuzz-short
	tools/win9x/test_check.sh
	$(MAKE) --no-print-directory test-win
	$(MAKE) --no-print-directory test-win-i686

# DEMO_ARCH=x86_64 runs the x86_64 twin instead of the shipping i686 SETUP.EXE. The demo
# builds only what it runs: the programs that ship and its three helper tools.
DEMO_ARCH ?= i686
DEMO_TOOLS := vmhelper demowalk qxmain
demo-build: $(if $(filter x86_64,$(DEMO_ARCH)),deps,build-i686)
ifeq ($(DEMO_ARCH),x86_64)
	cmake --preset x86_64 >/dev/null && cmake --build --preset x86_64 --target setup uninstaller $(DEMO_TOOLS)
else
	cmake --preset i686-tests >/dev/null && cmake --build --preset i686-tests --target $(DEMO_TOOLS)
endif

# DEMO_IDENTITY=file shows a kit: its programs are built into out/kit-demo, and the package
# is assembled by the make-package beside the identity file (demo/zentrix/ is an example).
DEMO_IDENTITY ?=
demo: demo-build
ifneq ($(DEMO_IDENTITY),)
	tools/kit/make-kit --arch $(DEMO_ARCH) "$(DEMO_IDENTITY)" out/kit-demo
endif
	tools/vm/winvm --arch $(DEMO_ARCH) template
	DEMO_ARCH=$(DEMO_ARCH) $(if $(DEMO_IDENTITY),DEMO_KIT=$(CURDIR)/out/kit-demo/$(DEMO_ARCH) DEMO_IDENTITY="$(DEMO_IDENTITY)") demo/run-demo

# A kit for another product: the three programs of both builds with the names and artwork of
# an identity file (see resources/identity.ini): make kit IDENTITY=file OUT=dir
kit: deps
	@[ -n "$(IDENTITY)" ] && [ -n "$(OUT)" ] || { echo "usage: make kit IDENTITY=file OUT=dir"; exit 2; }
	tools/kit/make-kit "$(IDENTITY)" "$(OUT)"

# SETUPCHK.EXE on a package directory: make check-package PKG=DIR
check-package: build-x86_64
	@[ -n "$(PKG)" ] || { echo "usage: make check-package PKG=DIR"; exit 2; }
	tools/setupchk "$(PKG)"

# The checker's plan held against SETUP.EXE /S on N generated packages from seed SEED (each
# on a fresh machine); every mismatch is printed with the command that repeats it.
N ?= 1000
SEED ?= 1
difftest: build-x86_64
	tools/vm/winvm template
	tools/difftest/difftest -n $(N) -s $(SEED)

bench: build-x86_64
	tools/vm/winvm template
	tools/bench/run-bench

clean:
	rm -rf out
