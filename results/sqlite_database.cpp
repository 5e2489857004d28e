#include <sqlite3.h>

#include "results/database.h"

namespace kovrin::results {
namespace {

class SqliteDatabase final : public Database {
 public:
  explicit SqliteDatabase(const std::string& file) {
    if (sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                        nullptr) != SQLITE_OK) {
      const std::string message = db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory";
      sqlite3_close(db_);
      throw StoreError("cannot open the SQLite database " + file + ": " + message);
    }
    // Other processes may use the same file (a second instance, a backup):
    // wait for their locks instead of failing at once.
    sqlite3_busy_timeout(db_, 5000);
    Run("PRAGMA journal_mode=WAL", {});
  }
  ~SqliteDatabase() override { sqlite3_close(db_); }
  SqliteDatabase(const SqliteDatabase&) = delete;
  SqliteDatabase& operator=(const SqliteDatabase&) = delete;

  std::vector<SqlRow> Run(std::string_view sql, const std::vector<SqlValue>& parameters) override {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &statement, nullptr) != SQLITE_OK) {
      throw StoreError(std::string("SQLite: ") + sqlite3_errmsg(db_));
    }
    struct Finalize {
      sqlite3_stmt* s;
      ~Finalize() { sqlite3_finalize(s); }
    } finalize{statement};
    for (std::size_t i = 0; i < parameters.size(); ++i) {
      // "$1" is a named parameter to SQLite; the names map to the numbers.
      const int index = sqlite3_bind_parameter_index(statement, ("$" + std::to_string(i + 1)).c_str());
      if (index == 0) continue;
      const SqlValue& value = parameters[i];
      int rc = SQLITE_OK;
      if (const auto* text = std::get_if<std::string>(&value)) {
        rc = sqlite3_bind_text(statement, index, text->data(), static_cast<int>(text->size()), SQLITE_TRANSIENT);
      } else if (const auto* number = std::get_if<std::int64_t>(&value)) {
        rc = sqlite3_bind_int64(statement, index, *number);
      } else if (const auto* real = std::get_if<double>(&value)) {
        rc = sqlite3_bind_double(statement, index, *real);
      } else {
        rc = sqlite3_bind_null(statement, index);
      }
      if (rc != SQLITE_OK) throw StoreError(std::string("SQLite: ") + sqlite3_errmsg(db_));
    }
    std::vector<SqlRow> rows;
    for (;;) {
      const int rc = sqlite3_step(statement);
      if (rc == SQLITE_DONE) break;
      if (rc != SQLITE_ROW) throw StoreError(std::string("SQLite: ") + sqlite3_errmsg(db_));
      SqlRow row;
      for (int c = 0; c < sqlite3_column_count(statement); ++c) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, c));
        if (text == nullptr) {
          row.emplace_back();
        } else {
          row.emplace_back(std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(statement, c))));
        }
      }
      rows.push_back(std::move(row));
    }
    return rows;
  }

  std::string_view AutoIdType() const override { return "INTEGER PRIMARY KEY AUTOINCREMENT"; }
  std::vector<std::string> BeginExclusive() const override { return {"BEGIN IMMEDIATE"}; }

 private:
  sqlite3* db_ = nullptr;
};

}  // namespace

std::unique_ptr<Database> OpenSqlite(const std::string& file) { return std::make_unique<SqliteDatabase>(file); }

}  // namespace kovrin::results
