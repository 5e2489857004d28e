#include "config_file.h"

#include "results_table.h"

namespace launcher {

std::string ConfigFileText(int resIndex, int depthIndex) {
  const std::string crlf = "\r\n";
  return "GL_RESX=" + std::to_string(ResolutionWidth(resIndex)) + ";" + crlf +
         "GL_RESY=" + std::to_string(ResolutionHeight(resIndex)) + ";" + crlf +
         "GL_BITDEPTH=" + std::to_string(DepthBits(depthIndex)) + ";" + crlf;
}

}  // namespace launcher
