# make run    install what is missing, build, start the program
# make test   install what is missing, build, run the whole test suite
# make build  build only
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

.PHONY: run test build deps clean format

run: build
	./$(BUILD_DIR)/honderdtafels

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure --timeout 120

build: deps
	@test -f $(BUILD_DIR)/CMakeCache.txt || cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD_DIR) -j $(JOBS)

deps:
	@scripts/install-deps

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR)
