// The pristine experiment store every store and tool case starts from: a few spectra made
// once with `specstore import` and `specstore record`, copied into each case.
#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "case_context.h"

namespace fuzz {

struct TemplateSpectrum {
  std::string name;
  int dims = 1;
  int n1 = 1;  // channels on axis 1
  int n2 = 1;  // channels on axis 2 (two-dimensional spectra)
  int type = 4;
  std::vector<std::pair<std::string, std::string>> records;  // ("calibration 1", text)
};

std::span<const TemplateSpectrum> template_spectra();
const TemplateSpectrum& template_spectrum(const std::string& name);

// The import text of a template spectrum: one line per axis-2 channel.
std::string template_counts(const TemplateSpectrum& spectrum);

// Builds the store in `dir`; throws std::runtime_error when specstore fails on it.
void build_template(const Settings& settings, const std::filesystem::path& dir);

// Copies every spectrum file of the template into `to`, which is created.
void copy_template(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace fuzz
