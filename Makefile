# A newcomer's two commands: `make run` and `make test`.
MAKEFLAGS += --no-print-directory
BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build run test clean

all: build

deps:
	@./scripts/install-deps

configure: deps
	@mkdir -p $(BUILD_DIR)
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo > $(BUILD_DIR)/configure.log 2>&1 || (cat $(BUILD_DIR)/configure.log; exit 1)

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@if [ -x $(BUILD_DIR)/bin/KX_GSM_CN ]; then \
		cd $(BUILD_DIR)/bin && ./KX_GSM_CN; \
	else \
		echo "Built into $(BUILD_DIR):"; ls -1 $(BUILD_DIR)/bin $(BUILD_DIR)/tests 2>/dev/null | grep -v -e CMake -e cmake -e Makefile -e _autogen; \
	fi

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD_DIR)
