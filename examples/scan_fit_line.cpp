// Evaluates the objective of a fit set-up (bfgsin.dat in the working directory) along parameter
// 1 through its start value, once with one seed for every point and once with a fresh seed per
// point, and prints both curves, the mean and scatter of their second differences and whether the
// start point evaluated twice under one seed gives the identical R-factor. Usage, in a copy of
// examples/structfit: scan_fit_line <points> <spacing>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "structfit/fit_drivers.h"
#include "structfit/fit_setup.h"
#include "structfit/simulation_curves.h"

namespace {

// The objective at `x`: the middle model of parameter 1's combined curve.
float objective(const structfit::FitSetup& setup, std::int64_t seed, const std::vector<float>& x) {
  std::ostringstream quiet;
  polysim::LocalSimulator local;
  structfit::FitDrivers drivers(setup, structfit::SimulationCurves(setup, seed, quiet, local),
                                quiet,
                                {"scan_status.dat", "scan_rfactor.dat", "scan_rfactor2.dat"});
  float f = 0.0f;
  drivers.function_evaluation(x, f);
  return f;
}

// The mean of the second differences (the curvature of the line) and their rms scatter about
// it (the noise).
std::string second_differences(const std::vector<float>& r) {
  std::vector<double> d;
  for (std::size_t k = 1; k + 1 < r.size(); ++k)
    d.push_back(static_cast<double>(r[k - 1]) - 2.0 * r[k] + r[k + 1]);
  double mean = 0.0, scatter = 0.0;
  for (double v : d) mean += v / static_cast<double>(d.size());
  for (double v : d) scatter += (v - mean) * (v - mean) / static_cast<double>(d.size());
  std::ostringstream text;
  text << "mean " << mean << ", rms scatter " << std::sqrt(scatter);
  return text.str();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: scan_fit_line <points> <spacing>\n";
    return 1;
  }
  const int points = std::atoi(argv[1]);
  const float spacing = static_cast<float>(std::atof(argv[2]));
  std::ostringstream echo;
  const structfit::FitSetup setup = structfit::read_fit_setup("bfgsin.dat", echo);
  std::vector<float> x;
  for (const structfit::FitParameter& p : setup.parameters) x.push_back(p.guess);
  const std::int64_t seed = 1;
  std::vector<float> same, fresh;
  const auto start = std::chrono::steady_clock::now();
  for (int k = 0; k < points; ++k) {
    std::vector<float> at = x;
    at[0] += static_cast<float>(k - points / 2) * spacing;
    same.push_back(objective(setup, seed, at));
    fresh.push_back(objective(setup, seed + 1 + k, at));
    std::cout << at[0] << "  " << same.back() << "  " << fresh.back() << std::endl;
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const bool identical = objective(setup, seed, x) == same[static_cast<std::size_t>(points / 2)];
  std::cout << "second differences, one seed:    " << second_differences(same) << "\n"
            << "second differences, fresh seeds: " << second_differences(fresh) << "\n"
            << "start point twice under one seed identical: " << (identical ? "yes" : "no") << "\n"
            << "seconds per evaluation: " << seconds / (2.0 * points) << "\n";
  return 0;
}
