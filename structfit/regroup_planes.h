// Regrouping the atoms of a crystal into planes along one axis after their positions moved:
// the cell indices, the edge list and its count follow the new positions.
#pragma once

#include "structfit/base_crystal.h"

namespace structfit {

// Atoms closer than the tolerance (0.7 Å at first) along `axis` (0 x, 1 y, 2 z) share a plane;
// the tolerance shrinks by 0.9 until the lowest plane spans no more than it. Each plane's
// edge entry is the mean coordinate of its atoms; everything is then shifted so that the
// lowest plane lies at 0. N3+axis becomes the plane count and N6+axis one more.
void regroup_planes(BaseCrystal& crystal, int axis);

}  // namespace structfit
