// Reads table font_info of a Jet 4.0 database with libmdb and writes it to standard output
// (see JetReaderProtocol.h). It runs as a program of its own because libmdb crashes or
// loops on some damaged files; the caller limits its time and reads its verdict.
//   varnex_jet_reader DATABASE
#include <sys/resource.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

// clang-format off
#include <glib.h>
#include <mdbtools.h>
// clang-format on

#include "map/JetReaderProtocol.h"

#if defined(__SANITIZE_ADDRESS__)
// libmdb does not free everything it allocates; that is no failure of a read.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }
#endif

namespace {

using namespace varnex::jet;

constexpr std::uint32_t kLongestValue = 16u << 20;  // bytes of one stored value

std::string output;

void PutNumber(std::uint32_t value) {
    for (int i = 0; i < 4; ++i) output.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void PutText(std::string_view text) {
    PutNumber(static_cast<std::uint32_t>(text.size()));
    output.append(text);
}

void Flush() {
    std::size_t written = 0;
    while (written < output.size()) {
        const ssize_t put = ::write(STDOUT_FILENO, output.data() + written, output.size() - written);
        if (put <= 0) _exit(4);
        written += static_cast<std::size_t>(put);
    }
    output.clear();
}

[[noreturn]] void Fail(const std::string& message) {
    output.push_back(kError);
    PutText(message);
    Flush();
    _exit(0);
}

void LimitResources() {
    rlimit cpu{10, 10};
    setrlimit(RLIMIT_CPU, &cpu);
#if !defined(__SANITIZE_ADDRESS__)
    rlimit memory{2ul << 30, 2ul << 30};
    setrlimit(RLIMIT_AS, &memory);
#endif
}

std::uint32_t StoredLength(MdbHandle* mdb, const MdbField& field, int type) {
    if (type != MDB_MEMO) return static_cast<std::uint32_t>(field.siz);
    if (field.siz < 4 || field.start < 0 || field.start + 4 > static_cast<int>(mdb->fmt->pg_size)) return 0;
    return mdb_get_int32(mdb->pg_buf, field.start) & 0x00FFFFFF;
}

// One value as text; libmdb writes at most its bind size, so that grows to fit the
// value, however long a memo is.
void PutValue(MdbHandle* mdb, const MdbColumn& column, const MdbField& field) {
    if (column.col_type == MDB_BOOL) {
        output.push_back(kText);
        PutText(field.is_null ? "0" : "1");
        return;
    }
    if (field.is_null) {
        output.push_back(kNull);
        return;
    }
    const std::uint32_t stored = StoredLength(mdb, field, column.col_type);
    if (stored > kLongestValue)
        Fail("a value in column \"" + std::string(column.name) + "\" is implausibly long");
    mdb_set_bind_size(mdb, std::max<std::size_t>(MDB_BIND_SIZE, 3 * std::size_t(stored) + 4096 + 16));
    char* text = mdb_col_to_string(mdb, mdb->pg_buf, field.start, column.col_type, field.siz);
    output.push_back(kText);
    PutText(text ? text : "");
    g_free(text);
}

void PutRow(MdbHandle* mdb, MdbTableDef* table, std::vector<MdbField>& fields) {
    int start = 0;
    size_t size = 0;
    if (mdb_find_row(mdb, static_cast<int>(table->cur_row) - 1, &start, &size) != 0)
        Fail("a row cannot be found");
    // Deleted rows and overflow pointers are flagged in the row's offset. libmdb reads a
    // pointer as if it were the row; a compacted map has neither.
    if (start & 0xC000) Fail("it holds deleted or moved rows; compact and repair it in Access first");
    const int count = mdb_crack_row(table, start & 0x1FFF, size, fields.data());
    if (count != static_cast<int>(table->num_cols)) Fail("a row does not match the table's columns");
    output.push_back(kRow);
    for (unsigned i = 0; i < table->num_cols; ++i) {
        const auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        const MdbField* field = nullptr;
        for (int f = 0; f < count; ++f)
            if (fields[f].colnum == static_cast<int>(i)) field = &fields[f];
        if (!field) Fail("a row lacks column \"" + std::string(column->name) + "\"");
        PutValue(mdb, *column, *field);
    }
    if (output.size() > (1u << 20)) Flush();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: varnex_jet_reader DATABASE\n");
        return 2;
    }
    LimitResources();
    output.append(kMagic, sizeof kMagic);
    MdbHandle* mdb = mdb_open(argv[1], MDB_NOFLAGS);
    if (!mdb) Fail("it is not a Jet 4.0 database libmdb can open");
    if (!mdb_read_catalog(mdb, MDB_TABLE)) Fail("its list of tables cannot be read");
    MdbTableDef* table = mdb_read_table_by_name(mdb, const_cast<char*>("font_info"), MDB_TABLE);
    if (!table) Fail("it has no table font_info");
    if (!mdb_read_columns(table)) Fail("the columns of font_info cannot be read");
    PutNumber(table->num_cols);
    for (unsigned i = 0; i < table->num_cols; ++i) {
        PutText(static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i))->name);
    }
    std::vector<MdbField> fields(table->num_cols);
    table->noskip_del = 1;
    mdb_rewind_table(table);
    while (mdb_fetch_row(table)) PutRow(mdb, table, fields);
    output.push_back(kEnd);
    Flush();
    // libmdb's own clean-up is skipped: the process ends here.
    _exit(0);
}
