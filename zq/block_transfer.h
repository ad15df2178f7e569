// Moving a block's counts between a spectrum file and a caller's buffer, converted between
// the stored type and the buffer's type and reordered between the file's order and the
// caller's.
#pragma once

#include "zq/blocks.h"
#include "zq/spectrum_file.h"

namespace zq {

// `block` has passed check_block and holds at least one element; `type` is the buffer's
// valid type code. A value that does not fit its target type throws ZQ_ECONVERT naming
// the channel; a refused write leaves the file unchanged.
void read_counts(const SpectrumFile& file, const Block& block, void* buffer, int type);
void write_counts(const SpectrumFile& file, const Block& block, const void* buffer, int type);

// All counts of `from` into `to`, a spectrum of the same description, in the stored type.
void copy_counts(const SpectrumFile& from, const SpectrumFile& to);

}  // namespace zq
