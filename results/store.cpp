#include "results/store.h"

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string_view>

namespace kovrin::results {
namespace {

// Each migration runs once, in order, in the transaction that records it;
// "{id}" stands for the engine's self-numbering key. Never change one that
// has shipped: add the next.
constexpr std::string_view kMigrations[] = {
    "CREATE TABLE results ("
    " id {id},"
    " kind TEXT NOT NULL,"
    " received TEXT NOT NULL,"
    " client TEXT NOT NULL,"
    " name TEXT NOT NULL,"
    " system TEXT NOT NULL,"
    " version TEXT NOT NULL,"
    " result_text TEXT NOT NULL,"
    " score DOUBLE PRECISION NOT NULL,"
    " checksum TEXT NOT NULL,"
    " to_email TEXT NOT NULL,"
    " document TEXT)",
    "CREATE INDEX results_by_score ON results (score DESC, id)",
};

constexpr std::string_view kColumns =
    "id, kind, received, client, name, system, version, result_text, score, checksum, to_email";

std::string Replace(std::string text, std::string_view from, std::string_view to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

std::string Column(const SqlRow& row, std::size_t index) { return row.at(index).value_or(""); }

StoredResult FromRow(const SqlRow& row) {
  StoredResult result;
  result.id = std::strtoll(Column(row, 0).c_str(), nullptr, 10);
  result.kind = Column(row, 1);
  result.received = Column(row, 2);
  result.client = Column(row, 3);
  result.name = Column(row, 4);
  result.system = Column(row, 5);
  result.version = Column(row, 6);
  result.resultText = Column(row, 7);
  result.score = std::strtod(Column(row, 8).c_str(), nullptr);
  result.checksum = Column(row, 9);
  result.toEmail = Column(row, 10);
  if (row.size() > 11) result.document = row[11];
  return result;
}

std::int64_t FirstInteger(const std::vector<SqlRow>& rows) {
  if (rows.empty() || rows.front().empty() || !rows.front().front()) return 0;
  return std::strtoll(rows.front().front()->c_str(), nullptr, 10);
}

}  // namespace

std::unique_ptr<Database> OpenDatabase(const std::string& location) {
  if (location.starts_with("postgresql://") || location.starts_with("postgres://")) return OpenPostgres(location);
  return OpenSqlite(location);
}

std::string UtcNow() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

Store::Store(std::unique_ptr<Database> database) : database_(std::move(database)) { Migrate(); }

std::vector<SqlRow> Store::Run(std::string_view sql, const std::vector<SqlValue>& parameters) {
  const std::lock_guard lock(mutex_);
  return database_->Run(sql, parameters);
}

void Store::Migrate() {
  const std::lock_guard lock(mutex_);
  for (const std::string& statement : database_->BeginExclusive()) database_->Run(statement);
  try {
    database_->Run("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)");
    std::vector<SqlRow> rows = database_->Run("SELECT version FROM schema_version");
    if (rows.empty()) {
      database_->Run("INSERT INTO schema_version (version) VALUES (0)");
      rows = database_->Run("SELECT version FROM schema_version");
    }
    const auto done = static_cast<std::size_t>(FirstInteger(rows));
    for (std::size_t i = done; i < std::size(kMigrations); ++i) {
      database_->Run(Replace(std::string(kMigrations[i]), "{id}", database_->AutoIdType()));
    }
    if (done < std::size(kMigrations)) {
      database_->Run("UPDATE schema_version SET version = $1", {static_cast<std::int64_t>(std::size(kMigrations))});
    }
    database_->Run("COMMIT");
  } catch (...) {
    try {
      database_->Run("ROLLBACK");
    } catch (const StoreError&) {
      // The first failure is the one worth reporting.
    }
    throw;
  }
}

int Store::SchemaVersion() { return static_cast<int>(FirstInteger(Run("SELECT version FROM schema_version"))); }

std::int64_t Store::Add(const StoredResult& r) {
  const std::vector<SqlValue> values = {r.kind,
                                        r.received,
                                        r.client,
                                        r.name,
                                        r.system,
                                        r.version,
                                        r.resultText,
                                        r.score,
                                        r.checksum,
                                        r.toEmail,
                                        r.document ? SqlValue(*r.document) : SqlValue()};
  return FirstInteger(
      Run("INSERT INTO results (kind, received, client, name, system, version, result_text, score, checksum, "
          "to_email, document) VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11) RETURNING id",
          values));
}

std::optional<StoredResult> Store::Get(std::int64_t id) {
  const std::vector<SqlRow> rows =
      Run("SELECT " + std::string(kColumns) + ", document FROM results WHERE id = $1", {id});
  if (rows.empty()) return std::nullopt;
  return FromRow(rows.front());
}

std::vector<StoredResult> Store::List(RankingOrder order, std::int64_t offset, std::int64_t limit) {
  const std::string orderBy = order == RankingOrder::Best ? "score DESC, id ASC" : "id DESC";
  std::vector<StoredResult> results;
  for (const SqlRow& row :
       Run("SELECT " + std::string(kColumns) + " FROM results ORDER BY " + orderBy + " LIMIT $1 OFFSET $2",
           {limit, offset})) {
    results.push_back(FromRow(row));
  }
  return results;
}

std::int64_t Store::Count() { return FirstInteger(Run("SELECT COUNT(*) FROM results")); }

std::int64_t Store::Place(std::int64_t id) {
  return FirstInteger(
      Run("SELECT COUNT(*) FROM results AS other, results AS mine WHERE mine.id = $1 AND "
          "(other.score > mine.score OR (other.score = mine.score AND other.id <= mine.id))",
          {id}));
}

bool Store::Remove(std::int64_t id) { return !Run("DELETE FROM results WHERE id = $1 RETURNING id", {id}).empty(); }

}  // namespace kovrin::results
