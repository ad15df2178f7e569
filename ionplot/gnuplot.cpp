// gnuplot scripts with the data inline ($data << EOD blocks), so that no temporary file is
// needed; texts are single-quoted (no escapes) and drawn without enhanced-text markup, so
// that underscores in parameter names stay underscores.
#include "ionplot/gnuplot.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace ionplot {

namespace {

std::string quoted(const std::string& text) {
  std::string out = "'";
  for (char ch : text) {
    if (ch == '\n') continue;
    out += ch == '\'' ? std::string("''") : std::string(1, ch);
  }
  return out + "'";
}

std::string terminal(const Picture& p) {
  std::ostringstream s;
  s << (p.format == Format::png ? "set terminal pngcairo" : "set terminal svg") << " size "
    << p.width << "," << p.height << " noenhanced font 'Sans,10'\n"
    << "set output " << quoted(p.output) << "\n";
  return s.str();
}

// Terminal, output and labels; the picture's title replaces the plot's when given.
template <typename Plot>
std::string preamble(const Picture& p, const Plot& plot) {
  return terminal(p) + "set title " + quoted(p.title.empty() ? plot.title : p.title) +
         "\nset xlabel " + quoted(plot.x_label) + "\nset ylabel " + quoted(plot.y_label) + "\n";
}

}  // namespace

std::string gnuplot_script(const CurvePlot& plot, const Picture& picture) {
  std::ostringstream s;
  s.precision(9);
  s << preamble(picture, plot) << "set grid\nset key outside bottom center horizontal maxrows 6\n";
  for (std::size_t i = 0; i < plot.series.size(); ++i) {
    s << "$d" << i << " << EOD\n";
    for (std::size_t k = 0; k < plot.series[i].x.size(); ++k)
      s << plot.series[i].x[k] << " " << plot.series[i].y[k] << "\n";
    s << "EOD\n";
  }
  s << "plot ";
  for (std::size_t i = 0; i < plot.series.size(); ++i)
    s << (i ? ", \\\n     " : "") << "$d" << i << " using 1:2 with "
      << (plot.series[i].points ? "points pt 7 ps 0.6" : "linespoints pt 7 ps 0.4") << " title "
      << quoted(plot.series[i].name);
  s << "\n";
  return s.str();
}

std::string gnuplot_script(const HeatMap& map, const Picture& picture) {
  std::ostringstream s;
  s.precision(9);
  s << preamble(picture, map)
    << "set cblabel 'Counts'\nset palette rgbformulae 33,13,10\nset autoscale fix\n";
  s << "$map << EOD\n";
  for (std::size_t j = 0; j < map.y.size(); ++j) {
    for (std::size_t i = 0; i < map.x.size(); ++i)
      s << map.x[i] << " " << map.y[j] << " " << map.z[j * map.x.size() + i] << "\n";
    s << "\n";
  }
  s << "EOD\nplot $map using 1:2:3 with image notitle\n";
  return s.str();
}

std::string find_gnuplot() {
  const char* path = std::getenv("PATH");
  std::istringstream dirs(path ? path : "");
  for (std::string dir; std::getline(dirs, dir, ':');) {
    if (dir.empty()) continue;
    const std::filesystem::path candidate = std::filesystem::path(dir) / "gnuplot";
    if (access(candidate.c_str(), X_OK) == 0) return candidate.string();
  }
  throw PlotError("gnuplot not found on PATH: install it (Debian package gnuplot-nox)");
}

Gnuplot::Gnuplot(const std::string& program) {
  std::string command = "exec '";
  for (char ch : program) command += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
  command += "'";
  pipe_ = popen(command.c_str(), "w");
  if (pipe_ == nullptr) throw PlotError("cannot start " + program);
}

Gnuplot::~Gnuplot() {
  if (pipe_ != nullptr) pclose(pipe_);
}

void Gnuplot::send(const std::string& script) {
  if (std::fwrite(script.data(), 1, script.size(), pipe_) != script.size())
    throw PlotError("gnuplot stopped reading its script");
}

void Gnuplot::finish() {
  const int status = pclose(pipe_);
  pipe_ = nullptr;
  if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    throw PlotError("gnuplot failed (exit status " +
                    std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + ")");
}

void draw(const std::string& script, const std::string& output) {
  std::error_code ignored;
  std::filesystem::remove(output, ignored);  // so that a stale picture is never taken as new
  Gnuplot gnuplot(find_gnuplot());
  gnuplot.send(script);
  gnuplot.finish();
  const auto size = std::filesystem::file_size(output, ignored);
  if (ignored || size == 0) throw PlotError("gnuplot wrote no picture to " + output);
}

}  // namespace ionplot
