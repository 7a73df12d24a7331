#include "map/SqliteFontMapWriter.h"

#include <sqlite3.h>

#include <stdexcept>

namespace varnex {

namespace {

std::string QuoteName(const std::string& name) {
    std::string quoted = "\"";
    for (char c : name) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

class Database {
public:
    explicit Database(const std::filesystem::path& path) {
        if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
            SQLITE_OK) {
            Fail("open");
        }
    }
    ~Database() { sqlite3_close_v2(db_); }
    void Execute(const std::string& sql) {
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) Fail(sql);
    }
    sqlite3* Handle() { return db_; }
    [[noreturn]] void Fail(const std::string& what) {
        throw std::runtime_error(what + ": " + (db_ ? sqlite3_errmsg(db_) : "out of memory"));
    }

private:
    sqlite3* db_ = nullptr;
};

// One row at a time into the statement's parameters; a null cell is NULL.
void InsertRow(Database& db, sqlite3_stmt* statement, const std::vector<FontTable::Cell>& row) {
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (row[i]) {
            sqlite3_bind_text(statement, static_cast<int>(i + 1), row[i]->data(),
                              static_cast<int>(row[i]->size()), SQLITE_TRANSIENT);
        } else {
            sqlite3_bind_null(statement, static_cast<int>(i + 1));
        }
    }
    const int step = sqlite3_step(statement);
    sqlite3_reset(statement);
    if (step != SQLITE_DONE) {
        sqlite3_finalize(statement);
        db.Fail("insert");
    }
}

sqlite3_stmt* PrepareInsert(Database& db, const std::string& insert) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db.Handle(), insert.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        db.Fail("prepare insert");
    }
    return statement;
}

// The table font_aliases, for a map that declares aliases only: a map without them keeps the
// shape of the older maps.
void WriteAliases(Database& db, const std::vector<FontAlias>& aliases) {
    if (aliases.empty()) return;
    db.Execute("create table font_aliases (font text, alias text)");
    sqlite3_stmt* statement = PrepareInsert(db, "insert into font_aliases values (?, ?)");
    for (const auto& alias : aliases) InsertRow(db, statement, {alias.font, alias.alias});
    sqlite3_finalize(statement);
}

}  // namespace

void WriteSqliteFontMap(const std::filesystem::path& path, const FontTable& table,
                        const std::string& tableName) {
    std::filesystem::remove(path);
    Database db(path);
    std::string create = "create table " + QuoteName(tableName) + " (";
    std::string insert = "insert into " + QuoteName(tableName) + " values (";
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        create += (i ? ", " : "") + QuoteName(table.columns[i]) + " text";
        insert += i ? ", ?" : "?";
    }
    db.Execute(create + ")");
    db.Execute("begin");
    sqlite3_stmt* statement = PrepareInsert(db, insert + ")");
    for (const auto& row : table.rows) InsertRow(db, statement, row);
    sqlite3_finalize(statement);
    WriteAliases(db, table.aliases);
    db.Execute("commit");
}

}  // namespace varnex
