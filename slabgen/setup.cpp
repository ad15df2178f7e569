// The beam, the detection scan, the run options and the model scans of a description, and
// the whole description read in one call.
#include "slabgen/setup.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "slabgen/setup_parts.h"

namespace slabgen {

namespace {

const std::vector<std::string_view> kKeys = {
    "comment",     "lattice",   "a",          "b",
    "c",           "site",      "element",    "mass",
    "z",           "face",      "x",          "layers",
    "termination", "sigma",     "debye",      "temperature",
    "ion",         "energy",    "beam",       "polar",
    "azimuth",     "scan",      "flux",       "shadow_flux",
    "block_flux",  "potential", "start",      "atoms_per_layer",
    "relax",       "vibrate",   "correlation"};

Vec3 direction_after(const Description& d, const Entry& e, std::size_t word, bool hexagonal) {
  if (word >= e.words.size()) d.fail(e, "'" + e.key + "' needs a direction [uvw]");
  try {
    return parse_direction(e.words[word], hexagonal);
  } catch (const std::invalid_argument& error) {
    d.fail(e, error.what());
  }
}

double flux(const Description& d, std::string_view key, const Entry* common) {
  const Entry* e = d.find(key);
  if (e == nullptr) e = common;
  if (e == nullptr) d.fail("the key 'flux' (or '" + std::string(key) + "') is missing");
  const double v = d.number(*e);
  if (v < 0) d.fail(*e, "'" + e->key + "' must be at least 0");
  return v;
}

int choice(const Description& d, std::string_view key, const std::vector<std::string_view>& words,
           int fallback) {
  const Entry* e = d.find(key);
  if (e == nullptr) return fallback;
  for (std::size_t i = 0; i < words.size(); ++i)
    if (e->text == words[i]) return static_cast<int>(i);
  std::string list;
  for (std::string_view w : words) {
    if (!list.empty()) list += ", ";
    list += w;
  }
  d.fail(*e, "'" + e->key + "' must be one of " + list);
}

std::string default_comment(const SlabSetup& s) {
  std::string elements;
  for (const Species& sp : s.sublattice_species)
    if (elements.find(sp.symbol) == std::string::npos) elements += sp.symbol;
  const Vec3& f = s.request.face;
  char text[160];
  std::snprintf(text, sizeof text, "%s(%d%d%d) %d layers, %g keV %s", elements.c_str(), int(f[0]),
                int(f[1]), int(f[2]), s.request.layers, s.beam.energy, s.beam.ion.symbol.c_str());
  return text;
}

}  // namespace

BeamSetup read_beam(const Description& d, bool hexagonal) {
  BeamSetup b;
  const Entry* ion = d.find("ion");
  if (ion == nullptr || ion->words.size() != 1) d.fail("'ion = <element>' is missing");
  b.ion = read_species(d, ion->words.front());
  const Entry* energy = d.find("energy");
  if (energy == nullptr) d.fail("the key 'energy' (keV) is missing");
  b.energy = d.number(*energy);
  if (!(b.energy > 0)) d.fail(*energy, "'energy' must be above 0");
  if (const Entry* e = d.find("beam")) {
    if (e->words.size() != 2 || e->words[0] != "along") d.fail(*e, "write 'beam = along [uvw]'");
    b.along = direction_after(d, *e, 1, hexagonal);
  }
  if (const Entry* e = d.find("polar")) {
    if (b.along) d.fail(*e, "give either 'beam = along [uvw]' or 'polar'");
    b.polar = d.number(*e);
    if (*b.polar < 0 || *b.polar >= 90) d.fail(*e, "'polar' must be 0 to below 90 degrees");
  }
  if (const Entry* e = d.find("azimuth")) b.azimuth = d.number(*e);
  if (!b.along && !b.polar) d.fail("give 'beam = along [uvw]' or 'polar = <degrees>'");
  return b;
}

// "first step count" or "across [uvw] step <degrees> count <n>".
ScanSetup read_scan(const Description& d, bool hexagonal) {
  const Entry* e = d.find("scan");
  if (e == nullptr) d.fail("the key 'scan' is missing");
  ScanSetup s;
  if (!e->words.empty() && e->words[0] == "across") {
    if (e->words.size() != 6 || e->words[2] != "step" || e->words[4] != "count")
      d.fail(*e, "write 'scan = across [uvw] step <degrees> count <n>'");
    s.across = direction_after(d, *e, 1, hexagonal);
    s.step = d.number(*e, 3);
    s.count = d.integer(*e, 5);
  } else {
    if (e->words.size() != 3) d.fail(*e, "write 'scan = <first> <step> <count>' (degrees)");
    s.first = d.number(*e, 0);
    s.step = d.number(*e, 1);
    s.count = d.integer(*e, 2);
  }
  if (s.count < 1 || s.count > 100000) d.fail(*e, "the scan needs 1 to 100000 angles");
  return s;
}

// "relax d12 = <changes>" and "vibrate layer 1 = <amplitudes>".
void read_models(const Description& d, SlabSetup& setup) {
  for (const Entry* e : d.all("relax")) {
    const std::string q = e->qualifiers.size() == 1 ? e->qualifiers[0] : "";
    const std::string upper = q.size() >= 3 && q[0] == 'd' ? q.substr(1, (q.size() - 1) / 2) : "";
    const std::string lower = q.size() >= 3 ? q.substr(1 + upper.size()) : "";
    const int layer = upper.empty() ? 0 : std::atoi(upper.c_str());
    if (layer < 1 || std::to_string(layer) != upper || lower != std::to_string(layer + 1))
      d.fail(*e, "write 'relax d<n><n+1> = <changes in A>', e.g. 'relax d12 = -0.1 0 0.1'");
    if (layer >= setup.request.layers) d.fail(*e, "the slab has no layer " + lower);
    setup.relaxations.push_back({layer, d.numbers(*e)});
  }
  for (const Entry* e : d.all("vibrate")) {
    if (e->qualifiers.size() != 2 || e->qualifiers[0] != "layer")
      d.fail(*e, "write 'vibrate layer <n> = <amplitudes in A>'");
    const int layer = std::atoi(e->qualifiers[1].c_str());
    if (layer < 1 || layer > setup.request.layers)
      d.fail(*e, "the slab has no layer " + e->qualifiers[1]);
    const std::vector<double> sigmas = d.numbers(*e);
    for (double s : sigmas)
      if (!(s > 0)) d.fail(*e, "vibration amplitudes must be above 0");
    setup.vibrations.push_back({layer, sigmas});
  }
}

SlabSetup read_setup(const Description& d) {
  d.check_keys(kKeys);
  SlabSetup s;
  std::vector<std::string> site_elements;
  s.lattice = read_lattice(d, site_elements);
  s.request = read_request(d, s.lattice);
  s.sublattice_species = read_sublattice_species(d, s.lattice, site_elements);
  s.beam = read_beam(d, s.lattice.hexagonal);
  s.scan = read_scan(d, s.lattice.hexagonal);
  const Entry* common = d.find("flux");
  s.shadow_flux = flux(d, "shadow_flux", common);
  s.block_flux = flux(d, "block_flux", common);
  s.potential = choice(d, "potential", {"moliere", "universal", "coulomb"}, 0);
  s.start_mode = choice(d, "start", {"regular", "random"}, 0);
  if (const Entry* e = d.find("atoms_per_layer")) {
    s.atoms_per_layer = d.number(*e);
    if (*s.atoms_per_layer < 0.01) d.fail(*e, "'atoms_per_layer' must be at least 0.01");
  }
  read_models(d, s);
  if (const Entry* e = d.find("correlation")) {
    if (e->words.size() != 2) d.fail(*e, "write 'correlation = <coefficient> <distance in A>'");
    s.correlation_coefficient = d.number(*e, 0);
    s.correlation_distance = d.number(*e, 1);
    if (!(std::fabs(*s.correlation_coefficient) < 1))
      d.fail(*e, "the coefficient must lie within -1 .. 1");
  }
  const Entry* comment = d.find("comment");
  s.comment = comment ? comment->text : default_comment(s);
  return s;
}

}  // namespace slabgen
