# The two commands of the README, and their parts.
#   make run    installs what is missing, builds, and runs Tunewell
#   make test   installs what is missing, builds, and runs the whole test suite
.PHONY: deps build run test test-asan bench clean

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

bench: build
	@sh scripts/bench.sh

clean:
	rm -rf build build-asan
