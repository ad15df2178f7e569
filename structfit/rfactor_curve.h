// A blocking curve as the R-factor compares it: exit angle (degrees) and intensity per point.
#pragma once

#include <vector>

namespace structfit {

struct CurvePoint {
  float angle = 0.0f;      // exit angle, degrees
  float intensity = 0.0f;  // measured counts or combined simulated signal
};

using Curve = std::vector<CurvePoint>;

// Measured and simulated curves are read up to this many points.
inline constexpr int kMaxCurvePoints = 400;

}  // namespace structfit
