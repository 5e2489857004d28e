#include <libpq-fe.h>

#include <cstdio>

#include "results/database.h"

namespace kovrin::results {
namespace {

std::string Text(const SqlValue& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  if (const auto* number = std::get_if<std::int64_t>(&value)) return std::to_string(*number);
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.17g", std::get<double>(value));
  return buffer;
}

class PostgresDatabase final : public Database {
 public:
  explicit PostgresDatabase(const std::string& url) : connection_(PQconnectdb(url.c_str())) {
    if (PQstatus(connection_) != CONNECTION_OK) {
      const std::string message = PQerrorMessage(connection_);
      PQfinish(connection_);
      throw StoreError("cannot connect to PostgreSQL: " + message);
    }
    // Notices (such as "relation already exists, skipping") are not the user's business.
    PQsetNoticeProcessor(
        connection_, [](void*, const char*) {}, nullptr);
  }
  ~PostgresDatabase() override { PQfinish(connection_); }
  PostgresDatabase(const PostgresDatabase&) = delete;
  PostgresDatabase& operator=(const PostgresDatabase&) = delete;

  std::vector<SqlRow> Run(std::string_view sql, const std::vector<SqlValue>& parameters) override {
    // A server restarted under a running service: one new connection,
    // then the statement; a second failure is the caller's.
    if (PQstatus(connection_) != CONNECTION_OK) PQreset(connection_);
    std::vector<std::string> texts;
    std::vector<const char*> values;
    texts.reserve(parameters.size());
    for (const SqlValue& value : parameters) {
      if (std::holds_alternative<std::monostate>(value)) {
        texts.emplace_back();
        values.push_back(nullptr);
      } else {
        texts.push_back(Text(value));
        values.push_back(texts.back().c_str());
      }
    }
    const std::string statement(sql);
    PGresult* result = PQexecParams(connection_, statement.c_str(), static_cast<int>(values.size()), nullptr,
                                    values.data(), nullptr, nullptr, 0);
    struct Clear {
      PGresult* r;
      ~Clear() { PQclear(r); }
    } clear{result};
    const ExecStatusType status = PQresultStatus(result);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
      throw StoreError("PostgreSQL: " + std::string(PQerrorMessage(connection_)));
    }
    std::vector<SqlRow> rows;
    for (int r = 0; r < PQntuples(result); ++r) {
      SqlRow row;
      for (int c = 0; c < PQnfields(result); ++c) {
        if (PQgetisnull(result, r, c)) {
          row.emplace_back();
        } else {
          row.emplace_back(std::string(PQgetvalue(result, r, c), static_cast<std::size_t>(PQgetlength(result, r, c))));
        }
      }
      rows.push_back(std::move(row));
    }
    return rows;
  }

  std::string_view AutoIdType() const override { return "BIGSERIAL PRIMARY KEY"; }
  std::vector<std::string> BeginExclusive() const override {
    // A lock of the transaction's length on a number of this service's own:
    // it holds before any table exists, so two instances that start at once
    // cannot both create the schema.
    return {"BEGIN", "SELECT pg_advisory_xact_lock(70915412)"};
  }

 private:
  PGconn* connection_;
};

}  // namespace

std::unique_ptr<Database> OpenPostgres(const std::string& url) { return std::make_unique<PostgresDatabase>(url); }

}  // namespace kovrin::results
