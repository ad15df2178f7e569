// The whole way from description to input: set-up, slab, scan geometry, deck, writing.
#include "slabgen/generate.h"

#include "slabgen/deck.h"
#include "slabgen/input_writer.h"
#include "slabgen/report.h"
#include "slabgen/scan.h"
#include "slabgen/setup.h"
#include "slabgen/slab.h"

namespace slabgen {

namespace {

constexpr int kMostModelPairs = 9999;  // result files are numbered with four digits

void check_variant(const Description& d, const SlabSetup& setup, Variant variant) {
  if (variant == Variant::monosim) {
    if (!d.all("relax").empty() || !d.all("vibrate").empty())
      d.fail(d.all("relax").empty() ? *d.all("vibrate").front() : *d.all("relax").front(),
             "monosim runs one model: model scans ('relax', 'vibrate') need a polysim input");
  } else if (setup.correlation_coefficient) {
    d.fail(*d.find("correlation"), "correlated vibrations are a monosim option (--monosim)");
  }
}

}  // namespace

Generated generate(const Description& description, Variant variant) {
  const SlabSetup setup = read_setup(description);
  check_variant(description, setup, variant);
  const Slab slab = build_slab(setup.lattice, setup.request);
  const ScanGeometry scan = resolve_scan(setup, slab.frame);
  const Deck deck = build_deck(setup, slab, scan);
  if (deck.structure_models * deck.vibration_models > kMostModelPairs)
    throw SlabError("the model scans make " +
                    std::to_string(deck.structure_models * deck.vibration_models) +
                    " model pairs; at most 9999");
  return {variant == Variant::polysim ? polysim_input(deck) : monosim_input(deck),
          build_report(setup, slab, scan, deck)};
}

}  // namespace slabgen
