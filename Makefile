# The two commands of the README, and their parts.
#   make run    installs what is missing, builds, and runs Tunewell
#   make test   installs what is missing, builds, and runs the whole test suite
#   make fuzz   builds the libFuzzer harnesses (clang) and runs each for
#               FUZZ_SECONDS (default 60), FUZZ_JOBS at a time (default 1)
.PHONY: deps build run test test-asan bench fuzz clean

deps:
	@sh scripts/install-deps.sh

build: deps
	cmake --preset default
	cmake --build --preset default

run: build
	@sh scripts/run.sh $(ARGS)

test: build
	ctest --preset default

test-asan: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

FUZZ_SECONDS ?= 60
FUZZ_JOBS ?= 1
fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz
	@sh scripts/fuzz.sh $(FUZZ_SECONDS) $(FUZZ_JOBS)

bench: build
	@sh scripts/bench.sh

clean:
	rm -rf build build-asan build-fuzz
