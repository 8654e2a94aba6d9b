// What both search benchmarks need to run a list on SQLite directly, as the layer would.
#pragma once

#include "platform/vb/Strings.h"

#include <sqlite3.h>

#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace benchsqlite {

// A Jet LIKE pattern (letters, digits, accent classes, "*") as a GLOB pattern: every letter
// matches both cases.
inline std::string JetParaGlob(const std::string& jet)
{
    std::string out;
    bool emClasse = false;
    for (char32_t c : vb::ToChars(jet)) {
        if (c == U'[') { emClasse = true; out += "["; continue; }
        if (c == U']') { emClasse = false; out += "]"; continue; }
        const char32_t u = vb::UpperChar(c), l = vb::LowerChar(c);
        if (u == l) { out += vb::FromChars(std::u32string(1, c)); continue; }
        const std::string ambos = vb::FromChars(std::u32string{u, l});
        out += emClasse ? ambos : "[" + ambos + "]";
    }
    return out;
}

// Steps the statement to its end and keeps every value, as the layer's recordset does;
// gives the number of rows.
inline long Executa(sqlite3* db, const std::string& sql)
{
    using Celula = std::variant<std::monostate, long long, double, std::string>;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
        throw std::runtime_error(std::string(sqlite3_errmsg(db)) + " in " + sql);
    std::vector<std::vector<Celula>> linhas;
    const int n = sqlite3_column_count(st);
    while (sqlite3_step(st) == SQLITE_ROW) {
        std::vector<Celula> l;
        l.reserve(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) {
            switch (sqlite3_column_type(st, i)) {
            case SQLITE_INTEGER: l.emplace_back(static_cast<long long>(sqlite3_column_int64(st, i))); break;
            case SQLITE_FLOAT: l.emplace_back(sqlite3_column_double(st, i)); break;
            case SQLITE_NULL: l.emplace_back(); break;
            default: l.emplace_back(std::string(reinterpret_cast<const char*>(sqlite3_column_text(st, i)),
                                                static_cast<size_t>(sqlite3_column_bytes(st, i))));
            }
        }
        linhas.push_back(std::move(l));
    }
    sqlite3_finalize(st);
    return static_cast<long>(linhas.size());
}

}  // namespace benchsqlite
