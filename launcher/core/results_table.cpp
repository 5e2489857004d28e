#include "launcher/core/results_table.h"

namespace kovrin::launcher {

std::string_view ProgramName(TestProgram test) { return test == TestProgram::Quillfire ? "Quillfire" : "Lumavane"; }

int ResolutionWidth(int resIndex) {
  switch (resIndex) {
    case 1:
      return 640;
    case 2:
      return 1024;
    default:
      return 1600;
  }
}

int ResolutionHeight(int resIndex) {
  switch (resIndex) {
    case 1:
      return 480;
    case 2:
      return 768;
    default:
      return 1200;
  }
}

int DepthBits(int depthIndex) { return depthIndex == 1 ? 16 : 32; }

}  // namespace kovrin::launcher
