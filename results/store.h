// The stored results: one table for the submission page's posts and the
// JSON uploads alike, so that one ranking, one numbering and one deletion
// cover both.
//
// Safe to use from the service's worker threads: statements on the one
// connection are run one at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "results/database.h"

namespace kovrin::results {

struct StoredResult {
  std::int64_t id = 0;
  std::string kind;      // "form" (the submission page) or "api" (a result file)
  std::string received;  // UTC, "2026-05-01T10:00:22Z"
  std::string client;    // the poster's address
  std::string name;
  std::string system;
  std::string version;
  std::string resultText;  // the score as the launcher showed it, without " fps"
  double score = 0;
  std::string checksum;
  std::string toEmail;
  std::optional<std::string> document;  // the result file of an upload
};

enum class RankingOrder { Best, Newest };

class Store {
 public:
  // Brings the database's schema up to date (creating it in a new one).
  explicit Store(std::unique_ptr<Database> database);

  // Stores `result` (its id is ignored) and returns the new id.
  std::int64_t Add(const StoredResult& result);
  std::optional<StoredResult> Get(std::int64_t id);
  // A page of the ranking, without the documents.
  std::vector<StoredResult> List(RankingOrder order, std::int64_t offset, std::int64_t limit);
  std::int64_t Count();
  // The place of a stored result when best comes first (1 for the best; of
  // equal scores the earlier). 0 for an id not stored.
  std::int64_t Place(std::int64_t id);
  // False when there was no such result.
  bool Remove(std::int64_t id);
  // The schema's version after the migrations.
  int SchemaVersion();

 private:
  void Migrate();
  std::vector<SqlRow> Run(std::string_view sql, const std::vector<SqlValue>& parameters = {});

  std::mutex mutex_;
  std::unique_ptr<Database> database_;
};

// The time as the store writes it.
std::string UtcNow();

}  // namespace kovrin::results
