// Jet SQL as the program writes it, run on a small fixture: the results Jet gives.
#include "DaoFixture.h"

#include "platform/dao/JetSql.h"
#include "platform/vb/Err.h"
#include "platform/vb/Strings.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {

using daotest::DaoTest;
using daotest::Rows;
using Lines = std::vector<std::string>;

struct SqlCase {
    const char* what;
    const char* jet;
    Lines rows;
};

void PrintTo(const SqlCase& c, std::ostream* os) { *os << c.what; }

class DaoJetSqlTest : public DaoTest, public ::testing::WithParamInterface<SqlCase> {};

TEST_P(DaoJetSqlTest, GivesJetsResult) {
    const SqlCase& c = GetParam();
    EXPECT_EQ(Rows(db_, c.jet), c.rows) << c.jet << "\n  as SQLite: " << dao::TranslateJetSql(c.jet);
}

INSTANTIATE_TEST_SUITE_P(
    DaoTranslation, DaoJetSqlTest,
    ::testing::Values(
        // & joins texts; Null counts as "", the result is Null only when every operand is.
        SqlCase{"concat", "SELECT Nome & '-' & Num FROM T WHERE Id = 1", {"Pastilha-1234567"}},
        SqlCase{"concat with one Null", "SELECT Nome & Num FROM T WHERE Id=2", {"ÁGUA"}},
        SqlCase{"concat of Nulls only", "SELECT Num & Qt FROM T WHERE Id=2", {"<null>"}},
        SqlCase{"concat of numbers as VB prints them", "SELECT Id & '/' & Preco & '/' & Qt FROM T WHERE Id = 1",
                {"1/1.5/5"}},
        SqlCase{"arithmetic binds tighter than &", "SELECT Qt + 1 & 'x' FROM T WHERE Id = 1", {"6x"}},
        SqlCase{"comparison binds looser than &", "SELECT Id FROM T WHERE Nome & '' = 'abc'", {"5"}},
        SqlCase{"concat without blanks around &",
                "SELECT '(COD:'&Id&')' As Cod FROM T WHERE Id=4", {"(COD:4)"}},
        // Literals and names are taken whole, whatever they hold.
        SqlCase{"keywords, & and quotes inside a literal",
                "SELECT 'a & b WHERE ''x'' = Null, IIF(' & Nome FROM T WHERE Id = 1",
                {"a & b WHERE 'x' = Null, IIF(Pastilha"}},
        SqlCase{"double-quoted text literal", "SELECT \"He said \"\"hi\"\"\" & Id FROM T WHERE Id=1",
                {"He said \"hi\"1"}},
        SqlCase{"bracketed names", "SELECT [Nome] & [T].[Id] FROM [T] WHERE [Id] = 1", {"Pastilha1"}},
        SqlCase{"literal with an apostrophe and &", "SELECT Id FROM T WHERE Nome = 'O''Brien & Sons'", {"4"}},
        SqlCase{"double-quoted text holding an apostrophe", "SELECT Id FROM T WHERE Nome = \"o'brien & sons\"", {"4"}},
        // Neighbours without a blank between them stay apart once translated.
        SqlCase{"a literal right before ORDER BY", "SELECT Id FROM T WHERE Nome LIKE 'a*'ORDER BY Id", {"5"}},
        SqlCase{"minus before True", "SELECT Qt-True, Qt-(-1) FROM T WHERE Id=1", {"6|6"}},
        SqlCase{"a date right before AND", "SELECT Id FROM T WHERE Dia>#1/1/1999#AND Id<3", {"1"}},
        // = Null and <> Null test for Null (Jet 3.x).
        SqlCase{"= Null", "SELECT Id FROM T WHERE Num = Null", {"2"}},
        SqlCase{"<> Null", "SELECT Id FROM T WHERE Num<>Null ORDER BY Id", {"1", "3", "4", "5"}},
        SqlCase{"=Null inside IIF inside Max",
                "SELECT Max(IIF(Qt=Null,Null,1)) AS X, Min(IIF(Qt=Null,Null,Qt)) FROM T", {"1|0"}},
        // IIF, nested, with commas and & in its arguments.
        SqlCase{"IIF with the number mask",
                "SELECT IIF(Num=Null,'z',Format(Num,'00-00-0000')) As O FROM T ORDER BY Id",
                {"01-23-4567", "z", "00-00-0012", "12-34-5678", "x1"}},
        SqlCase{"nested IIF with IsNumeric, Format and Right",
                "SELECT IIF(Num=Null,'z',IIF(IsNumeric(Num),Format(Num,'00'),Right('000' & Num,3))) FROM T ORDER BY Id",
                {"1234567", "z", "12", "12345678", "0x1"}},
        SqlCase{"IIF arguments holding commas and &",
                "SELECT IIF(Qt = Null, 'a,b', 'c' & Qt & ',') FROM T WHERE Id <= 2 ORDER BY Id", {"c5,", "a,b"}},
        SqlCase{"IIF on a Null condition takes the false part", "SELECT IIF(Qt > 1, 'y', 'n') FROM T WHERE Id = 2",
                {"n"}},
        SqlCase{"IIF of EXISTS with a carriage return",
                "SELECT IIF(EXISTS(SELECT 1 FROM U WHERE U.a = T.Id),' ','\r') & '.' FROM T WHERE Id < 3 ORDER BY Id",
                {" .", "\r."}},
        // True/False are -1/0; TOP n; nested parentheses.
        SqlCase{"True and False", "SELECT True, False, Id FROM T WHERE IIF(Id > 3, True, False) ORDER BY Id",
                {"-1|0|4", "-1|0|5"}},
        SqlCase{"TOP", "SELECT TOP 2 Id FROM T ORDER BY Id DESC", {"5", "4"}},
        SqlCase{"TOP in a subquery",
                "SELECT Id FROM T WHERE Id IN (SELECT TOP 1 Id FROM T WHERE Qt <> Null ORDER BY Qt DESC)", {"4"}},
        // TOP limits its own SELECT wherever that SELECT stands, also as an arm of a UNION
        // that is itself a subquery (the rows a lower layer loses when it merges the levels).
        SqlCase{"TOP in each SELECT of a UNION, one of them sorted on its own",
                "SELECT TOP 2 Id FROM T ORDER BY Id DESC UNION ALL SELECT TOP 1 Id FROM T WHERE Id < 4 ORDER BY 1",
                {"1", "4", "5"}},
        SqlCase{"TOP in the SELECTs of a UNION in FROM",
                "SELECT X FROM (SELECT TOP 2 Id AS X FROM T UNION ALL SELECT TOP 1 Id FROM T WHERE Id > 3)",
                {"1", "2", "4"}},
        SqlCase{"TOP in the first SELECT only of a UNION in FROM",
                "SELECT X FROM (SELECT TOP 1 Id AS X FROM T UNION ALL SELECT Id FROM T WHERE Id > 3)", {"1", "4", "5"}},
        SqlCase{"a UNION in FROM with TOP in its SELECTs, sorted outside",
                "SELECT X FROM (SELECT TOP 2 Id AS X FROM T UNION ALL SELECT TOP 1 Id FROM T WHERE Id > 3) ORDER BY X DESC",
                {"4", "2", "1"}},
        SqlCase{"TOP over a UNION in FROM with TOP and ORDER BY in its first SELECT",
                "SELECT TOP 2 X FROM (SELECT TOP 2 Id AS X FROM T ORDER BY Id DESC UNION SELECT TOP 1 Id FROM T) "
                "ORDER BY X",
                {"1", "4"}},
        SqlCase{"a UNION in FROM with TOP, counted and summed",
                "SELECT Count(*), Sum(X) FROM (SELECT TOP 2 Id AS X FROM T UNION ALL SELECT TOP 1 Id FROM T WHERE Id > 3)",
                {"3|7"}},
        SqlCase{"TOP in the SELECTs of a UNION inside IN",
                "SELECT Id FROM T WHERE Id IN (SELECT TOP 1 Id FROM T ORDER BY Id DESC UNION ALL SELECT TOP 1 Id FROM T) "
                "ORDER BY Id",
                {"1", "5"}},
        SqlCase{"IN over a UNION in FROM with TOP in one SELECT",
                "SELECT Id FROM T WHERE Id IN (SELECT X FROM (SELECT TOP 1 Id AS X FROM T UNION ALL SELECT Id FROM T "
                "WHERE Id > 3)) ORDER BY Id",
                {"1", "4", "5"}},
        SqlCase{"nested parentheses",
                "SELECT Id FROM T WHERE ((Id = 1) OR ((Id = 3) AND (Nome & 'x') = 'águax')) ORDER BY Id", {"1", "3"}},
        // The VB functions.
        SqlCase{"text functions count characters",
                "SELECT Mid(Nome,2,3), Mid(Nome,3), Left(Nome,2), Right(Nome,2), Len(Nome), UCase(Nome), LCase(Nome) FROM T WHERE Id=3",
                {"gua|ua|ág|ua|4|ÁGUA|água"}},
        SqlCase{"Null through the text functions",
                "SELECT Mid(Num,1,1), Left(Num,1), Len(Num), UCase(Num), Format(Num,'00'), IsNumeric(Num) FROM T WHERE Id=2",
                {"<null>|<null>|<null>|<null>|<null>|0"}},
        SqlCase{"Nz, Val, CStr, Trim",
                "SELECT Nz(Num,'none'), Nz(Qt), Val('12abc'), CStr(Id), '[' & Trim('  x  ') & ']' FROM T WHERE Id=2 OR Id=1 ORDER BY Id",
                {"1234567|5|12|1|[x]", "none||12|2|[x]"}},
        SqlCase{"dates: DateSerial + TimeSerial, #literal#, date masks",
                "SELECT Format(DateSerial(2024,5,7)+TimeSerial(9,3,0),'dd/mm/yyyy hh:nn:ss'), Format(Dia,'yyyymmdd') FROM T WHERE Id IN (1,3) ORDER BY Id",
                {"07/05/2024 09:03:00|20240507", "07/05/2024 09:03:00|20000101"}},
        SqlCase{"grouped lists: Max of a concatenation, GROUP BY, HAVING",
                "SELECT Max(Qt & Num) AS OB, Count(*) FROM T WHERE Qt <> Null GROUP BY Qt > 4 HAVING Count(*) > 1 ORDER BY 1",
                {"3x1|2", "712345678|2"}},
        // LIKE is Jet's: * and ?, classes, % and _ as plain characters.
        SqlCase{"LIKE with accent classes",
                "SELECT Id FROM T WHERE Nome LIKE '*P[AÁÀÂÄÃª]ST[IÍÌÎÏ]LH[AÁÀÂÄÃª]*'", {"1"}},
        SqlCase{"LIKE is case-insensitive, accents count", "SELECT Id FROM T WHERE Nome LIKE 'ÁG*' ORDER BY Id",
                {"2", "3"}},
        SqlCase{"% is no wildcard", "SELECT Id FROM T WHERE Nome LIKE 'a%'", {}},
        SqlCase{"NOT LIKE and a number pattern", "SELECT Id FROM T WHERE Num NOT LIKE '1#*' ORDER BY Id", {"5"}},
        SqlCase{"several patterns in one WHERE, one of them from a column",
                "SELECT Id FROM T WHERE Nome LIKE '*a*' AND Nome NOT LIKE 'p*' AND ('x1' LIKE Num OR Num LIKE '12') ORDER BY Id",
                {"3", "5"}},
        // The "all" row of the selection lists, and the JET collation in a compound ORDER BY.
        SqlCase{"UNION ALL with the one-row table",
                "SELECT Nome AS D, Id AS C, Nome AS OrderBy FROM T WHERE Id < 3 UNION ALL SELECT '<all>' AS D, 0 AS C, '' AS OrderBy FROM U ORDER BY OrderBy",
                {"<all>|0|", "ÁGUA|2|ÁGUA", "Pastilha|1|Pastilha"}},
        // Texts compare and sort without regard to case, also as expressions.
        SqlCase{"comparison of an expression ignores case",
                "SELECT Id FROM T WHERE Nome & '' = 'PASTILHA' OR UCase(Nome) = 'abc' ORDER BY Id", {"1", "5"}},
        SqlCase{"ORDER BY an expression sorts as Jet",
                "SELECT Nome & '' FROM T WHERE Id <> 3 ORDER BY Nome & '' DESC, 1",
                {"Pastilha", "O'Brien & Sons", "ÁGUA", "abc"}},
        // Every ORDER BY term over text sorts as Jet, also a column number whose column has
        // no collation of its own (an aggregate, an expression of columns), and in a UNION.
        SqlCase{"ORDER BY the number of a Min()",
                "SELECT Min(Nome), Id FROM T GROUP BY Id ORDER BY 1, 2",
                {"abc|5", "ÁGUA|2", "água|3", "O'Brien & Sons|4", "Pastilha|1"}},
        SqlCase{"ORDER BY the number of an expression without a literal, descending",
                "SELECT UCase(Nome), Id FROM T ORDER BY 1 DESC, 2",
                {"PASTILHA|1", "O'BRIEN & SONS|4", "ÁGUA|2", "ÁGUA|3", "ABC|5"}},
        SqlCase{"ORDER BY a Max() by name", "SELECT Max(Nome) AS M FROM T GROUP BY Id ORDER BY Max(Nome) DESC",
                {"Pastilha", "O'Brien & Sons", "ÁGUA", "água", "abc"}},
        SqlCase{"ORDER BY numbers of a UNION whose later SELECT groups",
                "SELECT Min(Nome) AS N, Id FROM T WHERE Id < 3 GROUP BY Id UNION SELECT Max(Nome), Id FROM T "
                "WHERE Id >= 3 GROUP BY Id ORDER BY 1, 2",
                {"abc|5", "ÁGUA|2", "água|3", "O'Brien & Sons|4", "Pastilha|1"}},
        SqlCase{"ORDER BY a number of a UNION ALL, descending",
                "SELECT UCase(Nome) AS N FROM T WHERE Id < 3 UNION ALL SELECT Mid(Nome, 1) FROM T WHERE Id >= 3 ORDER BY 1 DESC",
                {"PASTILHA", "O'Brien & Sons", "ÁGUA", "água", "abc"}},
        SqlCase{"nested joins, innermost first",
                "SELECT T.Id FROM (T INNER JOIN U ON U.a = T.Id) LEFT JOIN T AS T2 ON T2.Id = U.Versao", {"1"}}));

