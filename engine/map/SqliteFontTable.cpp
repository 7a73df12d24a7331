#include "map/SqliteFontTable.h"

#include <sqlite3.h>

#include <memory>
#include <string>

#include "Failure.h"
#include "map/FontAliases.h"

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

using Statement = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

Statement Prepare(const std::filesystem::path& path, sqlite3* db, const char* query) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, query, -1, &statement, nullptr) != SQLITE_OK) Fail(path, db);
    return Statement(statement);
}

std::string TextOf(sqlite3_stmt* statement, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(statement, column)))
                : std::string();
}

bool HasTable(const std::filesystem::path& path, sqlite3* db, const char* name) {
    const Statement statement =
        Prepare(path, db, "select 1 from sqlite_master where type = 'table' and name = ?");
    sqlite3_bind_text(statement.get(), 1, name, -1, SQLITE_STATIC);
    const int step = sqlite3_step(statement.get());
    if (step != SQLITE_ROW && step != SQLITE_DONE) Fail(path, db);
    return step == SQLITE_ROW;
}

// The table font_aliases, optional: a map without one declares no aliases.
std::vector<FontAlias> ReadAliases(const std::filesystem::path& path, sqlite3* db,
                                   const std::vector<std::string>& columns) {
    std::vector<FontAlias> aliases;
    if (!HasTable(path, db, "font_aliases")) return aliases;
    const Statement statement = Prepare(path, db, "select font, alias from font_aliases");
    int step;
    while ((step = sqlite3_step(statement.get())) == SQLITE_ROW) {
        FontAlias alias{TextOf(statement.get(), 0), TextOf(statement.get(), 1)};
        if (const std::string fault = AliasFault(columns, alias); !fault.empty()) {
            throw Failure(kBadFileFormat, "The font map \"" + path.string() + "\", row " +
                                              std::to_string(aliases.size() + 1) +
                                              " of font_aliases: " + fault + ".");
        }
        aliases.push_back(std::move(alias));
    }
    if (step != SQLITE_DONE) Fail(path, db);
    return aliases;
}

}  // namespace

FontTable ReadSqliteFontTable(const std::filesystem::path& path, TableExtent extent) {
    sqlite3* raw = nullptr;
    const int opened = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
    std::unique_ptr<sqlite3, CloseDatabase> db(raw);
    if (opened != SQLITE_OK) Fail(path, db.get());

    const char* query =
        extent == TableExtent::Whole ? "select * from font_info" : "select * from font_info limit 1";
    const Statement statement = Prepare(path, db.get(), query);

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
    table.aliases = ReadAliases(path, db.get(), table.columns);
    return table;
}

}  // namespace varnex
