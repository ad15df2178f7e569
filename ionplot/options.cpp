// Parsing ionplot's options and positional arguments.
#include "ionplot/options.h"

#include <cstdio>

namespace ionplot {

namespace {

[[noreturn]] void refuse(const std::string& why) {
  throw PlotError(why + "\n" + kUsage);
}

Kind kind_of(const std::string& word) {
  const std::pair<const char*, Kind> kinds[] = {{"blocking", Kind::blocking},
                                                {"hitting", Kind::hitting},
                                                {"skew", Kind::skew},
                                                {"rfactor", Kind::rfactor},
                                                {"spectrum", Kind::spectrum}};
  for (const auto& [name, kind] : kinds)
    if (word == name) return kind;
  refuse("unknown kind of plot '" + word + "'");
}

Breakdown breakdown_of(const std::string& word) {
  if (word == "total") return Breakdown::total;
  if (word == "element") return Breakdown::element;
  if (word == "layer") return Breakdown::layer;
  refuse("--by takes total, element or layer, not '" + word + "'");
}

void size_of(const std::string& word, Picture& p) {
  char x = 0, extra = 0;
  if (std::sscanf(word.c_str(), "%d%c%d%c", &p.width, &x, &p.height, &extra) != 3 || x != 'x' ||
      p.width < 16 || p.height < 16 || p.width > 10000 || p.height > 10000)
    refuse("--size takes WIDTHxHEIGHT in pixels (16 to 10000), not '" + word + "'");
}

}  // namespace

Options parse_options(const std::vector<std::string>& args) {
  Options o;
  std::vector<std::string> positional;
  bool svg = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) refuse(a + " needs a value");
      return args[++i];
    };
    if (a == "--svg")
      svg = true;
    else if (a == "--csv")
      o.csv = value();
    else if (a == "--size")
      size_of(value(), o.picture);
    else if (a == "--title")
      o.picture.title = value();
    else if (a == "--by")
      o.by = breakdown_of(value());
    else if (a.rfind("--", 0) == 0)
      refuse("unknown option " + a);
    else
      positional.push_back(a);
  }
  if (positional.size() < 3) refuse("a kind of plot, an output file and a source are needed");
  o.kind = kind_of(positional[0]);
  o.picture.output = positional[1];
  o.sources.assign(positional.begin() + 2, positional.end());
  const std::string& out = o.picture.output;
  if (svg || (out.size() > 4 && out.compare(out.size() - 4, 4, ".svg") == 0))
    o.picture.format = Format::svg;
  if ((o.kind == Kind::rfactor || o.kind == Kind::spectrum) && o.sources.size() != 1)
    refuse("rfactor and spectrum plots take one source");
  return o;
}

}  // namespace ionplot
