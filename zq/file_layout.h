// Names inside a spectrum file. The counts are one dataset whose dimensions are the axes in
// order (axis 1 first); the description and the records are attributes of the root group.
#pragma once

namespace zq::layout {

inline constexpr const char* kCounts = "counts";
inline constexpr const char* kBases = "bases";    // int32[dim], first channel per axis
inline constexpr const char* kLayout = "layout";  // int32, the caller's layout code
inline constexpr const char* kType = "type";      // int32, type code of the counts

}  // namespace zq::layout
