# The two set-up commands of the README: `make run` and `make test`.
BUILD ?= build
CMAKE_ARGS ?=

.PHONY: deps configure build run fake-service test test-below-gui bench clean

deps:
	@./scripts/install-deps

configure: deps
	@if [ ! -f $(BUILD)/build.ninja ]; then cmake -S . -B $(BUILD) -G Ninja $(CMAKE_ARGS); \
	 elif [ -n "$(CMAKE_ARGS)" ]; then cmake -S . -B $(BUILD) $(CMAKE_ARGS); fi

build: configure
	@cmake --build $(BUILD)

run: build
	@./scripts/run-app $(BUILD)/kelvara

# The fake note service, to try synchronisation without an account: it prints what to give
# Kelvara. FAKE_SERVICE_ARGS="--port 8765 --seed-notes 0" keeps the addresses across restarts.
# Only its own target is built, so the service is up sooner; `make run` builds the rest.
FAKE_SERVICE_ARGS ?= --seed-notes 12
fake-service: configure
	@cmake --build $(BUILD) --target kelvara-fake-service
	@$(BUILD)/tests/support/fakeservice/kelvara-fake-service $(FAKE_SERVICE_ARGS)

test: build
	@./scripts/run-tests $(BUILD)

# The layers below the GUI, built and tested without Qt Widgets: nothing there may reach a widget.
test-below-gui: deps
	@cmake -S . -B $(BUILD)-below-gui -G Ninja -DKELVARA_BUILD_GUI=OFF $(CMAKE_ARGS)
	@cmake --build $(BUILD)-below-gui
	@./scripts/run-tests $(BUILD)-below-gui

bench: build
	@$(BUILD)/bench/kelvara_bench

clean:
	rm -rf $(BUILD) $(BUILD)-below-gui
