// An open spectrum file: its counts dataset and the description read and checked from it.
#pragma once

#include <hdf5.h>

#include <string>
#include <string_view>

#include "zq/description.h"
#include "zq/h5_handle.h"

namespace zq {

enum class Access { read, write };

class SpectrumFile {
 public:
  // Opens the named spectrum of the connected experiment: ZQ_ENOSPECTRUM when it does not
  // exist, ZQ_EDAMAGED when the file does not hold a well-formed spectrum. Reading never
  // opens a file for writing.
  SpectrumFile(std::string_view name, Access access);

  const std::string& name() const { return name_; }
  const Description& description() const { return description_; }
  hid_t file() const { return file_.id(); }
  hid_t counts() const { return counts_.id(); }

  // Closes the dataset and the file, reporting a failure; every write ends with it so that
  // the file on disk is complete when the call returns.
  void close();

 private:
  void open(Access access);
  void read_description();
  [[noreturn]] void damaged(const std::string& what) const;

  std::string name_;
  std::string path_;
  h5::Handle file_;
  h5::Handle counts_;
  Description description_;
};

}  // namespace zq
