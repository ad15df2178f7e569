// The report's lines.
#include "slabgen/report.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace slabgen {

namespace {

std::string line(const char* format, ...) {
  char text[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return std::string(text) + "\n";
}

std::string layer_spacings(const Slab& slab) {
  std::string out;
  const std::size_t shown = std::min<std::size_t>(slab.layer_depths.size() - 1, 6);
  for (std::size_t l = 0; l < shown; ++l) {
    char text[32];
    std::snprintf(text, sizeof text, "%s%.4f", l ? ", " : "",
                  slab.layer_depths[l + 1] - slab.layer_depths[l]);
    out += text;
  }
  return out + (shown + 1 < slab.layer_depths.size() ? ", ..." : "");
}

std::string atoms_per_layer(const Slab& slab, int layers) {
  std::string out;
  const int shown = std::min(layers, 8);
  for (int l = 1; l <= shown; ++l) {
    if (l > 1) out += ' ';
    out += std::to_string(slab.atoms_in_layer(l));
  }
  return out + (shown < layers ? " ..." : "");
}

std::string crystal_lines(const SlabSetup& s, const Slab& slab, const Deck& deck) {
  const Lattice& l = s.lattice;
  std::string out;
  const Vec3& f = s.request.face;
  out += line("Crystal:      %s, face (%g %g %g), %d layers from atom plane %d", l.name.c_str(),
              f[0], f[1], f[2], s.request.layers, s.request.termination);
  out +=
      line("Surface cell: %.3f x %.3f A, x along %s, y along %s", slab.repeat_x, slab.repeat_y,
           direction_indices(l, slab.frame.x).c_str(), direction_indices(l, slab.frame.y).c_str());
  out += line("Atoms:        %zu (per layer: %s; %.2f per layer for the monolayer unit)",
              slab.atoms.size(), atoms_per_layer(slab, s.request.layers).c_str(),
              double(deck.atoms_per_layer));
  out += line("Layer spacing: %s A", layer_spacings(slab).c_str());
  out += line("Cell grid:    %zu x %zu cells, %zu layers", slab.x_edges.size(), slab.y_edges.size(),
              slab.z_edges.size());
  for (std::size_t t = 0; t < s.sublattice_species.size(); ++t) {
    const Species& sp = s.sublattice_species[t];
    if (t > 0 && sp.symbol == s.sublattice_species[t - 1].symbol) continue;
    out += line("Element:      %s Z = %d, %.3f amu, rms amplitude %.4f A (%s)", sp.symbol.c_str(),
                sp.z, sp.mass, sp.sigma, sp.sigma_source.c_str());
  }
  return out;
}

std::string scan_lines(const SlabSetup& s, const Slab& slab, const ScanGeometry& g) {
  std::string out;
  out += line("Beam:         %s (Z = %d, %.3f amu), %g keV, polar %.2f, azimuth %.2f degrees",
              s.beam.ion.symbol.c_str(), s.beam.ion.z, s.beam.ion.mass, s.beam.energy, g.polar,
              g.azimuth);
  out += line(
      "Detection:    %d angles, scattering %.2f to %.2f degrees (exit %.2f to %.2f from "
      "the normal)",
      g.count, g.first, g.last(), 180.0 - g.polar - g.first, 180.0 - g.polar - g.last());
  const std::vector<BlockingDirection> dirs = blocking_directions(s.lattice, slab, g);
  if (dirs.empty()) return out + line("Blocking directions in the scan: none");
  out += line("Blocking directions in the scan:");
  for (const BlockingDirection& b : dirs)
    out += line("  %-12s exit %7.2f  scattering angle %7.2f degrees  (row spacing %.3f A)",
                b.indices.c_str(), b.exit_polar, b.scattering, b.spacing);
  return out;
}

std::string model_lines(const Deck& d) {
  std::string out = line(
      "Models:       %d structure x %d vibration = %d model pairs; atoms 1..%d "
      "shift, 1..%d carry model amplitudes",
      d.structure_models, d.vibration_models, d.structure_models * d.vibration_models,
      d.displaced_atoms, d.vibrated_atoms);
  for (const auto* list : {&d.structure_params, &d.vibration_params})
    for (const DeckParameter& p : *list) {
      std::string values;
      for (float v : p.values) {
        char text[32];
        std::snprintf(text, sizeof text, " %.3f", double(v));
        values += text;
      }
      out += line("  %-14s%s A", p.name.c_str(), values.c_str());
    }
  return out;
}

}  // namespace

std::string build_report(const SlabSetup& setup, const Slab& slab, const ScanGeometry& scan,
                         const Deck& deck) {
  return crystal_lines(setup, slab, deck) + scan_lines(setup, slab, scan) + model_lines(deck);
}

}  // namespace slabgen
