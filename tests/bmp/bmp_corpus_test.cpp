// The committed fuzz seeds are the samples as the builder writes them today,
// and each of them decodes.
#include <filesystem>
#include <fstream>
#include <iterator>

#include "bmp_samples.h"
#include "bmp_test_util.h"

namespace bmptest {
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
}  // namespace bmptest
