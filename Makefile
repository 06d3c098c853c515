# The two set-up commands of the README: `make demo` and `make test`.
# Both install what is missing (Debian packages), configure and build first.

.PHONY: all deps build test test-sanitize demo fuzz format clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	cmake --preset default
	cmake --build --preset default

test: build
	ctest --preset default

test-sanitize: deps
	cmake --preset sanitize
	cmake --build --preset sanitize
	ctest --preset sanitize

demo: build
	@scripts/demo.sh

fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
