// A small picture of every accepted kind: the truncation test cuts them, the
// fuzz seed corpus is written from them.
#pragma once

#include <string_view>
#include <vector>

#include "tests/bmp/bmp_builder.h"

namespace kovrin::test::bmp {

struct Sample {
  const char* name;
  BmpShape shape;
};

const std::vector<Sample>& Samples();
const Sample& SampleNamed(std::string_view name);

}  // namespace kovrin::test::bmp
