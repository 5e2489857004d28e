// SIGINT and SIGTERM as a request to end the run: noted by a handler, acted
// on by the message loop, so that the display is restored and no result of
// a cut-short run is left behind.
#pragma once

namespace kovrin::platform {

// Takes over SIGINT and SIGTERM unless they are ignored (a caller that
// ignores them keeps it so). Called when the window system comes up: before
// that there is no display to restore and the default ending is right.
void CatchEndingSignals();

}  // namespace kovrin::platform
