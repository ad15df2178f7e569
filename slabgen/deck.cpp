// Numbering the atoms and laying out the model scans. Structure models run over every
// combination of the relaxations (the first relaxation slowest), vibration models likewise.
#include "slabgen/deck.h"

#include <algorithm>
#include <set>

namespace slabgen {

namespace {

bool has(const std::set<int>& s, int v) {
  return s.count(v) != 0;
}

// Layers in the order their atoms are numbered: shifted and vibrated, shifted only, vibrated
// only, then the rest; each group from the top down.
std::vector<int> layer_order(int layers, const std::set<int>& shifted,
                             const std::set<int>& vibrated) {
  std::vector<int> order;
  const auto add = [&](auto wanted) {
    for (int l = 1; l <= layers; ++l)
      if (wanted(l)) order.push_back(l);
  };
  add([&](int l) { return has(shifted, l) && has(vibrated, l); });
  add([&](int l) { return has(shifted, l) && !has(vibrated, l); });
  add([&](int l) { return !has(shifted, l) && has(vibrated, l); });
  add([&](int l) { return !has(shifted, l) && !has(vibrated, l); });
  return order;
}

// Choices of `lists` parameters over all their combinations, the first parameter slowest.
std::vector<std::vector<std::int32_t>> combinations(const std::vector<std::size_t>& sizes) {
  std::vector<std::vector<std::int32_t>> out(sizes.size());
  std::size_t total = 1;
  for (std::size_t n : sizes) total *= n;
  for (std::size_t m = 0; m < total; ++m) {
    std::size_t rest = m;
    for (std::size_t p = sizes.size(); p-- > 0;) {
      out[p].push_back(static_cast<std::int32_t>(rest % sizes[p] + 1));
      rest /= sizes[p];
    }
  }
  return out;
}

std::vector<float> as_floats(const std::vector<double>& v) {
  return {v.begin(), v.end()};
}

struct NamedList {
  std::string name;
  const std::vector<double>& values;
};

// The parameters of one kind of model scan, and the number of models: every combination of
// their value lists.
std::int32_t add_parameters(const std::vector<NamedList>& lists,
                            std::vector<DeckParameter>& params) {
  std::vector<std::size_t> sizes;
  for (const NamedList& l : lists) sizes.push_back(l.values.size());
  const auto choices = combinations(sizes);
  for (std::size_t p = 0; p < lists.size(); ++p)
    params.push_back({lists[p].name, as_floats(lists[p].values), choices[p]});
  return lists.empty() ? 1 : static_cast<std::int32_t>(choices.front().size());
}

void add_structure_models(const SlabSetup& setup, const std::vector<int>& atom_layer, Deck& deck) {
  std::vector<NamedList> lists;
  for (const RelaxationScan& r : setup.relaxations)
    lists.push_back({"delta_d" + std::to_string(r.layer) + std::to_string(r.layer + 1), r.changes});
  deck.structure_models = add_parameters(lists, deck.structure_params);
  for (std::int32_t s = 0; s < deck.structure_models; ++s)
    for (std::int32_t a = 0; a < deck.displaced_atoms; ++a) {
      // A wider spacing d(k, k+1) lifts layers 1..k: depth shift minus the change.
      double change = 0;
      for (std::size_t p = 0; p < setup.relaxations.size(); ++p)
        if (atom_layer[a] <= setup.relaxations[p].layer)
          change += setup.relaxations[p].changes[deck.structure_params[p].choice[s] - 1];
      deck.depth_shift.push_back(0.0f - static_cast<float>(change));
    }
}

void add_vibration_models(const SlabSetup& setup, const std::vector<int>& atom_layer, Deck& deck) {
  std::vector<NamedList> lists;
  for (const VibrationScan& v : setup.vibrations)
    lists.push_back(
        {v.layer == 1 ? "sigma_top" : "sigma_layer" + std::to_string(v.layer), v.sigmas});
  deck.vibration_models = add_parameters(lists, deck.vibration_params);
  for (std::int32_t m = 0; m < deck.vibration_models; ++m)
    for (std::int32_t a = 0; a < deck.vibrated_atoms; ++a) {
      float sigma = deck.atoms[a].sigma;
      for (std::size_t p = 0; p < setup.vibrations.size(); ++p)
        if (setup.vibrations[p].layer == atom_layer[a])
          sigma = static_cast<float>(
              setup.vibrations[p].sigmas[deck.vibration_params[p].choice[m] - 1]);
      deck.model_sigma.push_back(sigma);
    }
}

// The amplitude an atom's trajectories are computed with: the largest of its layer's model
// amplitudes, since re-weighting to a model amplitude converges only up to sqrt(2) times it.
double tracking_sigma(const SlabSetup& setup, const SlabAtom& atom) {
  double sigma = setup.sublattice_species[atom.sublattice].sigma;
  for (const VibrationScan& v : setup.vibrations)
    if (v.layer == atom.layer) sigma = *std::max_element(v.sigmas.begin(), v.sigmas.end());
  return sigma;
}

void add_types(const SlabSetup& setup, Deck& deck, std::vector<std::int32_t>& type_of_sublattice) {
  std::vector<std::string> symbols;
  for (const Species& s : setup.sublattice_species) {
    auto at = std::find(symbols.begin(), symbols.end(), s.symbol);
    if (at == symbols.end()) {
      symbols.push_back(s.symbol);
      deck.types.push_back({s.z, static_cast<float>(s.mass)});
      at = symbols.end() - 1;
    }
    type_of_sublattice.push_back(static_cast<std::int32_t>(at - symbols.begin()) + 1);
  }
}

}  // namespace

Deck build_deck(const SlabSetup& setup, const Slab& slab, const ScanGeometry& scan) {
  Deck deck;
  deck.comment = setup.comment;
  deck.start_mode = setup.start_mode;
  deck.potential = setup.potential;
  std::vector<std::int32_t> type_of_sublattice;
  add_types(setup, deck, type_of_sublattice);

  std::set<int> shifted, vibrated;
  for (const RelaxationScan& r : setup.relaxations)
    for (int l = 1; l <= r.layer; ++l) shifted.insert(l);
  for (const VibrationScan& v : setup.vibrations) vibrated.insert(v.layer);
  std::vector<int> atom_layer;
  for (int layer : layer_order(setup.request.layers, shifted, vibrated)) {
    for (const SlabAtom& a : slab.atoms) {
      if (a.layer != layer) continue;
      deck.atoms.push_back({static_cast<float>(a.x), static_cast<float>(a.y),
                            static_cast<float>(a.z), a.cell_i, a.cell_j, a.layer,
                            static_cast<float>(tracking_sigma(setup, a)),
                            type_of_sublattice[a.sublattice]});
      atom_layer.push_back(layer);
      const auto n = static_cast<std::int32_t>(deck.atoms.size());
      if (has(shifted, layer)) deck.displaced_atoms = n;
      if (has(vibrated, layer)) deck.vibrated_atoms = n;
    }
  }
  deck.repeat_x = static_cast<float>(slab.repeat_x);
  deck.repeat_y = static_cast<float>(slab.repeat_y);
  deck.x_edges = as_floats(slab.x_edges);
  deck.y_edges = as_floats(slab.y_edges);
  deck.z_edges = as_floats(slab.z_edges);
  deck.azimuth = static_cast<float>(scan.azimuth);
  deck.polar = static_cast<float>(scan.polar);
  deck.first_angle = static_cast<float>(scan.first);
  deck.angle_step = static_cast<float>(scan.step);
  deck.angle_count = scan.count;
  deck.atoms_per_layer = static_cast<float>(setup.atoms_per_layer.value_or(
      static_cast<double>(slab.atoms.size()) / setup.request.layers));
  deck.ion_z = setup.beam.ion.z;
  deck.ion_mass = static_cast<float>(setup.beam.ion.mass);
  deck.ion_energy = static_cast<float>(setup.beam.energy);
  deck.shadow_flux = static_cast<float>(setup.shadow_flux);
  deck.block_flux = static_cast<float>(setup.block_flux);
  add_structure_models(setup, atom_layer, deck);
  add_vibration_models(setup, atom_layer, deck);
  deck.correlated = setup.correlation_coefficient.has_value();
  deck.correlation_coefficient = static_cast<float>(setup.correlation_coefficient.value_or(0));
  deck.correlation_distance = static_cast<float>(setup.correlation_distance.value_or(0));
  return deck;
}

}  // namespace slabgen
