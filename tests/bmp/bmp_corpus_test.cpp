// The committed fuzz seeds are the samples as the builder writes them today,
// and each of them decodes.
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/bmp/bmp_samples.h"
#include "tests/bmp/bmp_test_util.h"

using kovrin::framework::BmpResult;

namespace kovrin::test::bmp {
namespace {

namespace fs = std::filesystem;

TEST(bmpSeedCorpus, HoldsEverySampleAsBuilt) {
  const fs::path corpus = fs::path(KOVRIN_SOURCE_DIR) / "tests" / "bmp" / "corpus";
  for (const Sample& sample : Samples()) {
    std::ifstream in(corpus / (std::string(sample.name) + ".bmp"), std::ios::binary);
    const std::vector<uint8_t> seed{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(seed, BuildBmp(sample.shape))
        << sample.name << ": seed missing or stale; rebuild with make_bmp_corpus " << corpus;
    const BmpResult result = Decode(seed);
    EXPECT_NE(result.image, nullptr) << sample.name << ": " << ErrorName(result.error);
  }
}

}  // namespace
}  // namespace kovrin::test::bmp
