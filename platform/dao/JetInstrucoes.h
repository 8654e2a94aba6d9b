// Jet statements that SQLite (3.15) runs only as several statements of its own, and the
// statement forms rewritten before the translation (JetSql.h):
//  - ALTER TABLE ... ALTER COLUMN / DROP COLUMN / ADD CONSTRAINT / DROP CONSTRAINT, and
//    ADD COLUMN with NOT NULL, a constraint or a counter: the table is made anew (its rows
//    copied, its indexes, triggers and text collation kept) inside the statement's savepoint,
//    so a failure leaves it as it was;
//  - CREATE INDEX ... WITH PRIMARY (a primary key: unique, no Null, 3058) and WITH DISALLOW
//    NULL (3058 for a new Null; rows already there stay); WITH IGNORE NULL changes nothing
//    here, as SQLite keeps several Nulls apart in a unique index as Jet does;
//  - relationships (CONSTRAINT ... REFERENCES, FOREIGN KEY): kept in the table's SQL and
//    enforced by triggers made from it (3201 for a row without its related one, 3200 for a
//    related row deleted or its key changed; ON DELETE / ON UPDATE CASCADE and SET NULL);
//  - COUNTER / AUTOINCREMENT: a column that is not its table's whole primary key, or that
//    has (seed, step), is numbered by a trigger: the greatest number so far plus the step
//    (Jet does not reuse the numbers of deleted last rows; this does);
//  - UPDATE over a join: the join's rows are read first, then applied one by one in the
//    order of their tables' rows, as Jet applies them: a target row the join gives twice is
//    changed twice (SET x = y: the last y stays; SET x = x + y: both are added); a LEFT
//    JOIN's target without a match gets the Null of the missing side. Jet would add the
//    missing row when a field of the outer side is set; here that row is left out;
//  - DELETE [DISTINCTROW] t.* FROM a join; SELECT ... INTO (the new table's fields take the
//    types of the fields read, an expression none; IN another database is refused);
//  - RIGHT JOIN becomes a LEFT JOIN of the sides swapped (SELECT * keeps Jet's column order);
//  - TOP n PERCENT: the first n percent of the rows, rounded up.
// TRANSFORM ... PIVOT is refused (3251).
#pragma once

#include "platform/dao/JetLexer.h"

#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace dao::detail {

// Raises the Jet error for a failed SQLite call (never returns).
using FalhaSqlite = void (*)(sqlite3* db, int rc, const std::string& sql);

// Runs a Jet statement that takes more than one SQLite statement, inside a savepoint, and
// gives its records affected; false when the statement is not one of them (it is then
// translated and prepared as one). gravavel: the database may be written (3027 otherwise).
bool ExecutaInstrucaoJet(sqlite3* db, std::string_view jet, bool gravavel, FalhaSqlite falha, long& afetados);

// Token rewrites before the translation: RIGHT JOIN swapped to LEFT JOIN; TRANSFORM refused.
void ReescreveInstrucao(std::vector<Token>& t);

// The "(seed, step)" of COUNTER(seed, step) in the tokens [b, e); false when they are not two
// whole numbers (the step not 0).
bool LeSementeContador(const std::vector<Token>& t, int b, int e, long long& semente, long long& passo);

// The LIMIT of TOP n PERCENT for the SQLite SELECT text selecao (without its ORDER BY).
std::string LimitePercentual(const std::string& selecao, const std::string& n);

// The Jet error of a failed check constraint of this layer (zk_nulo_: a key or an index that
// takes no Null, 3058; zk_req_: a required field, 3314); false for another one.
bool ErroDeRestricao(const std::string& mensagem, long& numero, std::string& descricao);

}  // namespace dao::detail
