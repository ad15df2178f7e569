// Record layout of the restart dump; one list of fields serves writing and reading.
#include "structfit/domin_dump.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace structfit {
namespace {

static_assert(std::endian::native == std::endian::little, "the dump is little-endian");

class RecordWriter {
 public:
  void item(std::int32_t& v) { put(&v, sizeof v); }
  void item(float& v) { put(&v, sizeof v); }
  void items(std::vector<float>& v) { put(v.data(), v.size() * sizeof(float)); }
  void end_record() {
    const auto length = static_cast<std::int32_t>(record_.size());
    bytes_.append(reinterpret_cast<const char*>(&length), sizeof length);
    bytes_ += record_;
    bytes_.append(reinterpret_cast<const char*>(&length), sizeof length);
    record_.clear();
  }
  const std::string& bytes() const { return bytes_; }

 private:
  void put(const void* p, std::size_t size) { record_.append(static_cast<const char*>(p), size); }
  std::string record_, bytes_;
};

class RecordReader {
 public:
  RecordReader(std::string bytes, std::string path)
      : bytes_(std::move(bytes)), path_(std::move(path)) {}
  void item(std::int32_t& v) { get(&v, sizeof v); }
  void item(float& v) { get(&v, sizeof v); }
  void items(std::vector<float>& v) { get(v.data(), v.size() * sizeof(float)); }
  void end_record() {
    if (!open_) begin();  // an empty record
    std::int32_t trailer = 0;
    take(&trailer, sizeof trailer);
    if (trailer != length_ || used_ != length_) fail("a record does not match its length");
    open_ = false;
  }

 private:
  void begin() {
    take(&length_, sizeof length_);
    used_ = 0;
    open_ = true;
  }
  void get(void* p, std::size_t size) {
    if (!open_) begin();
    used_ += static_cast<std::int32_t>(size);
    if (used_ > length_) fail("a record is shorter than the state needs");
    take(p, size);
  }
  void take(void* p, std::size_t size) {
    if (pos_ + size > bytes_.size()) fail("the file ends inside a record");
    std::memcpy(p, bytes_.data() + pos_, size);
    pos_ += size;
  }
  [[noreturn]] void fail(const std::string& why) const {
    throw RestartFileError("restart file " + path_ + ": " + why);
  }
  std::string bytes_, path_;
  std::size_t pos_ = 0;
  std::int32_t length_ = 0, used_ = 0;
  bool open_ = false;
};

// The records in file order; `check_n` runs after the record that gives n.
template <class IO, class CheckN>
void visit(IO& io, MinimizerState& st, std::vector<float>& scale, CheckN check_n) {
  std::int32_t reserved_i = 0;
  float reserved_r = 0.0F;
  io.item(st.protocol_flag), io.item(st.no_progress), io.item(reserved_i), io.item(st.start_mode),
      io.item(reserved_i), io.end_record();
  io.item(st.n), io.item(st.gradient_cost), io.end_record();
  check_n(st.n);
  for (std::int32_t* c : {&st.function_calls, &st.gradient_calls, &st.updates, &st.noupdates,
                          &st.restarts, &st.modsteps})
    io.item(*c);
  io.end_record();
  io.item(st.step), io.item(st.step_limit), io.end_record();
  const auto reals = [&io](std::initializer_list<float*> list) {
    for (float* v : list) io.item(*v);
    io.end_record();
  };
  reals({&st.f, &st.norm_x, &st.norm_d});
  reals({&st.sigma, &st.f_prev, &st.norm_x_prev});
  reals({&st.norm_d_prev, &st.sigma_prev, &st.f_trial, &st.dskal});
  reals({&st.search_result, &st.sigma_min, &st.sigma_max, &st.interpolation_low});
  reals({&st.extrapolation_bound, &st.delta, &st.angle, &st.step_scale});
  reals({&st.eps23_step, &st.eps23_gradient, &st.eps1000});
  reals({&st.eps, &st.tiny, &st.eps17});
  reals({&st.trace_a, &st.trace_ainv});
  reals({&st.sqrt_eps, &st.theta, &st.termination, &reserved_r});
  const auto vectors = [&io](std::initializer_list<std::vector<float>*> list) {
    for (std::vector<float>* v : list) io.items(*v);
    io.end_record();
  };
  vectors({&st.x, &st.d, &st.g, &st.x_prev, &st.d_prev, &st.g_prev, &st.s});
  vectors({&st.diag, &st.diag_backup, &st.z, &st.y, &st.start});
  vectors({&st.a, &st.b, &st.protocol});
  vectors({&scale});
}

}  // namespace

void write_restart_file(const std::string& path, const MinimizerState& st,
                        const std::vector<float>& scale) {
  RecordWriter writer;
  MinimizerState copy = st;
  std::vector<float> scale_copy = scale;
  visit(writer, copy, scale_copy, [](int) {});
  const std::string temporary = path + ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(writer.bytes().data(), static_cast<std::streamsize>(writer.bytes().size()));
    out.close();
    if (!out) throw RestartFileError("cannot write the restart file " + temporary);
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) throw RestartFileError("cannot rename " + temporary + " to " + path);
}

MinimizerState read_restart_file(const std::string& path, int n, std::vector<float>& scale) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw RestartFileError("cannot open the restart file " + path);
  RecordReader reader(std::string(std::istreambuf_iterator<char>(in), {}), path);
  MinimizerState st = make_minimizer_state(n, std::vector<float>(static_cast<std::size_t>(n)));
  scale.assign(static_cast<std::size_t>(n), 1.0F);
  visit(reader, st, scale, [&](int stored) {
    if (stored != n)
      throw RestartFileError("restart file " + path + " holds " + std::to_string(stored) +
                             " variables, not " + std::to_string(n));
  });
  return st;
}

}  // namespace structfit