// The statements that change data or structure, checked through what they leave behind.
TEST_F(DaoTest, UpdateAssignsNullInsteadOfTestingForIt) {
    db_.Execute("UPDATE T SET Num = Null, Qt = IIF(Qt = Null, 1, Qt) WHERE Num = '12'");
    EXPECT_EQ(db_.RecordsAffected(), 1);
    EXPECT_EQ(Rows(db_, "SELECT Id, Qt FROM T WHERE Num = Null ORDER BY Id"), (Lines{"2|<null>", "3|0"}));
}

// Statements of the kind the update scripts carry, in Jet's own forms.
TEST_F(DaoTest, ScriptStatementsInJetForms) {
    db_.Execute("ALTER TABLE T ADD COLUMN Obs Text(3)");
    db_.Execute("UPDATE T SET Obs = 'abc' WHERE Id = 1");
    EXPECT_THROW(db_.Execute("UPDATE T SET Obs = 'abcd' WHERE Id = 2"), vb::Error);
    db_.Execute("CREATE UNIQUE INDEX IxNum ON T (Num) WITH DISALLOW NULL");
    EXPECT_THROW(db_.Execute("INSERT INTO T (Id, Num) VALUES (9, 'X1')"), vb::Error);   // JET: 'X1' = 'x1'
    db_.Execute("DROP INDEX IxNum ON T");
    db_.Execute("INSERT INTO T (Id, Num) VALUES (9, 'X1')");
    db_.Execute("DELETE T.* FROM T WHERE Id > 4");
    EXPECT_EQ(db_.RecordsAffected(), 2);
    db_.Execute("DELETE * FROM U");
    EXPECT_EQ(Rows(db_, "SELECT Count(*) FROM T WHERE Obs = 'abc'"), Lines{"1"});
    EXPECT_EQ(Rows(db_, "SELECT Count(*) FROM U"), Lines{"0"});
}

