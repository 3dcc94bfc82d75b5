# make run    install what is missing, build, start the program
# make test   install what is missing, build, run the whole test suite
# make build  build only
# make test-sanitize  the same suite under AddressSanitizer and UBSan, in build-sanitize/
# make fuzz    the fuzz target, built with clang in build-fuzz/, run FUZZ_SECONDS on fuzz/corpus
# make bench   start-up, memory, CPU and round length against a bare Qt window, in build-bench/
# make package a Debian package with CPack, in build-package/; `make test` checks it with lintian
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
SANITIZE_DIR ?= build-sanitize
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
BENCH_DIR ?= build-bench
PACKAGE_DIR ?= build-package

.PHONY: run test build deps deps-desktop clean format test-sanitize fuzz bench package

run: build
	./$(BUILD_DIR)/honderdtafels

# The end-to-end test needs Xvfb, openbox, xdotool and ImageMagick.
test: deps-desktop build
	ctest --test-dir $(BUILD_DIR) --output-on-failure --timeout 120

build: deps
	@test -f $(BUILD_DIR)/CMakeCache.txt || cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD_DIR) -j $(JOBS)

deps:
	@scripts/install-deps

deps-desktop:
	@scripts/install-deps --desktop

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

bench: deps-desktop
	@test -f $(BENCH_DIR)/CMakeCache.txt || cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BENCH_DIR) --target honderdtafels bare_window round_clock -j $(JOBS)
	bench/run.sh $(BENCH_DIR)

# Only the program is built for the package, not the tests; cpack then installs and packs it.
package: deps
	@test -f $(PACKAGE_DIR)/CMakeCache.txt || cmake -S . -B $(PACKAGE_DIR) -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON
	cmake --build $(PACKAGE_DIR) --target honderdtafels -j $(JOBS)
	cd $(PACKAGE_DIR) && cpack

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR)
