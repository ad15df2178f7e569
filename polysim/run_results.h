// The results of a run per model pair: the hitting probability of every atom from the
// shadowing run and its blocked yield per detection angle, with the overlayer deflection
// tally. The run driver fills them; the result files print them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace polysim {

class RunResults {
 public:
  RunResults() = default;
  // Tables for `atoms` atoms (N1), `structures` structure models (N10), `vibrations`
  // vibration models (N11) and `angles` detection angles (N9), all entries 0.
  RunResults(std::int32_t atoms, std::int32_t structures, std::int32_t vibrations,
             std::int32_t angles)
      : atoms_(atoms), structures_(structures), vibrations_(vibrations), angles_(angles) {
    if (atoms < 0 || structures < 0 || vibrations < 0 || angles < 0)
      throw std::invalid_argument("RunResults: negative count");
    const std::size_t pairs_by_atoms = static_cast<std::size_t>(vibrations) *
                                       static_cast<std::size_t>(structures) *
                                       static_cast<std::size_t>(atoms);
    hit_probability_.assign(pairs_by_atoms, 0.0f);
    block_yield_.assign(pairs_by_atoms * static_cast<std::size_t>(angles), 0.0f);
  }

  std::int32_t atom_count() const { return atoms_; }
  std::int32_t structure_count() const { return structures_; }
  std::int32_t vibration_count() const { return vibrations_; }
  std::int32_t angle_count() const { return angles_; }

  // Hitting probability of atom a in vibration model v and structure model s (1-based).
  float& hit_probability(std::int32_t v, std::int32_t s, std::int32_t a) {
    return hit_probability_[pair_atom_index(v, s, a)];
  }
  float hit_probability(std::int32_t v, std::int32_t s, std::int32_t a) const {
    return hit_probability_[pair_atom_index(v, s, a)];
  }
  // Blocked yield of atom a at detection angle j.
  float& block_yield(std::int32_t v, std::int32_t s, std::int32_t a, std::int32_t j) {
    return block_yield_[yield_index(v, s, a, j)];
  }
  float block_yield(std::int32_t v, std::int32_t s, std::int32_t a, std::int32_t j) const {
    return block_yield_[yield_index(v, s, a, j)];
  }

  double overlayer_deflection_sum = 0.0;  // sum of squared overlayer deflection angles, rad^2
  // Ions started by the shadowing run and all blocking runs together; 64-bit, since the sum
  // over many angles of a fine run can pass 2^31.
  std::int64_t total_ions = 0;

  bool operator==(const RunResults&) const = default;

 private:
  static void require(std::int32_t index, std::int32_t count, const char* what) {
    if (index < 1 || index > count)
      throw std::out_of_range(std::string("RunResults: ") + what + " " + std::to_string(index) +
                              " outside 1.." + std::to_string(count));
  }
  // Vibration model varies fastest, then structure model, then atom (then angle).
  std::size_t pair_atom_index(std::int32_t v, std::int32_t s, std::int32_t a) const {
    require(v, vibrations_, "vibration model");
    require(s, structures_, "structure model");
    require(a, atoms_, "atom");
    return (static_cast<std::size_t>(a - 1) * static_cast<std::size_t>(structures_) +
            static_cast<std::size_t>(s - 1)) *
               static_cast<std::size_t>(vibrations_) +
           static_cast<std::size_t>(v - 1);
  }
  std::size_t yield_index(std::int32_t v, std::int32_t s, std::int32_t a, std::int32_t j) const {
    const std::size_t inner = pair_atom_index(v, s, a);
    require(j, angles_, "detection angle");
    return static_cast<std::size_t>(j - 1) * hit_probability_.size() + inner;
  }

  std::int32_t atoms_ = 0, structures_ = 0, vibrations_ = 0, angles_ = 0;
  std::vector<float> hit_probability_;
  std::vector<float> block_yield_;
};

}  // namespace polysim
