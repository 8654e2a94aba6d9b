// Jet SQL to SQLite SQL, and the Jet pieces that run inside SQLite: the functions,
// the LIKE matcher, the JET collation.
#pragma once

#include <string>
#include <string_view>

struct sqlite3;

namespace dao {

// Translates one Jet statement:
//  - arithmetic by Jet's precedence (^, unary -, * /, \, Mod, + -, &, loosest):
//    a & b & c           -> jet_concat(a,b,c): Null counts as "", Null only when all are Null
//    a + b               -> jet_add(a,b): numbers add, two texts are joined, Null gives Null
//    a / b               -> CAST(a AS REAL) / b: always floating point (10 / 4 is 2.5)
//    a \ b, a Mod b      -> jet_intdiv, jet_mod: the operands rounded half to even first
//    a ^ b               -> jet_pow(a,b)
//  - a comparison, LIKE, IS, IN, BETWEEN, EXISTS, NOT, AND, OR whose value is used (a select
//    list, SET's values, ORDER BY, an argument, an operand, IIF's results) -> -(...), so True
//    is -1; where it is tested (WHERE, ON, HAVING, IIF's condition, between AND/OR/NOT) it
//    stays as it is, and indexes still serve it
//  - IIF(c, a, b)        -> (CASE WHEN c THEN a ELSE b END); Switch(c1, v1, ...) likewise
//  - x = Null, x <> Null -> x IS NULL, x IS NOT NULL (not in the assignments of SET)
//  - x op ANY|SOME (s)   -> EXISTS (a row of s with x op it); x op ALL (s) -> NOT EXISTS (a
//                           row of s where x op it is not True), so an empty s gives True
//  - SELECT TOP n        -> LIMIT n OFFSET 0 at the end of that level (the OFFSET keeps
//                           SQLite from merging it into the query around it); a SELECT of a
//                           UNION with TOP becomes a subquery, so TOP limits that SELECT alone
//  - True, Yes, On -> -1; False, No, Off -> 0 (not ON of a join, NO of NO ACTION, nor in DDL)
//  - "text" and 'text'   -> 'text' COLLATE JET, so texts compare without regard to case
//                           also against expressions; every ORDER BY term (a column number
//                           too) gets COLLATE JET
//  - #m/d/yyyy [time]#   -> its OLE day number (#d/m/yyyy# when d cannot be a month)
//  - Format (also its named formats, as US English: "Currency" $1,234.50, "Short Date"
//    m/d/yyyy, ...), Mid, Left, Nz, Round (half to even), Int, Fix, Sgn, Chr, Asc, Str,
//    Space, String, StrComp, InStr([start,] s1, s2 [, compare]), Choose, DateAdd, DateDiff,
//    DatePart, DateValue, TimeValue, CDate, IsDate, Hour, Minute, Second, Weekday,
//    WeekdayName, MonthName (English names), the aggregates First and Last, ... -> the
//    registered jet_ functions
//  - DDL: Long/Int/Integer, Short, Byte, Text(n) (COLLATE JET and a length check), Memo,
//    Date, Double, Single, YesNo, Counter, Currency, Binary; COUNTER(seed, step) and
//    AUTOINCREMENT(seed, step) (numbered by a trigger, JetInstrucoes.h); "WITH IGNORE NULL"
//    of CREATE INDEX is dropped (SQLite keeps Nulls apart in a unique index, as Jet does);
//    DROP INDEX i ON T; DELETE * FROM T; FOREIGN KEY NO INDEX loses its NO INDEX
//  - SELECT TOP n PERCENT -> LIMIT (the first n percent of the rows, rounded up) OFFSET 0
//  - a RIGHT JOIN b ON c -> b LEFT JOIN a ON c (a join on the left side goes in parentheses;
//    SELECT * then names each table's fields in Jet's order)
// Statements that SQLite runs only as several of its own (ALTER TABLE's ALTER COLUMN, DROP
// COLUMN, ADD/DROP CONSTRAINT, ADD COLUMN ... NOT NULL; CREATE INDEX ... WITH PRIMARY or
// DISALLOW NULL; relationships; UPDATE and DELETE over a join; SELECT ... INTO) are run by
// Database::Execute through JetInstrucoes.h; this translation handles each of their pieces.
// LIKE stays LIKE: the connection's like() is Jet's (RegisterJetFunctions).
// Not translated: TOP n with ORDER BY gives n rows, not Jet's n and the rows tied with the
// last of them; NOT of a number other than True and False is logical, not Jet's bitwise NOT;
// TRANSFORM ... PIVOT (a crosstab) is refused with 3251.
// Throws vb::Error 3075 on text it cannot read (an unclosed literal or bracket, unbalanced
// parentheses, an IIF without three arguments, Switch without pairs, an operator without an
// operand, a date that does not exist) and on LIKE ... ESCAPE, which Jet does not know.
std::string TranslateJetSql(std::string_view jet);

// Jet's LIKE: * ? # [abc] [!abc] [a-z]; case-insensitive (Unicode case folding), accents
// significant, % and _ plain characters. A malformed class ("[abc") matches nothing.
bool JetLike(std::string_view pattern, std::string_view text);

// The JET collation: case-insensitive; accented letters sort right after their base letter
// ("e" < "é" < "f"); texts that differ only in case are equal. Result <0, 0, >0.
int JetCollate(std::string_view a, std::string_view b);

// Registers the collation JET, the Jet functions and the LIKE matcher on a connection.
void RegisterJetFunctions(sqlite3* db);

// Sizes the page cache of a connection to a file of fileBytes bytes.
void SizePageCache(sqlite3* db, long long fileBytes);

}  // namespace dao
