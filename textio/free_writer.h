// Free-form (list-directed) writing of one output line: the line begins with one blank, text
// items follow one another without separators, and every number is preceded by at least one
// blank, laid out as a standard Fortran runtime lays out list-directed output.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace textio {

class FreeLine {
 public:
  FreeLine& operator<<(std::string_view text);
  FreeLine& operator<<(std::int32_t number);
  FreeLine& operator<<(std::int64_t number);
  FreeLine& operator<<(float number);

  // The finished line, ending in '\n'. A line without items is empty, as an empty
  // list-directed write leaves it.
  std::string str() const;

 private:
  enum class Item { none, text, number };
  // The opening blank before the first item; one blank between later items, except between
  // two text items.
  void separate(Item next);

  std::string text_;
  Item last_ = Item::none;
};

}  // namespace textio