TEST_F(DaoTest, CartTableDdlMapsJetTypes) {
    const std::string t = "Carrinho_20240507_0";
    db_.Execute("CREATE TABLE " + t + "(CodigoProduto         Long     Not Null,"
                "NumeroEmpresaProduto  Text(8)  Null,DescricaoProduto      Text(50) Not Null,"
                "Quantidade            Int      Not Null,CONSTRAINT PK" + t + " PRIMARY KEY(CodigoProduto))");
    db_.Execute("INSERT INTO " + t + "(CodigoProduto,NumeroEmpresaProduto,DescricaoProduto,Quantidade) VALUES(70000,Null,'pé',32000)");
    auto rs = db_.OpenRecordset("SELECT * FROM " + t, dao::dbOpenForwardOnly);
    EXPECT_EQ(rs.Fields("CodigoProduto").Value().Type(), vb::VarType::Long);
    EXPECT_EQ(rs.Fields("Quantidade").Value().Type(), vb::VarType::Long);   // Jet's Int is a Long
    EXPECT_TRUE(rs.Fields("NumeroEmpresaProduto").Value().IsNull());
    EXPECT_EQ(rs.Fields("DescricaoProduto").Value().ToString(), "pé");

    struct Bad { std::string sql; long number; };
    for (const Bad& b : std::vector<Bad>{
             {"INSERT INTO " + t + " VALUES(1,'123456789','x',1)", dao::jet::FieldTooSmall},
             {"INSERT INTO " + t + " VALUES(2,Null,Null,1)", dao::jet::NullNotAllowed},
             {"INSERT INTO " + t + " VALUES(70000,Null,'y',1)", dao::jet::DuplicateKey}}) {
        try {
            db_.Execute(b.sql, dao::dbFailOnError);
            ADD_FAILURE() << b.sql << " was accepted";
        } catch (const vb::Error& e) {
            EXPECT_EQ(e.Number(), b.number) << b.sql << ": " << e.Description();
        }
    }
    // Text(8) counts characters, not bytes.
    EXPECT_NO_THROW(db_.Execute("INSERT INTO " + t + " VALUES(3,'ááááá','z',1)"));
    EXPECT_EQ(Rows(db_, "SELECT Count(*) FROM " + t), Lines{"2"});
}

