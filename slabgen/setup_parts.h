// The pieces of read_setup, one per part of the description.
#pragma once

#include <string>
#include <vector>

#include "slabgen/setup.h"

namespace slabgen {

// Adds the elements of 'site' lines to `elements` (basis lattices only).
Lattice read_lattice(const Description& d, std::vector<std::string>& elements);
SlabRequest read_request(const Description& d, const Lattice& lattice);
// Z and mass from the table or from 'z <symbol>' and 'mass <symbol>'.
Species read_species(const Description& d, const std::string& symbol);
std::vector<Species> read_sublattice_species(const Description& d, const Lattice& lattice,
                                             const std::vector<std::string>& site_elements);

BeamSetup read_beam(const Description& d, bool hexagonal);
ScanSetup read_scan(const Description& d, bool hexagonal);
void read_models(const Description& d, SlabSetup& setup);

}  // namespace slabgen
