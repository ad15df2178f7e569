// The crystal part of a description: lattice, cell constants, face, x, layers, the element of
// each sublattice and its vibration amplitude.
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "slabgen/debye.h"
#include "slabgen/elements.h"
#include "slabgen/setup_parts.h"

namespace slabgen {

namespace {

double positive(const Description& d, const Entry& e, std::size_t word = 0) {
  const double v = d.number(e, word);
  if (!(v > 0)) d.fail(e, "'" + e.key + "' must be above 0");
  return v;
}

const Entry& required(const Description& d, std::string_view key) {
  const Entry* e = d.find(key);
  if (e == nullptr) d.fail("the key '" + std::string(key) + "' is missing");
  return *e;
}

std::optional<double> optional_positive(const Description& d, std::string_view key) {
  const Entry* e = d.find(key);
  return e ? std::optional<double>(positive(d, *e)) : std::nullopt;
}

Lattice basis_from_sites(const Description& d, double a, double b, double c,
                         std::vector<std::string>& elements) {
  std::vector<Site> sites;
  for (const Entry* e : d.all("site")) {
    if (e->words.size() != 4)
      d.fail(*e, "'site' needs an element and three fractional coordinates");
    int sublattice = 0;
    while (sublattice < static_cast<int>(elements.size()) && elements[sublattice] != e->words[0])
      ++sublattice;
    if (sublattice == static_cast<int>(elements.size())) elements.push_back(e->words[0]);
    sites.push_back({{d.number(*e, 1), d.number(*e, 2), d.number(*e, 3)}, sublattice});
  }
  if (sites.empty()) d.fail("'lattice = basis' needs 'site = <element> <x> <y> <z>' lines");
  return basis_lattice(a, b, c, std::move(sites), static_cast<int>(elements.size()));
}

}  // namespace

Lattice read_lattice(const Description& d, std::vector<std::string>& elements) {
  const Entry& kind = required(d, "lattice");
  const double a = positive(d, required(d, "a"));
  const std::string& name = kind.text;
  if (name == "basis") {
    const double b = optional_positive(d, "b").value_or(a);
    return basis_from_sites(d, a, b, optional_positive(d, "c").value_or(a), elements);
  }
  if (!d.all("site").empty()) d.fail(*d.all("site").front(), "'site' lines need 'lattice = basis'");
  if (name == "hcp")  // ideal c/a = sqrt(8/3) unless given
    return hcp_lattice(a, optional_positive(d, "c").value_or(a * std::sqrt(8.0 / 3.0)));
  if (name == "fcc" || name == "bcc" || name == "diamond") return cubic_lattice(name, a);
  d.fail(kind, "unknown lattice '" + name + "' (fcc, bcc, hcp, diamond or basis)");
}

SlabRequest read_request(const Description& d, const Lattice& lattice) {
  SlabRequest r;
  const Entry& face = required(d, "face");
  try {
    r.face = parse_plane(face.text, lattice.hexagonal);
  } catch (const std::invalid_argument& error) {
    d.fail(face, error.what());
  }
  if (const Entry* x = d.find("x")) {
    try {
      r.x_direction = parse_direction(x->text, lattice.hexagonal);
    } catch (const std::invalid_argument& error) {
      d.fail(*x, error.what());
    }
  }
  const Entry& layers = required(d, "layers");
  r.layers = d.integer(layers);
  if (r.layers < 1 || r.layers > 200) d.fail(layers, "'layers' must be 1 to 200");
  if (const Entry* t = d.find("termination")) {
    r.termination = d.integer(*t);
    if (r.termination < 1 || r.termination > 24) d.fail(*t, "'termination' must be 1 to 24");
  }
  return r;
}

Species read_species(const Description& d, const std::string& symbol) {
  Species s;
  s.symbol = symbol;
  if (const std::optional<Element> known = find_element(symbol)) {
    s.z = known->z;
    s.mass = known->mass;
  }
  for (const Entry* e : d.all("mass"))
    if (e->qualifiers == std::vector<std::string>{symbol}) s.mass = positive(d, *e);
  for (const Entry* e : d.all("z"))
    if (e->qualifiers == std::vector<std::string>{symbol}) {
      s.z = d.integer(*e);
      if (s.z < 1 || s.z > 99) d.fail(*e, "'z' must be 1 to 99");
    }
  if (s.z == 0 || s.mass == 0)
    d.fail("unknown element '" + symbol + "': give 'z " + symbol + " = ...' and 'mass " + symbol +
           " = ...'");
  return s;
}

// sigma <element>, else sigma, else the Debye model from temperature and debye (or
// debye <element>).
void read_amplitude(const Description& d, Species& s) {
  const Entry* chosen = d.find("sigma");
  for (const Entry* e : d.all("sigma"))
    if (e->qualifiers == std::vector<std::string>{s.symbol}) chosen = e;
  if (chosen != nullptr) {
    s.sigma = positive(d, *chosen);
    s.sigma_source = "given";
    return;
  }
  const Entry* debye = d.find("debye");
  for (const Entry* e : d.all("debye"))
    if (e->qualifiers == std::vector<std::string>{s.symbol}) debye = e;
  const Entry* temperature = d.find("temperature");
  if (debye == nullptr || temperature == nullptr)
    d.fail("no vibration amplitude for " + s.symbol +
           ": give 'sigma = <A>' or 'temperature = <K>' and 'debye = <K>'");
  const double t = d.number(*temperature);
  if (t < 0) d.fail(*temperature, "'temperature' must be at least 0");
  const double theta = positive(d, *debye);
  s.sigma = debye_rms_amplitude(s.mass, t, theta);
  char text[96];
  std::snprintf(text, sizeof text, "Debye model, %g K at %g K", theta, t);
  s.sigma_source = text;
}

std::vector<Species> read_sublattice_species(const Description& d, const Lattice& lattice,
                                             const std::vector<std::string>& site_elements) {
  std::vector<std::string> symbols = site_elements;
  if (symbols.empty()) {
    const Entry& e = required(d, "element");
    symbols = e.words;
    if (symbols.size() == 1) symbols.assign(lattice.sublattices, symbols.front());
    if (static_cast<int>(symbols.size()) != lattice.sublattices)
      d.fail(e, "'element' needs one element, or one per sublattice (" +
                    std::to_string(lattice.sublattices) + ")");
  } else if (d.find("element") != nullptr) {
    d.fail(*d.find("element"), "with 'lattice = basis' each 'site' names its element");
  }
  std::vector<Species> out;
  for (const std::string& symbol : symbols) {
    Species s = read_species(d, symbol);
    read_amplitude(d, s);
    out.push_back(s);
  }
  return out;
}

}  // namespace slabgen
