#include "map/SqliteFontTable.h"

#include <sqlite3.h>

#include <memory>
#include <string>

#include "Failure.h"

namespace varnex {

namespace {

struct CloseDatabase {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct FinalizeStatement {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

[[noreturn]] void Fail(const std::filesystem::path& path, sqlite3* db) {
    const std::string reason = db ? sqlite3_errmsg(db) : "out of memory";
    const std::string name = "\"" + path.string() + "\"";
    if (reason.find("no such table") != std::string::npos) {
        throw Failure(kItemNotFound, "The font map " + name + " has no table font_info.");
    }
    throw Failure(kDatabaseFailure, "The font map " + name + " cannot be read: " + reason + ".");
}

}  // namespace

FontTable ReadSqliteFontTable(const std::filesystem::path& path, TableExtent extent) {
    sqlite3* raw = nullptr;
    const int opened = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
    std::unique_ptr<sqlite3, CloseDatabase> db(raw);
    if (opened != SQLITE_OK) Fail(path, db.get());

    sqlite3_stmt* rawStatement = nullptr;
    const char* query =
        extent == TableExtent::Whole ? "select * from font_info" : "select * from font_info limit 1";
    if (sqlite3_prepare_v2(db.get(), query, -1, &rawStatement, nullptr) != SQLITE_OK) {
        Fail(path, db.get());
    }
    std::unique_ptr<sqlite3_stmt, FinalizeStatement> statement(rawStatement);

    FontTable table;
    const int columns = sqlite3_column_count(statement.get());
    for (int i = 0; i < columns; ++i) table.columns.emplace_back(sqlite3_column_name(statement.get(), i));

    int step;
    while ((step = sqlite3_step(statement.get())) == SQLITE_ROW) {
        auto& row = table.rows.emplace_back(columns);
        for (int i = 0; i < columns; ++i) {
            if (sqlite3_column_type(statement.get(), i) == SQLITE_NULL) continue;
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement.get(), i));
            row[i].emplace(text, static_cast<std::size_t>(sqlite3_column_bytes(statement.get(), i)));
        }
    }
    if (step != SQLITE_DONE) Fail(path, db.get());
    return table;
}

}  // namespace varnex
