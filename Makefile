# The two set-up commands: `make run` and `make test`. Both install what is
# missing first, then build.
JOBS        ?= 2
BUILD       ?= build
ASAN_BUILD  ?= build-asan
FUZZ_BUILD  ?= build-fuzz
FUZZ_SECONDS ?= 10
CTEST_FLAGS ?= --output-on-failure -j2

.PHONY: all deps build run test format-check test-fast test-asan fuzz bench levels hostile install clean screenshot deb demo

all: build

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)

run: build
	$(BUILD)/bin/torvane

# The whole suite: the layout check, fuzzing for a bounded time, the tests,
# then the tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
test: format-check fuzz test-fast test-asan

# Every C++ source must already be as .clang-format lays it out.
format-check: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

test-fast: build
	cd $(BUILD) && ctest $(CTEST_FLAGS)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTORVANE_SANITIZE=ON -DTORVANE_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	cd $(ASAN_BUILD) && ctest $(CTEST_FLAGS)

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DTORVANE_FUZZ=ON -DBUILD_TESTING=OFF -DTORVANE_BENCH=OFF
	cmake --build $(FUZZ_BUILD) -j$(JOBS) --target fuzz_cutting fuzz_decoder fuzz_reader
	for harness in fuzz_cutting fuzz_decoder fuzz_reader; do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$harness && \
	  $(FUZZ_BUILD)/bin/$$harness -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	    $(FUZZ_BUILD)/corpus/$$harness fuzz/corpus || exit 1; \
	done

bench: build
	$(BUILD)/bin/bench_cutting

# The computer's five levels against each other and a random mover; fails
# unless each level beats the ones below it.
levels: build
	$(BUILD)/bin/cpu_levels

# The window against a peer that floods it, on a 1 MiB stack so that a
# handler calling itself per message would show.
hostile: build
	ulimit -s 1024 && QT_QPA_PLATFORM=offscreen $(BUILD)/bin/hostile_peer

install: build
	cmake --install $(BUILD)

# One Debian package with both programs: build/torvane_<version>_amd64.deb
deb: build
	cd $(BUILD) && cpack -G DEB

# The game as server, with the computer connecting to it: type a nickname
# and press ＯＫ.
demo: build
	$(BUILD)/bin/torvane-cpu --connect 127.0.0.1:9898 --starts alternate & cpu=$$!; \
	$(BUILD)/bin/torvane; status=$$?; kill $$cpu 2>/dev/null; exit $$status

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)

# Start-up time and memory of the game beside a bare Qt program, under Xvfb.
.PHONY: measure-startup
measure-startup: build
	scripts/measure-startup.sh $(BUILD)

# Remakes the pictures in docs/ under Xvfb at scale 1 and 2: two copies a
# few moves in, and a game against the computer.
screenshot: build
	scripts/screenshot.sh $(BUILD)