TEST_F(DaoTest, TextColumnsCompareAndSortWithTheJetCollation) {
    db_.Execute("CREATE TABLE W (Nome Text(10))");
    for (const char* n : {"f", "É", "Z", "éb", "ea", "e", "a", "água", "10", "-x"})
        db_.Execute(std::string("INSERT INTO W VALUES('") + n + "')");
    EXPECT_EQ(Rows(db_, "SELECT Nome FROM W ORDER BY Nome"),
              (Lines{"-x", "10", "a", "água", "e", "É", "ea", "éb", "f", "Z"}));
    // Case does not count in comparisons; accents do.
    EXPECT_EQ(Rows(db_, "SELECT Nome FROM W WHERE Nome = 'E' OR Nome = 'Éb'"), (Lines{"éb", "e"}));
    EXPECT_EQ(Rows(db_, "SELECT Count(*) FROM W WHERE Nome = 'AGUA'"), Lines{"0"});
}

TEST(DaoCollate, OrdersAndEquates) {
    EXPECT_EQ(dao::JetCollate("abc", "ABC"), 0);
    EXPECT_LT(dao::JetCollate("e", "é"), 0);
    EXPECT_LT(dao::JetCollate("é", "f"), 0);
    EXPECT_LT(dao::JetCollate("Éa", "eb"), 0);   // the letters decide before the accents
    EXPECT_LT(dao::JetCollate("ab", "abc"), 0);
    EXPECT_LT(dao::JetCollate("9", "a"), 0);
}

