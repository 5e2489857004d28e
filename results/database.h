// The one seam between the results store and a database engine.
//
// The store writes every statement once, in SQL that SQLite and PostgreSQL
// both take, with parameters $1, $2, ... bound separately (no value is ever
// pasted into SQL text); a back end only runs statements and says the few
// things in which the two engines differ.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kovrin::results {

class StoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

using SqlValue = std::variant<std::monostate, std::string, std::int64_t, double>;
using SqlRow = std::vector<std::optional<std::string>>;  // NULL is nullopt

class Database {
 public:
  virtual ~Database() = default;
  // Runs one statement with its parameters; the rows it returns, each column
  // as text. Throws StoreError.
  virtual std::vector<SqlRow> Run(std::string_view sql, const std::vector<SqlValue>& parameters = {}) = 0;
  // The column type of a key that numbers new rows itself.
  virtual std::string_view AutoIdType() const = 0;
  // The statements that open a transaction no other connection can migrate
  // in at the same time, even before the first table exists (so that two
  // service instances that start at once never both create the schema).
  virtual std::vector<std::string> BeginExclusive() const = 0;
};

// "--db" decides: a postgresql:// or postgres:// URL opens PostgreSQL, any
// other text is the file name of a SQLite database (created when missing).
std::unique_ptr<Database> OpenDatabase(const std::string& location);

std::unique_ptr<Database> OpenSqlite(const std::string& file);
std::unique_ptr<Database> OpenPostgres(const std::string& url);

}  // namespace kovrin::results
