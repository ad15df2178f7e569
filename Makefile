# Front door of the build: `make` builds every program into build/bin/, `make test` checks the
# Debian packages, builds and runs the tests, `make demo` runs polysim on the bundled example
# and draws its blocking curves, `make demo-fit` runs structfit on the bundled synthetic data
# set (IONBEAM_SEED, default 1), `make fuzz` runs the long fuzz campaign (FUZZ_SEED,
# FUZZ_CASES). `make mpi` builds the MPI programs into build-mpi/bin/, `make test-mpi` adds
# them to build/ and runs their tests.
BUILD       ?= build
SAN_BUILD   ?= build-sanitize
BENCH_BUILD ?= build-bench
MPI_BUILD   ?= build-mpi
JOBS        ?= $(shell nproc 2>/dev/null || echo 2)
# ccache, when the machine has it, keeps compiled objects from one build to the next.
CCACHE      := $(shell command -v ccache 2>/dev/null)
LAUNCHER    := $(if $(CCACHE),-DCMAKE_CXX_COMPILER_LAUNCHER=$(CCACHE) -DCMAKE_C_COMPILER_LAUNCHER=$(CCACHE))
# One compile more than cores, so a core is busy while another job reads or links.
BUILD_JOBS  ?= $(shell echo $$(( $(JOBS) + 1 )))
PACKAGES    := cmake make gcc g++ libgtest-dev libbenchmark-dev libhdf5-dev librandom123-dev \
               pkg-config gnuplot-nox
MPI_PACKAGES := libopenmpi-dev openmpi-bin
FUZZ_SEED   ?= 1
FUZZ_CASES  ?= 5000

.PHONY: all test test-sanitize test-mpi mpi bench demo demo-fit fuzz deps deps-mpi format clean

all:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release $(LAUNCHER)
	cmake --build $(BUILD) -j $(BUILD_JOBS)

# install-missing <packages>: installs what is missing as root, else names it and fails.
define install-missing
	@missing=""; for p in $(1); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "Installing:$$missing"; \
	    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	  else \
	    echo "Missing Debian packages. Run:  sudo apt-get install$$missing"; exit 1; \
	  fi; \
	fi
endef

deps:
	$(call install-missing,$(PACKAGES))

deps-mpi: deps
	$(call install-missing,$(MPI_PACKAGES))

test: deps all
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-sanitize: deps
	cmake -S . -B $(SAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DIONBEAM_SANITIZE=ON $(LAUNCHER)
	cmake --build $(SAN_BUILD) -j $(BUILD_JOBS)
	cd $(SAN_BUILD) && ctest --output-on-failure -j $(JOBS)

# The MPI programs are a few files over the same libraries: build/ gets them without
# recompiling anything else.
test-mpi: deps-mpi all
	cmake -S . -B $(BUILD) -DIONBEAM_MPI=ON $(LAUNCHER)
	cmake --build $(BUILD) -j $(BUILD_JOBS) --target mpi_programs_test
	cd $(BUILD) && ctest --output-on-failure -L mpi

mpi: deps-mpi
	cmake -S . -B $(MPI_BUILD) -DCMAKE_BUILD_TYPE=Release -DIONBEAM_MPI=ON -DIONBEAM_TESTS=OFF $(LAUNCHER)
	cmake --build $(MPI_BUILD) -j $(JOBS) --target polysim-mpi structfit-mpi monosim-mpi

bench: deps
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DIONBEAM_BENCH=ON -DIONBEAM_TESTS=OFF $(LAUNCHER)
	cmake --build $(BENCH_BUILD) -j $(JOBS)

demo: all
	@sh examples/run-demo.sh $(BUILD)/bin

demo-fit: all
	@IONBEAM_SEED=$${IONBEAM_SEED:-1} sh examples/structfit/run-fit-demo.sh $(BUILD)/bin

fuzz: all
	$(BUILD)/tests/ionbeam_fuzz --bin $(BUILD)/bin --examples examples --work $(BUILD)/fuzz \
	  --seed $(FUZZ_SEED) --cases $(FUZZ_CASES) --jobs $(JOBS)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(BENCH_BUILD) $(MPI_BUILD)
