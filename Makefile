# Fosdat: everything a fresh Debian 12 machine needs, in two commands.
#   make run    install what is missing, build, generate the sample data set, start the viewer
#   make test   the same set-up, then every test (GUI tests offscreen, under sanitizers)

BUILD      ?= build
TESTBUILD  ?= build-test
FUZZBUILD  ?= build-fuzz
BENCHBUILD ?= build-bench
FUZZ_SECONDS ?= 180
TEST_FUZZ_SECONDS ?= 80
JOBS       ?= $(shell nproc)
CMAKE_GEN  := -G Ninja

.PHONY: all run test build deps bench fuzz package clean format

all: build

deps:
	@tools/deps.sh build

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFOSDAT_TESTS=OFF

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD)/sample && ../Fosdat

# The benchmarks are compiled too (not run), so that they cannot fall behind the code.
test:
	@tools/deps.sh build test
	cmake -S . -B $(TESTBUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DFOSDAT_SANITIZE=ON -DFOSDAT_TESTS=ON -DFOSDAT_BENCH=ON
	cmake --build $(TESTBUILD) -j $(JOBS)
	$(MAKE) fuzz FUZZ_SECONDS=$(TEST_FUZZ_SECONDS)
	cd $(TESTBUILD) && ctest --output-on-failure -j $(JOBS)

# Benchmarks of the viewer in a release build, with the converters unrtf and
# LibreOffice timed on the same files; the summary goes to $(BENCHBUILD)/bench-summary.md.
bench:
	@tools/deps.sh build bench
	cmake -S . -B $(BENCHBUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DFOSDAT_TESTS=OFF -DFOSDAT_BENCH=ON
	cmake --build $(BENCHBUILD) -j $(JOBS)
	bench/run.sh $(BENCHBUILD)

# Debian packages in $(BUILD): fosdat (the program) and fosdat-sample (the sample data set).
package: build
	@tools/deps.sh build package
	cd $(BUILD) && cpack

# libFuzzer targets for the RTF reader and writer and the reader of genus
# entries, built with clang.
fuzz:
	@tools/deps.sh build fuzz
	CC=clang CXX=clang++ cmake -S . -B $(FUZZBUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFOSDAT_FUZZ=ON
	cmake --build $(FUZZBUILD) -j $(JOBS)
	tools/fuzz.sh $(FUZZBUILD) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) $(TESTBUILD) $(FUZZBUILD) $(BENCHBUILD)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i
