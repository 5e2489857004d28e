// A small picture of every accepted kind: the truncation test cuts them, the
// fuzz seed corpus is written from them.
#pragma once

#include <string_view>
#include <vector>

#include "bmp_builder.h"

namespace bmptest {

struct Sample {
  const char* name;
  BmpShape shape;
};

const std::vector<Sample>& Samples();
const Sample& SampleNamed(std::string_view name);

}  // namespace bmptest
