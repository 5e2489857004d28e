// Captures what the code under test writes to stderr.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <string>

namespace kovrin::test::launcher {

class StderrCapture {
 public:
  StderrCapture() {
    std::fflush(stderr);
    file_ = std::tmpfile();
    saved_ = ::dup(STDERR_FILENO);
    if (file_ != nullptr) ::dup2(::fileno(file_), STDERR_FILENO);
  }
  ~StderrCapture() { Restore(); }
  StderrCapture(const StderrCapture&) = delete;
  StderrCapture& operator=(const StderrCapture&) = delete;

  // Stops capturing and returns everything written meanwhile.
  std::string Text() {
    Restore();
    std::string text;
    if (file_ == nullptr) return text;
    std::rewind(file_);
    char buffer[512];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file_)) > 0) text.append(buffer, n);
    return text;
  }

 private:
  void Restore() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    ::dup2(saved_, STDERR_FILENO);
    ::close(saved_);
    saved_ = -1;
  }

  std::FILE* file_ = nullptr;
  int saved_ = -1;
};

}  // namespace kovrin::test::launcher
