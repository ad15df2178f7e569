// Three-vectors and 3 x 3 matrices in double precision for the crystallography of the slab
// builder (lengths in Å).
#pragma once

#include <array>
#include <cmath>

namespace slabgen {

using Vec3 = std::array<double, 3>;

inline Vec3 operator+(const Vec3& a, const Vec3& b) {
  return {a[0] + b[0], a[1] + b[1], a[2] + b[2]};
}
inline Vec3 operator-(const Vec3& a, const Vec3& b) {
  return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}
inline Vec3 operator*(double s, const Vec3& a) {
  return {s * a[0], s * a[1], s * a[2]};
}
inline double dot(const Vec3& a, const Vec3& b) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
inline Vec3 cross(const Vec3& a, const Vec3& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
inline double norm(const Vec3& a) {
  return std::sqrt(dot(a, a));
}
inline Vec3 unit(const Vec3& a) {
  return (1.0 / norm(a)) * a;
}

// Columns are the three cell axes: cart = axes * fractional.
struct Axes {
  Vec3 a1, a2, a3;
  Vec3 to_cartesian(const Vec3& f) const { return f[0] * a1 + f[1] * a2 + f[2] * a3; }
  // Fractional coordinates of a Cartesian vector (by the reciprocal axes).
  Vec3 to_fractional(const Vec3& r) const {
    const double volume = dot(a1, cross(a2, a3));
    return {dot(r, cross(a2, a3)) / volume, dot(r, cross(a3, a1)) / volume,
            dot(r, cross(a1, a2)) / volume};
  }
  // The normal of the lattice plane (hkl): h b1 + k b2 + l b3, b the reciprocal axes.
  Vec3 plane_normal(const Vec3& hkl) const {
    const double volume = dot(a1, cross(a2, a3));
    return (1.0 / volume) *
           (hkl[0] * cross(a2, a3) + hkl[1] * cross(a3, a1) + hkl[2] * cross(a1, a2));
  }
};

}  // namespace slabgen