struct LikeCase {
    const char* pattern;
    const char* text;
    bool match;
};

void PrintTo(const LikeCase& c, std::ostream* os) { *os << "'" << c.text << "' LIKE '" << c.pattern << "'"; }

class DaoLikeTest : public ::testing::TestWithParam<LikeCase> {};

TEST_P(DaoLikeTest, Matches) {
    EXPECT_EQ(dao::JetLike(GetParam().pattern, GetParam().text), GetParam().match);
}

INSTANTIATE_TEST_SUITE_P(
    DaoPatterns, DaoLikeTest,
    ::testing::Values(
        LikeCase{"*P[AÁÀÂÄÃª]ST[IÍÌÎÏ]LH[AÁÀÂÄÃª]*", "PASTÍLHA", true},
        LikeCase{"*P[AÁÀÂÄÃª]ST[IÍÌÎÏ]LH[AÁÀÂÄÃª]*", "pastílha", true},
        LikeCase{"*P[AÁÀÂÄÃª]ST[IÍÌÎÏ]LH[AÁÀÂÄÃª]*", "a pastilha nova", true},
        LikeCase{"*P[AÁÀÂÄÃª]ST[IÍÌÎÏ]LH[AÁÀÂÄÃª]*", "PASTELHA", false},
        LikeCase{"e", "é", false},           // accents are significant
        LikeCase{"É*", "éclair", true},      // case is not, also for accented letters
        LikeCase{"a%", "a%", true},
        LikeCase{"a%", "abc", false},
        LikeCase{"a_c", "a_c", true},
        LikeCase{"a_c", "abc", false},
        LikeCase{"[!a]bc", "xbc", true},
        LikeCase{"[!a]bc", "Abc", false},
        LikeCase{"#*", "1abc", true},
        LikeCase{"#*", "abc", false},
        LikeCase{"[a-c]x", "Bx", true},
        LikeCase{"[a-c]x", "dx", false},
        LikeCase{"?", "é", true},            // one character, however many bytes
        LikeCase{"?", "", false},
        LikeCase{"*", "", true},
        LikeCase{"[*]*", "*a", true},
        LikeCase{"[*]*", "a", false},
        LikeCase{"a[]b", "ab", true},
        LikeCase{"*a*b*c", "xxaxxbxxbxc", true},
        LikeCase{"*a*b*c", "xxaxxbxxbx", false},
        LikeCase{"[abc", "a", false},        // an unclosed class matches nothing
        // Plain text between "*" is looked for in the folded text, accents and all.
        LikeCase{"*ÁGUA*", "a água fresca", true},
        LikeCase{"*ÁGUA*", "a agua fresca", false},
        LikeCase{"*ab*", "xxaxab", true},
        LikeCase{"*k*", "\u212A", true},     // KELVIN SIGN folds to k
        LikeCase{"ab*", "a", false},
        LikeCase{"ab*", "AB", true},
        LikeCase{"abc", "ABC", true},
        LikeCase{"abc", "abcd", false},
        LikeCase{"", "", true},
        LikeCase{"", "a", false}));

