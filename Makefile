# Quick start: `make run` builds and starts Tavrel; `make test` builds and runs every test.
.PHONY: all setup build test run dist bench clean

all: build

setup:
	@scripts/setup

build: setup
	@scripts/build

test: build
	@scripts/test

run: build
	@scripts/run

dist: build
	@scripts/dist

bench: build
	@scripts/bench

clean:
	rm -rf build dist
