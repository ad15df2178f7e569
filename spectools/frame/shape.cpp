// Inquiry of a spectrum's description and the tools' dimension checks.
#include "spectools/frame/shape.h"

#include "spectools/frame/failures.h"

namespace spectools {

long long Shape::channels() const {
  long long count = 1;
  for (int axis = 0; axis < dim && axis < ZQ_MAX_DIM; ++axis) count *= ranges[axis];
  return count;
}

int inquire(const std::string& spectrum, Shape& shape) {
  return ZQinquireSpectrum(spectrum.c_str(), &shape.dim, shape.bases.data(), shape.ranges.data(),
                           &shape.layout, &shape.type);
}

Shape inquire_spectrum(const std::string& spectrum) {
  Shape shape;
  if (inquire(spectrum, shape) != 0) library_failed(spectrum);
  return shape;
}

void require_two_dimensional(const Shape& shape) {
  if (shape.dim != 2) notimplemented("spectrum not two dimensional");
}

void require_one_or_two_dimensional(const Shape& shape) {
  if (shape.dim != 1 && shape.dim != 2) {
    notimplemented("spectrum neither one or two dimensional");
  }
}

void require_one_dimensional(const Shape& shape) {
  if (shape.dim != 1) notimplemented("spectrum not one dimensional");
}

}  // namespace spectools
