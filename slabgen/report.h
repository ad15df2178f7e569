// What slabgen built, for the user to check before a long run: lattice and face, surface
// cell, atoms per layer, layer spacings, amplitudes, beam, scan, the blocking directions the
// scan crosses, and the models.
#pragma once

#include <string>

#include "slabgen/deck.h"
#include "slabgen/scan.h"
#include "slabgen/setup.h"
#include "slabgen/slab.h"

namespace slabgen {

std::string build_report(const SlabSetup& setup, const Slab& slab, const ScanGeometry& scan,
                         const Deck& deck);

}  // namespace slabgen
