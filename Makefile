# SPDX-License-Identifier: MIT
# The two set-up commands of the README: `make demo` and `make test`.
# Both install what is missing (Debian packages), configure and build first.
# `make bench` prints the texture pass's benchmark table (docs/performance.md); not part of the tests.
# `make clang-syntax` and `make format-check` are the checks CI runs besides the tests (.ci/run),
# `make tidy` runs clang-tidy; they install clang 14's tools first.
# `make package` builds the Debian package livrano_<version>_amd64.deb into this folder.
# `make soak` runs the writing commands through the real livrano-cli against their model for
# SOAK_MINUTES (default 1), killing them at random moments; not part of the tests.

.PHONY: all deps build test test-sanitize soak coverage test-lines demo bench fuzz format format-check \
	clang-syntax tidy clean package

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

# livrano-soak prints its steps, kills and violations and fails on a violation; LIVRANO_MODEL_SEED
# chooses the seed of its steps (the kills' moments are the machine's).
SOAK_MINUTES ?= 1
soak: build
	build/default/tools/soak/livrano-soak $(SOAK_MINUTES)

# Line and branch coverage of src/ by the whole suite, from an unoptimised --coverage build.
# Counters of an earlier run are cleared first so that the summary is this run's alone. The
# summary is printed even when a test fails (a timing test may, in this slow build); the target
# still fails then.
coverage:
	@scripts/install-deps.sh coverage
	cmake --preset coverage
	cmake --build --preset coverage
	find build/coverage -name '*.gcda' -delete
	ctest --preset coverage; status=$$?; \
	gcovr --root . --filter 'src/' --txt build/coverage/coverage.txt --print-summary build/coverage; \
	exit $$status

# Lines of C++ under tests/ against lines of C++ under src/, tools/ and bench/.
test-lines:
	@scripts/test-lines.sh

package: build
	cd build/default && cpack
	cp build/default/livrano_*_amd64.deb .

demo: build
	@scripts/demo.sh

# libsquish parallelises with OpenMP: one thread, so that its one-core times are one core's.
bench: build
	OMP_NUM_THREADS=1 build/default/bench/livrano_texture_bench
	build/default/bench/livrano_kit_bench

fuzz: deps
	@scripts/install-deps.sh clang
	cmake --preset fuzz
	cmake --build --preset fuzz

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format-14 -i

format-check:
	@scripts/install-deps.sh clang
	git ls-files '*.cpp' '*.h' | xargs clang-format-14 --dry-run --Werror

# Every source of the default build compiled by clang 14 as well, syntax and warnings only.
clang-syntax: deps
	@scripts/install-deps.sh clang
	cmake --preset default
	scripts/clang-syntax.py build/default clang++-14

# clang-tidy with the checks of .clang-tidy over every source of the default build (generated
# sources left out); any finding fails.
tidy: deps
	@scripts/install-deps.sh clang
	cmake --preset default
	run-clang-tidy-14 -p build/default -quiet -j $$(nproc) '^(?!.*/build/).*\.cpp$$'

clean:
	rm -rf build
