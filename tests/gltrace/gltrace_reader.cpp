#include "tests/gltrace/gltrace_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "tests/gltrace/gltrace_format.h"

namespace kovrin::test::gltrace {

namespace {

std::vector<std::string> SplitWords(std::string_view line) {
  std::vector<std::string> words;
  std::size_t start = 0;
  while (start <= line.size()) {
    std::size_t end = line.find(' ', start);
    if (end == std::string_view::npos) end = line.size();
    if (end > start) words.emplace_back(line.substr(start, end - start));
    start = end + 1;
  }
  return words;
}

[[noreturn]] void Fail(const Call& call, std::size_t i, const char* kind) {
  throw std::runtime_error("gltrace line " + std::to_string(call.line) + " \"" + call.Text() + "\": argument " +
                           std::to_string(i) + " is not " + kind);
}

const std::string& Arg(const Call& call, std::size_t i, const char* kind) {
  if (i >= call.args.size()) Fail(call, i, kind);
  return call.args[i];
}

std::optional<int64_t> ParseInteger(std::string_view word) {
  const std::string text(word);
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const long long value = std::strtoll(text.c_str(), &end, hex ? 16 : 10);
  if (errno != 0 || *end != '\0') return std::nullopt;
  return value;
}

}  // namespace

float Call::Float(std::size_t i) const {
  const std::string& word = Arg(*this, i, "a float");
  char* end = nullptr;
  const float value = std::strtof(word.c_str(), &end);
  if (word.empty() || *end != '\0') Fail(*this, i, "a float");
  return value;
}

double Call::Double(std::size_t i) const {
  const std::string& word = Arg(*this, i, "a double");
  char* end = nullptr;
  const double value = std::strtod(word.c_str(), &end);
  if (word.empty() || *end != '\0') Fail(*this, i, "a double");
  return value;
}

int64_t Call::Int(std::size_t i) const {
  const std::optional<int64_t> value = ParseInteger(Arg(*this, i, "an integer"));
  if (!value) Fail(*this, i, "an integer");
  return *value;
}

uint32_t Call::Enum(std::size_t i) const {
  const std::optional<uint32_t> value = ParseEnum(Arg(*this, i, "an enum"));
  if (!value) Fail(*this, i, "an enum");
  return *value;
}

uint32_t Call::Result(std::size_t i) const {
  if (i >= results.size()) {
    throw std::runtime_error("gltrace line " + std::to_string(line) + " \"" + Text() + "\": no result " +
                             std::to_string(i));
  }
  const std::optional<int64_t> value = ParseInteger(results[i]);
  if (!value || *value < 0 || *value > int64_t{UINT32_MAX}) {
    throw std::runtime_error("gltrace line " + std::to_string(line) + " \"" + Text() + "\": result " +
                             std::to_string(i) + " is not a name");
  }
  return static_cast<uint32_t>(*value);
}

std::string Call::Text() const {
  std::string text = name;
  for (const std::string& arg : args) text += " " + arg;
  if (!results.empty()) text += " =";
  for (const std::string& result : results) text += " " + result;
  return text;
}

std::optional<uint32_t> ParseEnum(std::string_view word) {
  if (word.empty()) return std::nullopt;
  uint32_t value = 0;
  std::size_t start = 0;
  while (start <= word.size()) {
    std::size_t end = word.find('|', start);
    if (end == std::string_view::npos) end = word.size();
    const std::string_view part = word.substr(start, end - start);
    if (std::optional<uint32_t> named = FindEnumValue(part)) {
      value |= *named;
    } else if (std::optional<int64_t> number = ParseInteger(part);
               number && *number >= 0 && *number <= int64_t{UINT32_MAX}) {
      value |= static_cast<uint32_t>(*number);
    } else {
      return std::nullopt;
    }
    start = end + 1;
  }
  return value;
}

Trace ParseTrace(std::string_view text) {
  Trace trace;
  int lineNumber = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    std::vector<std::string> words = SplitWords(line);
    if (words.empty()) continue;
    if (words.front() == kSwap) {
      trace.frames.push_back(std::move(trace.tail));
      trace.tail.clear();
      continue;
    }
    Call call;
    call.line = lineNumber;
    call.name = words.front();
    const auto equals = std::find(words.begin() + 1, words.end(), "=");
    call.args.assign(words.begin() + 1, equals);
    if (equals != words.end()) call.results.assign(equals + 1, words.end());
    trace.tail.push_back(std::move(call));
  }
  return trace;
}

std::optional<Trace> ReadTraceFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  return ParseTrace(text);
}

std::vector<Call> Trace::AllCalls() const {
  std::vector<Call> calls;
  for (const Frame& frame : frames) calls.insert(calls.end(), frame.begin(), frame.end());
  calls.insert(calls.end(), tail.begin(), tail.end());
  return calls;
}

std::vector<Call> CallsNamed(const std::vector<Call>& calls, std::string_view name) {
  std::vector<Call> named;
  std::copy_if(calls.begin(), calls.end(), std::back_inserter(named),
               [&](const Call& call) { return call.name == name; });
  return named;
}

std::vector<Call> FromLast(const std::vector<Call>& calls, std::string_view name) {
  const auto last = std::find_if(calls.rbegin(), calls.rend(), [&](const Call& call) { return call.name == name; });
  if (last == calls.rend()) return {};
  return std::vector<Call>(std::prev(last.base()), calls.end());
}

std::vector<std::string> Names(const std::vector<Call>& calls, const std::vector<std::string>& filter) {
  std::vector<std::string> names;
  for (const Call& call : calls) {
    if (filter.empty() || std::find(filter.begin(), filter.end(), call.name) != filter.end()) {
      names.push_back(call.name);
    }
  }
  return names;
}

}  // namespace kovrin::test::gltrace
