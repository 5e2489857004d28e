// Writes the fuzz seed corpus: one file per sample, named after it.
//   make_bmp_corpus tests/bmp/corpus
#include <cstdio>
#include <fstream>
#include <string>

#include "tests/bmp/bmp_samples.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
    return 2;
  }
  for (const kovrin::test::bmp::Sample& sample : kovrin::test::bmp::Samples()) {
    const std::vector<uint8_t> bytes = kovrin::test::bmp::BuildBmp(sample.shape);
    const std::string path = std::string(argv[1]) + "/" + sample.name + ".bmp";
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
