// Conventional cells of the lattices and the translations of their bases.
#include "slabgen/lattice.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <numeric>
#include <stdexcept>

namespace slabgen {

namespace {

constexpr double kSame = 1.0e-6;  // fractional coordinates closer than this coincide

double wrap01(double f) {
  f -= std::floor(f);
  return f > 1.0 - kSame ? 0.0 : f;
}

bool same_site(const Vec3& a, const Vec3& b) {
  for (int i = 0; i < 3; ++i) {
    const double d = std::fabs(wrap01(a[i] - b[i]));
    if (d > kSame && d < 1.0 - kSame) return false;
  }
  return true;
}

bool maps_onto_itself(const std::vector<Site>& sites, const Vec3& t) {
  for (const Site& s : sites) {
    bool found = false;
    for (const Site& o : sites)
      found = found || (o.sublattice == s.sublattice && same_site(s.fractional + t, o.fractional));
    if (!found) return false;
  }
  return true;
}

Axes orthogonal(double a, double b, double c) {
  return {{a, 0, 0}, {0, b, 0}, {0, 0, c}};
}

const std::vector<Vec3> kFccCentring = {{0, 0, 0}, {0.5, 0.5, 0}, {0.5, 0, 0.5}, {0, 0.5, 0.5}};

std::vector<int> parse_indices(std::string_view text) {
  std::vector<int> out;
  bool separated = false;  // blanks or commas: multi-digit numbers
  for (char ch : text) separated = separated || ch == ' ' || ch == ',';
  std::size_t i = 0;
  while (i < text.size()) {
    const char ch = text[i];
    if (ch == ' ' || ch == ',' || ch == '[' || ch == ']' || ch == '(' || ch == ')' || ch == '<' ||
        ch == '>' || ch == '{' || ch == '}') {
      ++i;
      continue;
    }
    int sign = 1;
    if (ch == '-') {
      sign = -1;
      ++i;
    }
    if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i])))
      throw std::invalid_argument("cannot read Miller indices from '" + std::string(text) + "'");
    int value = 0;
    do {
      value = value * 10 + (text[i] - '0');
      ++i;
    } while (separated && i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])));
    out.push_back(sign * value);
  }
  return out;
}

std::vector<int> checked_indices(std::string_view text, bool hexagonal) {
  std::vector<int> n = parse_indices(text);
  if (n.size() != 3 && !(hexagonal && n.size() == 4))
    throw std::invalid_argument("'" + std::string(text) + "' needs three Miller indices" +
                                (hexagonal ? " (or four)" : ""));
  if (n[0] == 0 && n[1] == 0 && n[2] == 0 && (n.size() == 3 || n[3] == 0))
    throw std::invalid_argument("'" + std::string(text) + "' has all indices zero");
  return n;
}

}  // namespace

std::vector<Vec3> Lattice::centrings() const {
  std::vector<Vec3> out = {{0, 0, 0}};
  for (const Site& s : sites) {
    if (s.sublattice != sites.front().sublattice) continue;
    Vec3 t = s.fractional - sites.front().fractional;
    for (double& f : t) f = wrap01(f);
    bool known = false;
    for (const Vec3& o : out) known = known || same_site(o, t);
    if (!known && maps_onto_itself(sites, t)) out.push_back(t);
  }
  return out;
}

Lattice cubic_lattice(std::string_view name, double a) {
  Lattice l;
  l.name = std::string(name);
  l.axes = orthogonal(a, a, a);
  if (name == "fcc") {
    for (const Vec3& c : kFccCentring) l.sites.push_back({c, 0});
  } else if (name == "bcc") {
    l.sites = {{{0, 0, 0}, 0}, {{0.5, 0.5, 0.5}, 0}};
  } else if (name == "diamond") {
    for (const Vec3& c : kFccCentring) l.sites.push_back({c, 0});
    for (const Vec3& c : kFccCentring) l.sites.push_back({c + Vec3{0.25, 0.25, 0.25}, 1});
    l.sublattices = 2;
  } else {
    throw std::invalid_argument("unknown lattice '" + std::string(name) + "'");
  }
  return l;
}

Lattice hcp_lattice(double a, double c) {
  Lattice l;
  l.name = "hcp";
  l.axes = {{a, 0, 0}, {-0.5 * a, 0.5 * std::sqrt(3.0) * a, 0}, {0, 0, c}};
  l.sites = {{{1.0 / 3.0, 2.0 / 3.0, 0.25}, 0}, {{2.0 / 3.0, 1.0 / 3.0, 0.75}, 0}};
  l.hexagonal = true;
  return l;
}

Lattice basis_lattice(double a, double b, double c, std::vector<Site> sites, int sublattices) {
  Lattice l;
  l.name = "basis";
  l.axes = orthogonal(a, b, c);
  l.sites = std::move(sites);
  l.sublattices = sublattices;
  return l;
}

Vec3 parse_direction(std::string_view text, bool hexagonal) {
  const std::vector<int> n = checked_indices(text, hexagonal);
  if (n.size() == 3) return {double(n[0]), double(n[1]), double(n[2])};
  // [UVTW] on a1, a2, a3 = -(a1 + a2), c is [U - T, V - T, W] on a1, a2, c.
  return {double(n[0] - n[2]), double(n[1] - n[2]), double(n[3])};
}

Vec3 parse_plane(std::string_view text, bool hexagonal) {
  const std::vector<int> n = checked_indices(text, hexagonal);
  if (n.size() == 4 && n[2] != -(n[0] + n[1]))
    throw std::invalid_argument("'" + std::string(text) + "': the third index must be -(h + k)");
  return {double(n[0]), double(n[1]), double(n.back())};
}

std::optional<std::array<long, 3>> integer_direction(const Lattice& lattice, const Vec3& v) {
  const Vec3 f = lattice.axes.to_fractional(v);
  const double largest = std::max({std::fabs(f[0]), std::fabs(f[1]), std::fabs(f[2])});
  for (int m = 1; m <= 60; ++m) {
    std::array<long, 3> n{};
    bool whole = true;
    for (int i = 0; i < 3; ++i) {
      const double x = f[i] / largest * m;
      n[i] = std::lround(x);
      whole = whole && std::fabs(x - double(n[i])) < 1.0e-6 * m;
    }
    if (!whole) continue;
    const long g = std::gcd(std::gcd(std::labs(n[0]), std::labs(n[1])), std::labs(n[2]));
    for (long& x : n) x /= g;
    return n;
  }
  return std::nullopt;
}

std::string direction_indices(const Lattice& lattice, const Vec3& v) {
  const std::optional<std::array<long, 3>> n = integer_direction(lattice, v);
  if (!n) return {};
  std::vector<long> out(n->begin(), n->end());
  if (lattice.hexagonal) {  // [uvw] on a1, a2, c -> [UVTW] = [2u - v, 2v - u, -(u + v), 3w] / 3
    const auto [u, w, l] = *n;
    out = {2 * u - w, 2 * w - u, -(u + w), 3 * l};
  }
  long g = 0;
  for (long x : out) g = std::gcd(g, std::labs(x));
  // Indices of one digit are written together ("[1-10]"), larger ones apart ("[1 13 0]").
  const bool apart =
      std::any_of(out.begin(), out.end(), [g](long x) { return std::labs(x / g) > 9; });
  std::string text = "[";
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (apart && i > 0) text += ' ';
    text += std::to_string(out[i] / g);
  }
  return text + "]";
}

}  // namespace slabgen
