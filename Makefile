# make run            install what is missing, build, start Fulgor on the example show
# make test           install what is missing, build, run every test
# make test SANITIZE=1  the same under AddressSanitizer and UndefinedBehaviorSanitizer
# make fuzz           build the fuzz targets with clang and run each FUZZ_SECONDS (default 60)
# make bench          build and run the benchmark programs
# make format         format the tree with clang-format
# make install PREFIX=DIR  install the program, its man page, icon and desktop entry under DIR
# make deb            build the Debian package build/fulgor_VERSION_ARCH.deb

# ccache, when installed, lets a build in another clone reuse what was compiled before.
ifneq ($(shell command -v ccache),)
CMAKE_FLAGS += -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
export CCACHE_BASEDIR := $(CURDIR)
endif

SANITIZE ?= 0
ifeq ($(SANITIZE),1)
BUILD ?= build-sanitize
CMAKE_FLAGS += -DFULGOR_SANITIZE=ON
else
BUILD ?= build
endif
JOBS ?= 2
PREFIX ?= /usr/local
FUZZ_SECONDS ?= 60
FUZZ_BUILD ?= build-fuzz
EXAMPLE ?= examples/midsummer_finale.csv examples/midsummer_finale.scx

.PHONY: deps configure build run test fuzz bench format install deb clean

deps:
	bash scripts/install-deps.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

configure: $(BUILD)/build.ninja

build: deps configure
	ninja -C $(BUILD) -j$(JOBS)

run: build
	$(BUILD)/fulgor $(EXAMPLE)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)

fuzz: deps
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DFULGOR_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++-14
	ninja -C $(FUZZ_BUILD) -j$(JOBS) fuzz_targets
	bash scripts/run-fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

bench: build
	$(BUILD)/bench/bench_script_files
	$(BUILD)/bench/bench_addressing
	$(BUILD)/bench/bench_sd_show
	$(BUILD)/bench/bench_timeline
	$(BUILD)/bench/bench_window

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

deb: build
	cd $(BUILD) && cpack -G DEB

format: configure
	ninja -C $(BUILD) format

clean:
	rm -rf build build-sanitize build-fuzz
