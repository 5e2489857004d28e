// The generator's own sine and exponential agree with the C library to
// well below what an 8-bit channel can show, across the ranges it uses.
#include <gtest/gtest.h>

#include <cmath>

#include "tools/assets/portable_math.h"

using namespace kovrin::assets;

namespace {

TEST(PortableMath, SineAndCosineMatchTheLibrary) {
  for (double x = -40.0; x <= 40.0; x += 0.0137) {
    EXPECT_NEAR(Sin(x), std::sin(x), 1e-12) << "sin(" << x << ")";
    EXPECT_NEAR(Cos(x), std::cos(x), 1e-12) << "cos(" << x << ")";
  }
}

TEST(PortableMath, ExponentialMatchesTheLibraryRelatively) {
  for (double x = -60.0; x <= 30.0; x += 0.0173) {
    EXPECT_NEAR(Exp(x) / std::exp(x), 1.0, 1e-13) << "exp(" << x << ")";
  }
  EXPECT_EQ(Exp(-1000.0), 0.0);
  EXPECT_TRUE(std::isfinite(Exp(1000.0))) << "large arguments are capped, not infinite";
}

struct StepCase {
  double edge0, edge1, x, expected;
};

TEST(PortableMath, SmoothstepRisesAndFallsBetweenItsEdges) {
  const StepCase cases[] = {
      {0.0, 1.0, -1.0, 0.0}, {0.0, 1.0, 0.5, 0.5}, {0.0, 1.0, 2.0, 1.0},
      {1.0, 0.0, 0.0, 1.0},  {1.0, 0.0, 1.0, 0.0}, {2.0, 4.0, 3.0, 0.5},
  };
  for (const StepCase& c : cases) {
    EXPECT_DOUBLE_EQ(Smoothstep(c.edge0, c.edge1, c.x), c.expected)
        << "smoothstep(" << c.edge0 << ", " << c.edge1 << ", " << c.x << ")";
  }
}

}  // namespace