// Jet SQL of the kind the maker's update scripts carry, where Jet and SQLite part ways: each
// statement does what Jet does with it, or is refused with Jet's error; none does something
// else in silence.
struct ScriptCase {
    const char* what;
    const char* statement;   // run with Execute when check is set, else opened as a query
    const char* check;       // the query that shows what the statement left
    Lines rows;
    long error = 0;          // the Jet error the statement raises instead
};

void PrintTo(const ScriptCase& c, std::ostream* os) { *os << c.what; }

class DaoScriptTest : public DaoTest, public ::testing::WithParamInterface<ScriptCase> {};

TEST_P(DaoScriptTest, BehavesAsJetOrIsRefused) {
    const ScriptCase& c = GetParam();
    try {
        Lines rows;
        if (c.check) {
            db_.Execute(c.statement, dao::dbFailOnError);
            rows = Rows(db_, c.check);
        } else {
            rows = Rows(db_, c.statement);
        }
        EXPECT_EQ(c.error, 0) << c.statement << " was accepted";
        EXPECT_EQ(rows, c.rows) << c.statement << "\n  as SQLite: " << dao::TranslateJetSql(c.statement);
    } catch (const vb::Error& e) {
        EXPECT_EQ(e.Number(), c.error) << c.statement << ": " << e.Description();
        EXPECT_FALSE(e.Description().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    DaoScripts, DaoScriptTest,
    ::testing::Values(
        // "+" joins two texts, Null gives Null, numbers (and texts that read as numbers) add.
        ScriptCase{"+ joins texts", "UPDATE T SET Nome = Nome + '-x' WHERE Id = 1", "SELECT Nome FROM T WHERE Id = 1",
                   {"Pastilha-x"}},
        ScriptCase{"+ with Null gives Null", "UPDATE T SET Nome = Nome + Num WHERE Id = 2",
                   "SELECT Nome FROM T WHERE Id = 2", {"<null>"}},
        ScriptCase{"+ adds numbers", "UPDATE T SET Qt = Qt + 1 + Preco * 2 WHERE Id = 1",
                   "SELECT Qt FROM T WHERE Id = 1", {"9"}},
        ScriptCase{"+ of two text columns, then &", "SELECT Nome + Num & '!' FROM T WHERE Id = 1", nullptr,
                   {"Pastilha1234567!"}},
        ScriptCase{"+ of a number and a text that reads as one", "SELECT Qt + Num, -Qt + 1 FROM T WHERE Id = 3", nullptr,
                   {"12|1"}},
        ScriptCase{"+ of a number and a text that does not", "SELECT Qt + Nome FROM T WHERE Id = 1", nullptr, {},
                   dao::jet::CriteriaTypeMismatch},
        // TOP in a SELECT of a UNION limits that SELECT; the ORDER BY sorts the whole union.
        ScriptCase{"TOP in the first SELECT of a UNION",
                   "INSERT INTO U (Versao, a) SELECT TOP 2 Id, 0 FROM T UNION ALL SELECT Id, 1 FROM T WHERE Id > 3",
                   "SELECT Versao FROM U WHERE Versao <> 7 ORDER BY Versao", {"1", "2", "4", "5"}},
        ScriptCase{"TOP in the SELECTs of a UNION in FROM, inserted",
                   "INSERT INTO U (Versao, a) SELECT X, 2 FROM (SELECT TOP 2 Id AS X FROM T UNION ALL "
                   "SELECT TOP 1 Id FROM T WHERE Id > 3)",
                   "SELECT Versao FROM U WHERE a = 2 ORDER BY Versao", {"1", "2", "4"}},
        ScriptCase{"TOP in both SELECTs of a sorted UNION",
                   "SELECT TOP 1 Nome FROM T UNION SELECT TOP 1 Nome FROM T WHERE Id > 3 ORDER BY 1 DESC", nullptr,
                   {"Pastilha", "O'Brien & Sons"}},
        // #a/b/yyyy# is month first, day first only when a cannot be a month.
        ScriptCase{"a day that cannot be a month comes first",
                   "UPDATE T SET Dia = #31/12/2025# WHERE Id = 1", "SELECT Format(Dia, 'yyyy-mm-dd') FROM T WHERE Id = 1",
                   {"2025-12-31"}},
        ScriptCase{"month first, day first, year first, with times",
                   "SELECT Format(#1/2/2025#, 'yyyy-mm-dd'), Format(#13/1/2025 23:59:59#, 'yyyy-mm-dd hh:nn:ss'), "
                   "Format(#2025-02-28 11:30 PM#, 'yyyy-mm-dd hh:nn'), Format(#2/29/24#, 'yyyy-mm-dd')",
                   nullptr, {"2025-01-02|2025-01-13 23:59:59|2025-02-28 23:30|2024-02-29"}},
        ScriptCase{"a month and day that exist neither way", "SELECT Id FROM T WHERE Dia = #13/13/2025#", nullptr, {},
                   dao::jet::SyntaxError},
        ScriptCase{"the 30th of February", "UPDATE T SET Dia = #2/30/2025# WHERE Id = 1", "SELECT Dia FROM T", {},
                   dao::jet::SyntaxError},
        ScriptCase{"the 29th of February of a common year", "SELECT #2025-02-29#", nullptr, {}, dao::jet::SyntaxError},
        ScriptCase{"an hour that does not exist", "SELECT #12/31/2025 24:00#", nullptr, {}, dao::jet::SyntaxError},
        // Jet's LIKE has no ESCAPE: a wildcard stands for itself in brackets.
        ScriptCase{"LIKE ... ESCAPE", "DELETE FROM T WHERE Nome LIKE 'a!%' ESCAPE '!'", "SELECT Count(*) FROM T", {},
                   dao::jet::SyntaxError},
        ScriptCase{"a wildcard in brackets", "SELECT Id FROM T WHERE Nome LIKE '*[&]*' OR Num LIKE '[*]*'", nullptr,
                   {"4"}},
        // ANY and ALL over a subquery whose column has a name of its own, with TOP and ORDER BY.
        ScriptCase{"ALL over a named column of a sorted TOP",
                   "SELECT Id FROM T WHERE Qt >= ALL (SELECT TOP 2 Qt AS Q FROM T WHERE Qt <> Null ORDER BY Qt DESC)",
                   nullptr, {"4"}},
        ScriptCase{"ANY over a UNION, as a value",
                   "SELECT Id, Id = ANY (SELECT a FROM U UNION SELECT Versao - 3 FROM U) FROM T WHERE Id < 5 ORDER BY Id",
                   nullptr, {"1|-1", "2|0", "3|0", "4|-1"}},
        // Whole division and Mod by zero fail as in VB, rather than store a Null in silence.
        ScriptCase{"whole division by zero", "UPDATE T SET Qt = Qt \\ 0 WHERE Id = 1", "SELECT Qt FROM T WHERE Id = 1",
                   {}, vb::err::DivisionByZero},
        ScriptCase{"Mod zero", "UPDATE T SET Qt = Qt Mod 0.4 WHERE Id = 1", "SELECT Qt FROM T WHERE Id = 1", {},
                   vb::err::DivisionByZero}));

// The named formats are US English whatever the system's language: the scripts' Jet is.
TEST_F(DaoTest, NamedFormatsAreUsEnglishOnAnySystem) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    const Lines rows = Rows(db_, "SELECT Format(1234.5, 'Standard'), Format(-1234.5, 'Currency'), Format(0.5, 'Percent'), "
                                 "Format(#5/7/2024 17:04:05#, 'General Date') FROM U");
    QLocale::setDefault(before);
    EXPECT_EQ(rows, Lines{"1,234.50|($1,234.50)|50.00%|5/7/2024 5:04:05 PM"});
}

// The digit masks of the lists, formatted without the general routine, give what it gives.
TEST_F(DaoTest, FormatOfDigitMasksMatchesVbFormat) {
    db_.Execute("CREATE TABLE F (Texto Text(20), Numero Long)");
    for (const char* v : {"0", "5", "12", "123", "1234567", "12345678", "123456789", "000", "0012", "999999999999999"})
        db_.Execute(std::string("INSERT INTO F VALUES ('") + v + "', " + v + ")");
    for (const char* mask : {"00", "0", "00-00-0000", "000", "0x0"}) {
        auto rs = db_.OpenRecordset(std::string("SELECT Texto, Format(Texto, '") + mask + "'), Format(Numero, '" + mask +
                                        "') FROM F",
                                    dao::dbOpenSnapshot);
        for (; !rs.Eof(); rs.MoveNext()) {
            const std::string esperado = vb::FormatNumber(vb::CDbl(rs.Fields(0).Value().ToString()), mask);
            EXPECT_EQ(rs.Fields(1).Value().ToString(), esperado) << rs.Fields(0).Value().ToString() << " as text, " << mask;
            EXPECT_EQ(rs.Fields(2).Value().ToString(), esperado) << rs.Fields(0).Value().ToString() << " as number, " << mask;
        }
    }
}

// A comparison gives Jet's -1 only where its value is used; where it is tested (WHERE, ON,
// HAVING, IIF's condition, between AND, OR and NOT) it stays as SQLite reads it, so the
// indexes of the catalogue's queries still serve it.
TEST(DaoSqlText, TestedComparisonsStayAsTheyAre) {
    for (const char* tested :
         {"SELECT Id FROM T WHERE Id = 1", "SELECT Id FROM T WHERE ((Id = 1) OR ((Id = 3) AND (Nome & 'x') = 'a'))",
          "SELECT T.Id FROM (T INNER JOIN U ON (U.a = T.Id)) LEFT JOIN T AS T2 ON T2.Id = U.Versao WHERE NOT (T.Id > 3)",
          "SELECT Qt, Count(*) FROM T GROUP BY Qt HAVING (Count(*) > 1) ORDER BY 1",
          "SELECT IIF(Qt > 1 AND (Id < 3), 1, 0) FROM T WHERE Nome LIKE 'a*' AND Id IN (SELECT a FROM U WHERE a > 0)",
          "UPDATE T SET Qt = 1 WHERE (Id = 1) OR (EXISTS (SELECT * FROM U WHERE (U.a = T.Id)))",
          "PRAGMA journal_mode=WAL"}) {
        const std::string sql = dao::TranslateJetSql(tested);
        EXPECT_EQ(sql.find("-("), std::string::npos) << tested << "\n  as SQLite: " << sql;
    }
}

TEST(DaoSqlText, RefusesTextItCannotRead) {
    // Parentheses nested deeper than SQLite's parser takes: refused, not a stack overflow.
    const std::string deep = "SELECT " + std::string(100000, '(') + "1" + std::string(100000, ')');
    for (const std::string& bad : {std::string("SELECT 'abc FROM T"), std::string("SELECT [Nome FROM T"),
                                   std::string("SELECT (1 FROM T"), std::string("SELECT IIF(a, b) FROM T"),
                                   std::string("SELECT a & FROM T"), std::string("SELECT TOP x Id FROM T"),
                                   std::string("SELECT 2 ^ FROM T"), std::string("SELECT Mod 2 FROM T"),
                                   std::string("SELECT Switch(a, 1, b) FROM T"),
                                   std::string("CREATE TABLE Z (a Text(99999999999999999999))"), deep}) {
        try {
            dao::TranslateJetSql(bad);
            ADD_FAILURE() << bad.substr(0, 60) << " was translated";
        } catch (const vb::Error& e) {
            EXPECT_EQ(e.Number(), dao::jet::SyntaxError) << bad.substr(0, 60);
        }
    }
}

}  // namespace
