// Copying a spectrum into a held file and changing it there.
#include "zq/spectrum_change.h"

#include <string>

#include "zq/block_transfer.h"
#include "zq/experiment.h"
#include "zq/records.h"
#include "zq/spectrum_create.h"

namespace zq {
namespace {

// The whole spectrum `from` (counts, description and records) into the empty `file`.
void copy_spectrum(const SpectrumFile& from, hid_t file) {
  write_layout(file, from.description(), "copying spectrum '" + from.name() + "'");
  SpectrumFile to(from.name(), file);
  copy_counts(from, to);
  copy_records(from, file);
  to.close();
}

}  // namespace

void change_spectrum(std::string_view name, const SpectrumStep& check, const SpectrumStep& change) {
  Experiment& store = experiment();
  const std::filesystem::path target = store.spectrum_path(name);
  Changes& changes = store.changes();
  if (!changes.find(name)) {
    // Only read, so its closing has nothing to report.
    const SpectrumFile placed(name);
    check(placed);
    changes.start(name, target, [&](hid_t file) { copy_spectrum(placed, file); });
  }
  try {
    SpectrumFile held(name);
    check(held);
    change(held);
    held.close();
  } catch (...) {
    changes.settle(name, false);
    throw;
  }
  changes.settle(name, true);
}

}  // namespace zq
