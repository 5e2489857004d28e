// In-process use of the GL call recorder.
//
// A test executable that links the target kovrin_gltrace_inproc defines the
// recorded GL entry points itself; they take precedence over libGL's for every
// call made from the executable (and from the static libraries linked into
// it), record the call and forward it to the real function. Between
// StartCapture and StopCapture every such call is kept in memory, in the same
// line format as a trace file (see gltrace_recorder.cpp), without a frame
// limit; kovrin::test::gltrace::ParseTrace (gltrace_reader.h) reads it back.
#pragma once

#include <string>

namespace kovrin::test::gltrace {

// Starts keeping every recorded call; a capture already running is restarted
// empty.
void StartCapture();
// Stops keeping calls and hands over what was kept.
std::string StopCapture();

}  // namespace kovrin::test::gltrace
