# make run    install what is missing, build, start the program
# make test   install what is missing, build, run the whole test suite
# make build  build only
# make test-sanitize  the same suite under AddressSanitizer and UBSan, in build-sanitize/
# make fuzz    the fuzz target, built with clang in build-fuzz/, run FUZZ_SECONDS on fuzz/corpus
# make bench   the figures of the programs beside honest floors: the desktop program against
#              a bare Qt program of its shape (build-bench/), the page in headless Chromium,
#              the Windows program under Wine against a bare Win32 program of its shape
# make package the Debian packages, in build-package/: the program's with CPack, and the page's
#              for a school's web server (honderdtafels-web); `make test` checks both with lintian;
#              and the Windows program's MSI and portable zip (make package-windows), signed
#              when SIGN_CERT=cert.pem SIGN_KEY=key.pem are given
# make web     the program for the browser, in build-web/ (built with Emscripten in build-wasm/)
# make serve   serves build-web/ on http://127.0.0.1:8000/honderdtafels/ through nginx, with a
#              school's lines (scripts/serve-site build-web --server apache for Apache's)
# make test-web the unit tests under Node and the page in Chromium, Firefox ESR and WebKitGTK
# make windows the Windows program, cross-built with mingw-w64: build-windows/honderdtafels.exe
# make test-windows its tests under Wine: the unit tests, the .exe's imports and resources,
#              the program played in Xvfb with openbox, the MSI and the zip
# make release the downloads of this commit in dist/: both .debs, the MSI, the Windows zip, the
#              page's zip for IIS or a file share, the release notes and SHA256SUMS; Release
#              builds of the programs only, in build-release/, signed as `make package` signs;
#              TAG=v1.0 refuses a tag that does not name VERSION and this commit
# make release-check  make release in two fresh clones of this commit, in two folders, one
#              after the other: every file must come out the same, byte for byte (diffoscope
#              shows where one differs)
# make lighthouse Lighthouse's accessibility, best-practices and performance scores of build-web/,
#              served as `make serve` serves it (nginx, a school's rules); reports in build-wasm/
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
SANITIZE_DIR ?= build-sanitize
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
BENCH_DIR ?= build-bench
PACKAGE_DIR ?= build-package

.PHONY: run test build deps deps-desktop clean format test-sanitize fuzz bench package
.PHONY: web serve test-web deps-web

run: build
	./$(BUILD_DIR)/honderdtafels

# The whole suite: the native tests (the end-to-end ones in Xvfb with openbox), the Windows
# program's under Wine and the page's, run as one ctest over the three builds, side by side:
# most of the suite's time is spent waiting on real rounds, servers and Wine. Each test has
# its own display, port, Wine prefix and output folder.
# The page is built first: the package test packs it beside the program.
SUITE_DIR ?= build-suite
SUITE_JOBS ?= 6
test: deps-desktop build web windows
	@scripts/install-deps --desktop --windows
	cmake --build $(WINDOWS_BUILD_DIR) -j $(JOBS)
	$(WEB_ENV) cmake --build $(WEB_BUILD_DIR) -j $(JOBS)
	mkdir -p $(SUITE_DIR)
	printf 'subdirs("%s" "%s" "%s")\n' $(abspath $(BUILD_DIR) $(WINDOWS_BUILD_DIR) $(WEB_BUILD_DIR)) \
	  >$(SUITE_DIR)/CTestTestfile.cmake
	ctest --test-dir $(SUITE_DIR) -j $(SUITE_JOBS) --output-on-failure --timeout 120

build: deps
	@test -f $(BUILD_DIR)/CMakeCache.txt || cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD_DIR) -j $(JOBS)

deps:
	@scripts/install-deps

deps-desktop:
	@scripts/install-deps --desktop --workflow-lint

test-sanitize: deps
	@test -f $(SANITIZE_DIR)/CMakeCache.txt || cmake -S . -B $(SANITIZE_DIR) \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHONDERDTAFELS_SANITIZE=ON
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan-qt.supp:print_suppressions=0 \
	  ctest --test-dir $(SANITIZE_DIR) --output-on-failure --timeout 300

# New inputs go to $(FUZZ_DIR)/corpus; fuzz/corpus is the kept seed corpus, only read.
fuzz: deps
	@test -f $(FUZZ_DIR)/CMakeCache.txt || cmake -S . -B $(FUZZ_DIR) -DCMAKE_CXX_COMPILER=clang++ \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHONDERDTAFELS_SANITIZE=ON -DHONDERDTAFELS_FUZZ=ON
	cmake --build $(FUZZ_DIR) --target fuzz_input -j $(JOBS)
	mkdir -p $(FUZZ_DIR)/corpus
	ASAN_OPTIONS=detect_leaks=1 $(FUZZ_DIR)/fuzz_input -max_total_time=$(FUZZ_SECONDS) -timeout=5 \
	  -rss_limit_mb=2048 -print_final_stats=1 $(FUZZ_DIR)/corpus fuzz/corpus

bench: deps-desktop web windows
	@scripts/install-deps --web --lighthouse
	@test -f $(BENCH_DIR)/CMakeCache.txt || cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BENCH_DIR) --target honderdtafels bare_window round_clock -j $(JOBS)
	$(WEB_ENV) cmake --build $(WEB_BUILD_DIR) --target honderdtafels_bench -j $(JOBS)
	cmake --build $(WINDOWS_BUILD_DIR) --target probe -j $(JOBS)
	$(MAKE) --no-print-directory $(WINDOWS_BUILD_DIR)/bare_win32.exe
	bench/run.sh $(BENCH_DIR) $(WEB_DIR) $(WEB_BUILD_DIR)/bench $(WINDOWS_BUILD_DIR)

