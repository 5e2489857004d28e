#include "platform/platform.h"

// The programs take no options: whatever the command line holds, the run is
// the same, so it is not handed on.
int main() {
  static char emptyCommandLine[] = "";
  constexpr int kShowDefault = 10;
  return WinMain(nullptr, nullptr, emptyCommandLine, kShowDefault);
}
