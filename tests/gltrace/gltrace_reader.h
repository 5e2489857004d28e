// Reads GL call traces (the line format is described at the top of
// gltrace_recorder.cpp) into calls and frames for tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kovrin::test::gltrace {

struct Call {
  std::string name;
  std::vector<std::string> args;
  std::vector<std::string> results;  // the words after "="
  int line = 0;                      // 1-based line of the trace

  // Typed views of an argument. They throw std::runtime_error naming the call
  // when the argument is missing or is not of that kind.
  float Float(std::size_t i) const;
  double Double(std::size_t i) const;
  int64_t Int(std::size_t i) const;
  // An enum by name (GL_TEXTURE_2D), several names joined by "|", 0x hex or
  // decimal.
  uint32_t Enum(std::size_t i) const;
  uint32_t Result(std::size_t i) const;

  // The call as it stood in the trace, for failure messages.
  std::string Text() const;
};

using Frame = std::vector<Call>;

struct Trace {
  // frames[k] holds the calls up to and excluding the (k+1)-th SWAP; in a
  // program's trace frames[0] therefore starts with the whole start-up.
  std::vector<Frame> frames;
  // Calls after the last SWAP (all calls when there was no SWAP).
  Frame tail;

  // Every call in order, frames first, SWAPs left out.
  std::vector<Call> AllCalls() const;
};

Trace ParseTrace(std::string_view text);
// nullopt when the file cannot be read.
std::optional<Trace> ReadTraceFile(const std::string& path);

// The calls of that name, in order.
std::vector<Call> CallsNamed(const std::vector<Call>& calls, std::string_view name);
// The calls from the last call of that name to the end (empty when there is
// none). With "glClear" this cuts a program's first frame off its start-up.
std::vector<Call> FromLast(const std::vector<Call>& calls, std::string_view name);
// The names, in order, of the calls whose name is in the filter (all calls for
// an empty filter); compact to compare in a test.
std::vector<std::string> Names(const std::vector<Call>& calls, const std::vector<std::string>& filter = {});

// The value of an enum word as the recorder writes it.
std::optional<uint32_t> ParseEnum(std::string_view word);

}  // namespace kovrin::test::gltrace