# Only the program is built for the package, not the tests; cpack then installs and packs it.
# The page's package is made from build-web/.
package: deps web
	@test -f $(PACKAGE_DIR)/CMakeCache.txt || cmake -S . -B $(PACKAGE_DIR) -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON
	cmake --build $(PACKAGE_DIR) --target honderdtafels -j $(JOBS)
	cd $(PACKAGE_DIR) && cpack
	packaging/web/build-package $(WEB_DIR) $(PACKAGE_DIR)
	$(MAKE) --no-print-directory package-windows

# The MSI for a school's deployment and the zip for a USB stick, from the cross-built .exe.
# With a certificate and its key, osslsigncode signs the .exe and the MSI; a key on a token is
# SIGN_KEY=pkcs11:... with SIGN_PKCS11_MODULE=the token's PKCS#11 module.
SIGN_CERT ?=
SIGN_KEY ?=
SIGN_PKCS11_MODULE ?=
.PHONY: package-windows
package-windows: windows
	SIGN_CERT="$(SIGN_CERT)" SIGN_KEY="$(SIGN_KEY)" SIGN_PKCS11_MODULE="$(SIGN_PKCS11_MODULE)" \
	  packaging/windows/build-package $(WINDOWS_BUILD_DIR)/honderdtafels.exe $(PACKAGE_DIR)

# --- A release ------------------------------------------------------------------------------
# Only the compilers, the packagers and the headless Chromium in which the page's build writes
# its first screen: no test tool or server is installed for it.
DIST_DIR ?= dist
.PHONY: release release-check
release:
	@scripts/install-deps --release
	SIGN_CERT="$(SIGN_CERT)" SIGN_KEY="$(SIGN_KEY)" SIGN_PKCS11_MODULE="$(SIGN_PKCS11_MODULE)" JOBS=$(JOBS) DIST_DIR=$(DIST_DIR) TAG=$(TAG) \
	  scripts/release

release-check:
	@scripts/install-deps --release --release-check
	JOBS=$(JOBS) scripts/release-check

# --- The browser --------------------------------------------------------------------------
# Debian's Emscripten runs on the machine's Node, which must find Debian's JavaScript modules.
WEB_BUILD_DIR ?= build-wasm
WEB_DIR ?= build-web
WEB_ENV = NODE_PATH=/usr/share/nodejs

deps-web:
	@scripts/install-deps --web

web: deps-web
	@test -f $(WEB_BUILD_DIR)/CMakeCache.txt || $(WEB_ENV) emcmake cmake -S . -B $(WEB_BUILD_DIR) \
	  -DCMAKE_BUILD_TYPE=Release -DCMAKE_CROSSCOMPILING_EMULATOR=$$(command -v node)
	$(WEB_ENV) cmake --build $(WEB_BUILD_DIR) --target honderdtafels site -j $(JOBS)
	rm -rf $(WEB_DIR)
	cp -r $(WEB_BUILD_DIR)/site $(WEB_DIR)

serve: web
	scripts/serve-site $(WEB_DIR) --port 8000

test-web: web
	$(WEB_ENV) cmake --build $(WEB_BUILD_DIR) -j $(JOBS)
	ctest --test-dir $(WEB_BUILD_DIR) --output-on-failure --timeout 300

.PHONY: lighthouse
lighthouse: web
	@scripts/install-deps --web --lighthouse
	tools/lighthouse/run-lighthouse $(WEB_DIR) --report-dir $(WEB_BUILD_DIR)/lighthouse

format:
	@scripts/install-deps --format
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR)

# --- Windows ------------------------------------------------------------------------------
# Cross-built with mingw-w64 (cmake/mingw-w64.cmake); ctest runs the .exe tests under Wine.
WINDOWS_BUILD_DIR ?= build-windows

.PHONY: windows test-windows deps-windows
deps-windows:
	@scripts/install-deps --windows

windows: deps-windows
	@test -f $(WINDOWS_BUILD_DIR)/CMakeCache.txt || cmake -S . -B $(WINDOWS_BUILD_DIR) \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release
	cmake --build $(WINDOWS_BUILD_DIR) --target honderdtafels -j $(JOBS)

# The Windows session runs in Xvfb with openbox, which --desktop installs.
test-windows: windows
	@scripts/install-deps --desktop --windows
	cmake --build $(WINDOWS_BUILD_DIR) -j $(JOBS)
	ctest --test-dir $(WINDOWS_BUILD_DIR) --output-on-failure --timeout 300

# The Windows program's floor in the bench: one source file and its manifest, built as the
# program is built (static, hardened, the project's warnings, stripped), without the program's
# CMake project.
$(WINDOWS_BUILD_DIR)/bare_win32.exe: bench/bare_win32.cpp bench/bare_win32.rc bench/bare_win32.manifest
	x86_64-w64-mingw32-windres -I bench bench/bare_win32.rc -O coff -o $(WINDOWS_BUILD_DIR)/bare_win32.res
	x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -Wall -Wextra -Wpedantic -Wshadow -Wconversion \
	  -Wno-sign-conversion -fstack-protector-strong -D_FORTIFY_SOURCE=2 -DUNICODE -D_UNICODE -mwindows \
	  -static -static-libgcc -static-libstdc++ -s $< $(WINDOWS_BUILD_DIR)/bare_win32.res -o $@
