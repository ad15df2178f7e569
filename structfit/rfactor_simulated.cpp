// Free-form reading of a simulated curve, combining its element columns.
#include "structfit/rfactor_simulated.h"

#include <cstddef>
#include <optional>
#include <stdexcept>

#include "textio/errors.h"
#include "textio/free_reader.h"

namespace structfit {

namespace {

// The next point, or nothing when the record does not read or the file has ended.
std::optional<CurvePoint> read_point(textio::FreeReader& reader,
                                     const std::vector<std::int32_t>& include,
                                     const std::vector<float>& weights) {
  CurvePoint point;
  try {
    reader.begin();
    reader.read(point.angle, "angle");
    for (std::size_t m = 0; m < include.size(); ++m) {
      float value = 0.0f;
      reader.read(value, "element value");
      if (include[m] == 1) point.intensity += weights[m] * value;
    }
  } catch (const textio::ReadError&) {
    return std::nullopt;
  }
  return point;
}

}  // namespace

Curve read_simulated_curve(std::istream& in, const std::string& source_name,
                           const std::vector<std::int32_t>& include,
                           const std::vector<float>& weights) {
  if (weights.size() != include.size())
    throw std::invalid_argument("one weight per include flag is needed");
  textio::FreeReader reader(in, source_name);
  Curve curve;
  while (static_cast<int>(curve.size()) < kMaxCurvePoints) {
    const std::optional<CurvePoint> point = read_point(reader, include, weights);
    if (!point) break;
    curve.push_back(*point);
  }
  return curve;
}

}  // namespace structfit
