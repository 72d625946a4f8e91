# Everything starts here; the scripts in tools/ do the work.
.PHONY: all deps build test soak run screenshot dist fuzz bench clean

all: build

deps:
	@tools/install-deps.sh

build: deps
	@tools/build.sh

test: build
	@tools/test.sh

soak: build
	@tools/soak.sh

run: build
	@tools/run.sh

screenshot: build
	@tools/run.sh --screenshot --seed-mappings

dist: build
	@tools/install-deps.sh dist
	@tools/dist.sh

fuzz: deps
	@tools/install-deps.sh fuzz
	@tools/fuzz.sh

bench: build
	@tools/install-deps.sh bench
	@tools/bench.sh

clean:
	rm -rf build
