#include "tests/scenes/call_stream.h"

#include <GL/gl.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "tests/gltrace/gltrace_format.h"

namespace kovrin::test::scenes {

namespace {

std::string ArgText(const Arg& a) {
  char text[32];
  switch (a.kind) {
    case Arg::Kind::Float:
      std::snprintf(text, sizeof text, "%.9g", static_cast<double>(a.f));
      return text;
    case Arg::Kind::Enum:
      std::snprintf(text, sizeof text, "0x%04llX", static_cast<unsigned long long>(a.i));
      return text;
    case Arg::Kind::Int:
      return std::to_string(a.i);
    case Arg::Kind::Any:
      break;
  }
  return "*";
}

std::string CallText(const ExpectedCall& c) {
  std::string text = c.name;
  for (const Arg& a : c.args) text += " " + ArgText(a);
  return text;
}

bool ArgMatches(const kovrin::test::gltrace::Call& call, std::size_t k, const Arg& a) {
  switch (a.kind) {
    case Arg::Kind::Float:
      return call.Float(k) == a.f;
    case Arg::Kind::Enum:
      return call.Enum(k) == static_cast<uint32_t>(a.i);
    case Arg::Kind::Int:
      return call.Int(k) == a.i;
    case Arg::Kind::Any:
      return k < call.args.size();
  }
  return false;
}

bool Matches(const kovrin::test::gltrace::Call& call, const ExpectedCall& expected) {
  if (call.name != expected.name || call.args.size() != expected.args.size()) return false;
  try {
    for (std::size_t k = 0; k < expected.args.size(); ++k) {
      if (!ArgMatches(call, k, expected.args[k])) return false;
    }
  } catch (const std::runtime_error&) {
    return false;  // an argument of another kind than expected
  }
  return true;
}

}  // namespace

std::string FirstDifference(const Stream& expected, const std::vector<kovrin::test::gltrace::Call>& recorded) {
  const std::size_t common = std::min(expected.size(), recorded.size());
  for (std::size_t k = 0; k < common; ++k) {
    if (!Matches(recorded[k], expected[k])) {
      return "call " + std::to_string(k) + " of the frame: expected \"" + CallText(expected[k]) + "\", recorded \"" +
             recorded[k].Text() + "\" (trace line " + std::to_string(recorded[k].line) + ")";
    }
  }
  if (expected.size() > recorded.size()) {
    return "the frame ends after " + std::to_string(recorded.size()) + " calls; expected next: \"" +
           CallText(expected[recorded.size()]) + "\" (" + std::to_string(expected.size()) + " calls expected)";
  }
  if (recorded.size() > expected.size()) {
    return "the frame goes on after the " + std::to_string(expected.size()) + " expected calls with \"" +
           recorded[expected.size()].Text() + "\" (trace line " + std::to_string(recorded[expected.size()].line) + ")";
  }
  return {};
}

Stream ExpectedTitle(std::string_view title) {
  Stream s;
  s.push_back({"glLoadIdentity", {}});
  s.push_back({"glTranslatef", {F(-20.0f), F(-40.0f), F(-120.0f)}});
  s.push_back({"glEnable", {E(GL_BLEND)}});
  s.push_back({"glDisable", {E(GL_DEPTH_TEST)}});
  s.push_back({"glBlendFunc", {E(GL_ONE), E(GL_ONE)}});
  for (const char c : title) {
    const auto u = static_cast<unsigned char>(c);
    if (std::isalnum(u) != 0 || c == ' ') s.push_back({"glTranslatef", {F(1.2f), F(0.0f), F(0.0f)}});
    if (std::isalnum(u) != 0) {
      s.push_back({"glBindTexture", {E(GL_TEXTURE_2D), Any()}});
      s.push_back({"glCallList", {Any()}});
    }
  }
  s.push_back({"glEnable", {E(GL_DEPTH_TEST)}});
  s.push_back({"glDisable", {E(GL_BLEND)}});
  return s;
}

std::vector<kovrin::test::gltrace::Call> FrameCalls(const kovrin::test::gltrace::Trace& trace, std::size_t index) {
  if (index >= trace.frames.size()) return {};
  return kovrin::test::gltrace::FromLast(trace.frames[index], "glClear");
}

std::vector<uint32_t> TexturesByPixels(const kovrin::test::gltrace::Trace& trace,
                                       const std::vector<uint32_t>& digests) {
  std::vector<uint32_t> names(digests.size(), 0);
  uint32_t bound = 0;
  for (const kovrin::test::gltrace::Call& call : trace.AllCalls()) {
    if (call.name == "glBindTexture") bound = static_cast<uint32_t>(call.Int(1));
    if (call.name != "glTexImage2D" || call.args.size() < 9) continue;
    const std::string& px = call.args[8];
    if (px.rfind("px:", 0) != 0) continue;
    const auto digest = static_cast<uint32_t>(std::strtoul(px.c_str() + 3, nullptr, 16));
    for (std::size_t k = 0; k < digests.size(); ++k) {
      if (digests[k] == digest && names[k] == 0) {
        names[k] = bound;
        break;
      }
    }
  }
  return names;
}

int TitleOrigins(const std::vector<kovrin::test::gltrace::Call>& calls) {
  int origins = 0;
  for (const kovrin::test::gltrace::Call& call : calls) {
    if (call.name == "glTranslatef" && call.Float(0) == -20.0f && call.Float(1) == -40.0f && call.Float(2) == -120.0f) {
      ++origins;
    }
  }
  return origins;
}

TrackedState StateAfterFrame(const kovrin::test::gltrace::Trace& trace, std::size_t index) {
  TrackedState state;
  for (std::size_t f = 0; f <= index && f < trace.frames.size(); ++f) {
    for (const kovrin::test::gltrace::Call& call : trace.frames[f]) {
      const bool enable = call.name == "glEnable";
      if (enable || call.name == "glDisable") {
        if (call.Enum(0) == GL_DEPTH_TEST) state.depthTest = enable;
        if (call.Enum(0) == GL_BLEND) state.blend = enable;
      } else if (call.name == "glBlendFunc") {
        state.blendSource = call.Enum(0);
        state.blendDestination = call.Enum(1);
      }
    }
  }
  return state;
}

}  // namespace kovrin::test::scenes

namespace kovrin::test::scenes {

TraceRecording RecordFrames(const std::string& program, const std::vector<NamedTexture>& textures,
                            const std::vector<Rgb>& colours, int width, int height, int frames) {
  const RunFolder runFolder(textures);
  const std::string& folder = runFolder.Path();
  kovrin::test::RunOptions o = ProbeRun(program, folder, width, height, frames);
  const std::string traceFile = folder + "/frames.trace";
  AddRecorder(o, traceFile, frames);
  TraceRecording r;
  r.run = kovrin::test::RunProgram(o);
  if (auto trace = kovrin::test::gltrace::ReadTraceFile(traceFile)) r.trace = std::move(*trace);
  std::vector<uint32_t> digests;
  for (const Rgb& colour : colours) {
    digests.push_back(kovrin::test::gltrace::DigestOf(SolidPixels(kTextureSide, kTextureSide, colour)));
  }
  r.textures = TexturesByPixels(r.trace, digests);
  return r;
}

}  // namespace kovrin::test::scenes
