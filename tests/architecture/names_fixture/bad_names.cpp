#include "score.h"
#include "ui_frmMain.h"
#include "launcher/core/score.h"

namespace plat {
namespace {
int  Badly_Formatted( ) {return 1;}
}  // namespace
}  // namespace plat

namespace kovrin::cli {}
