// Jet SQL from outside (the update scripts' statements) through the translation to SQLite,
// and through the statements that run as several of SQLite's (tables made anew, joined
// changes, make-table queries) on a small database in memory, each undone after it.
#include "platform/dao/JetInstrucoes.h"
#include "platform/dao/JetSql.h"
#include "platform/vb/Err.h"

#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void Falha(sqlite3* db, int, const std::string&) { throw vb::Error(3000, sqlite3_errmsg(db)); }

sqlite3* Banco() {
    static sqlite3* banco = [] {
        sqlite3* db = nullptr;
        sqlite3_open(":memory:", &db);
        dao::RegisterJetFunctions(db);
        for (const char* jet : {"CREATE TABLE T (Id Long Not Null, Nome Text(20), Qt Int, CONSTRAINT PKT PRIMARY KEY (Id))",
                                "CREATE TABLE U (Versao Long, a Long CONSTRAINT fkU REFERENCES T (Id) ON DELETE CASCADE)",
                                "CREATE INDEX ixNome ON T (Nome)", "INSERT INTO T VALUES (1, 'um', 5)",
                                "INSERT INTO T VALUES (2, 'dois', Null)", "INSERT INTO U VALUES (7, 1)"}) {
            long afetados = 0;
            if (!dao::detail::ExecutaInstrucaoJet(db, jet, true, Falha, afetados))
                sqlite3_exec(db, dao::TranslateJetSql(jet).c_str(), nullptr, nullptr, nullptr);
        }
        return db;
    }();
    return banco;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    const std::string_view texto(reinterpret_cast<const char*>(dados), tamanho);
    try {
        dao::TranslateJetSql(texto);
    } catch (const vb::Error&) {
    }
    sqlite3* db = Banco();
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    try {
        long afetados = 0;
        dao::detail::ExecutaInstrucaoJet(db, texto, true, Falha, afetados);
    } catch (const vb::Error&) {
    }
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    return 0;
}
