// A child's output as lines of bounded length.
//
// A test program's output is read for its diagnostics and passed on line by
// line; a program that writes without ever ending a line must not make the
// launcher hold all of it. A line is cut at kMaxLine bytes: the first
// kMaxLine bytes are passed on at once, the rest up to the line end dropped.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace kovrin::cli {

class LineReader {
 public:
  static constexpr std::size_t kMaxLine = 4096;
  using Sink = std::function<void(std::string_view line)>;

  // Passes every line completed by `bytes` to `sink`, without its '\n'.
  void Feed(std::string_view bytes, const Sink& sink);
  // The output has ended: a last line without a line end is passed on.
  void Finish(const Sink& sink);

 private:
  std::string pending_;
  bool dropping_ = false;  // the rest of an over-long line
};

}  // namespace kovrin::cli
