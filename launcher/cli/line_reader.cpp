#include "launcher/cli/line_reader.h"

namespace kovrin::cli {

void LineReader::Feed(std::string_view bytes, const Sink& sink) {
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    const std::string_view part = bytes.substr(0, end);
    if (!dropping_) {
      const std::size_t room = kMaxLine - pending_.size();
      pending_.append(part.substr(0, room));
      if (part.size() >= room && end == std::string_view::npos) {
        // Full: what there is goes out now, the rest of the line is dropped.
        sink(pending_);
        pending_.clear();
        dropping_ = true;
      }
    }
    if (end == std::string_view::npos) return;
    if (!dropping_) sink(pending_);
    pending_.clear();
    dropping_ = false;
    bytes.remove_prefix(end + 1);
  }
}

void LineReader::Finish(const Sink& sink) {
  if (!dropping_ && !pending_.empty()) sink(pending_);
  pending_.clear();
  dropping_ = false;
}

}  // namespace kovrin::cli
