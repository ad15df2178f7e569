// An open spectrum file: its counts dataset and the description read and checked from it.
#pragma once

#include <hdf5.h>

#include <string>
#include <string_view>

#include "zq/description.h"
#include "zq/h5_handle.h"

namespace zq {

class SpectrumFile {
 public:
  // Opens the named spectrum of the connected experiment: the hidden file when this process
  // holds it, else the spectrum's file read-only. ZQ_ENOSPECTRUM when it does not exist,
  // ZQ_EDAMAGED when the file is a symbolic link or does not hold a well-formed spectrum.
  explicit SpectrumFile(std::string_view name);
  // The spectrum in `file`, an open file its owner keeps.
  SpectrumFile(std::string_view name, hid_t file);

  const std::string& name() const { return name_; }
  const Description& description() const { return description_; }
  hid_t file() const { return file_id_; }
  hid_t counts() const { return counts_.id(); }

  // Closes what this object opened, reporting a failure.
  void close();

 private:
  void open_placed();
  void read_description();
  [[noreturn]] void damaged(const std::string& what) const;

  std::string name_;
  std::string path_;
  h5::Handle owned_file_;
  hid_t file_id_ = H5I_INVALID_HID;
  h5::Handle counts_;
  Description description_;
};

}  // namespace zq
