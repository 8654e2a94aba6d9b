// Jet statements that SQLite 3.15 has no single statement for (JetInstrucoes.h).
//
// A table changed in a way SQLite's ALTER TABLE cannot (a column altered or dropped, a key
// added or dropped) is made anew from the SQL it was created with, which this layer wrote
// (JetSql.cpp): the text between the parentheses is split into its columns and constraints,
// changed, and run again under a passing name; the rows are copied, the old table dropped
// and the new one renamed, and its indexes and triggers made again.
//
// Relationships stay in the tables' SQL as SQLite's REFERENCES clauses, which SQLite does not
// enforce while its foreign_keys setting is off (and that setting cannot change inside the
// update lock's transaction); triggers named zk_fk_... enforce them as Jet does, and are made
// anew from the clauses after every change of a table's design.
#include "platform/dao/JetInstrucoes.h"

#include "platform/dao/Dao.h"
#include "platform/dao/JetSql.h"
#include "platform/vb/Err.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>

namespace dao::detail {

namespace {

// Jet's numbers for what only this file raises.
constexpr long kNullNaChave = 3058;            // "Index or primary key cannot contain a Null value."
constexpr long kRegistroRelacionado = 3200;    // a related record exists
constexpr long kRegistroRequerido = 3201;      // a related record is required
constexpr long kConsultaNaoAtualizavel = 3073;  // "Operation must use an updateable query."
constexpr long kCampoAmbiguo = 3079;           // a field that more than one table has
constexpr long kTabelaDaExclusao = 3128;       // "Specify the table containing the records you want to delete."
constexpr long kCampoNoIndice = 3280;          // a field that is part of an index
constexpr long kChavePrimariaExiste = 3283;    // "Primary key already exists."
constexpr long kParteDeRelacao = 3303;         // a field or table that is part of a relationship
constexpr long kRestricaoNaoEncontrada = 3371; // "Cannot find table or constraint."

const char kMarca = '\x01';   // a VB error raised inside SQLite: \x01number\x01description

[[noreturn]] void erro(long numero, const std::string& descricao) {
    throw vb::Error(numero, descricao, "DAO.Database");
}

std::string maiusculas(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool mesmoNome(const std::string& a, const std::string& b) { return maiusculas(a) == maiusculas(b); }

std::string aspas(const std::string& nome) {
    std::string q = "\"";
    for (char c : nome) q += c == '"' ? std::string("\"\"") : std::string(1, c);
    return q + "\"";
}

std::string literal(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("''") : std::string(1, c);
    return q + "'";
}

std::string junta(const std::vector<std::string>& v, const std::string& sep) {
    std::string o;
    for (size_t i = 0; i < v.size(); ++i) o += (i ? sep : "") + v[i];
    return o;
}

// ---- the connection ------------------------------------------------------------------

struct Instrucao {
    sqlite3_stmt* s = nullptr;
    ~Instrucao() { sqlite3_finalize(s); }
};

using Linha = std::vector<std::optional<std::string>>;

struct Sessao {
    sqlite3* db;
    FalhaSqlite falha;

    void prepara(const std::string& sql, Instrucao& st) {
        int rc = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &st.s, nullptr);
        if (rc != SQLITE_OK) falha(db, rc, sql);
    }
    void executa(const std::string& sql) {
        Instrucao st;
        prepara(sql, st);
        int rc;
        while ((rc = sqlite3_step(st.s)) == SQLITE_ROW) {
        }
        if (rc != SQLITE_DONE) falha(db, rc, sql);
    }
    std::vector<Linha> consulta(const std::string& sql) {
        Instrucao st;
        prepara(sql, st);
        std::vector<Linha> linhas;
        int rc;
        while ((rc = sqlite3_step(st.s)) == SQLITE_ROW) {
            Linha l;
            for (int i = 0; i < sqlite3_column_count(st.s); ++i) {
                const unsigned char* p = sqlite3_column_text(st.s, i);
                if (p) l.emplace_back(reinterpret_cast<const char*>(p));
                else l.emplace_back(std::nullopt);
            }
            linhas.push_back(std::move(l));
        }
        if (rc != SQLITE_DONE) falha(db, rc, sql);
        return linhas;
    }
    long long numero(const std::string& sql) {
        auto l = consulta(sql);
        return l.empty() || l[0].empty() || !l[0][0] ? 0 : std::stoll(*l[0][0]);
    }
};

// ---- a table's SQL as this layer wrote it ----------------------------------------------

// One item between the parentheses of CREATE TABLE: a column or a table constraint.
struct Parte {
    std::string texto;
    std::string nome;   // the column's, or the constraint's ("" for one without a name)
    bool coluna = false;
};

struct Esquema {
    std::string tabela;
    std::string cabeca;   // "CREATE TABLE name"
    std::vector<Parte> partes;
    std::string cauda;    // after the closing parenthesis
};

// A word of SQLite's SQL with its place in the text.
struct Pedaco {
    size_t ini = 0, fim = 0;
    std::string texto;    // a name without its quotes
    bool palavra = false; // a name or keyword (quoted or not)
    bool citado = false;  // written in quotes or brackets: never a keyword
};

std::vector<Pedaco> pedacos(const std::string& s) {
    std::vector<Pedaco> out;
    size_t i = 0;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (std::isspace(c)) { ++i; continue; }
        Pedaco p;
        p.ini = i;
        if (c == '\'' || c == '"' || c == '`' || c == '[') {
            const char fecha = c == '[' ? ']' : static_cast<char>(c);
            size_t j = i + 1;
            for (;;) {
                if (j >= s.size()) break;
                if (s[j] == fecha) {
                    if (fecha != ']' && j + 1 < s.size() && s[j + 1] == fecha) { p.texto += fecha; j += 2; continue; }
                    break;
                }
                p.texto += s[j++];
            }
            p.fim = std::min(j + 1, s.size());
            p.palavra = c != '\'';
            p.citado = true;
        } else if (std::isalnum(c) || c == '_' || c >= 0x80) {
            size_t j = i;
            while (j < s.size() && (std::isalnum(static_cast<unsigned char>(s[j])) || s[j] == '_' ||
                                    static_cast<unsigned char>(s[j]) >= 0x80))
                ++j;
            p.texto = s.substr(i, j - i);
            p.fim = j;
            p.palavra = true;
        } else {
            p.texto = std::string(1, static_cast<char>(c));
            p.fim = i + 1;
        }
        i = p.fim;
        out.push_back(std::move(p));
    }
    return out;
}

bool ehChave(const Pedaco& p, std::string_view kw) { return p.palavra && !p.citado && maiusculas(p.texto) == kw; }

Esquema leEsquema(const std::string& tabela, const std::string& sql) {
    Esquema e;
    e.tabela = tabela;
    auto ps = pedacos(sql);
    size_t abre = 0;
    while (abre < ps.size() && !(ps[abre].texto == "(" && !ps[abre].palavra)) ++abre;
    if (abre == ps.size()) erro(jet::ReservedError, "The design of table '" + tabela + "' cannot be read.");
    e.cabeca = sql.substr(0, ps[abre].ini);
    int nivel = 0;
    size_t inicio = ps[abre].fim;
    for (size_t k = abre; k < ps.size(); ++k) {
        const Pedaco& p = ps[k];
        if (p.palavra || p.texto.size() != 1) continue;
        if (p.texto == "(") ++nivel;
        else if (p.texto == ")") {
            if (--nivel == 0) {
                Parte parte;
                parte.texto = sql.substr(inicio, p.ini - inicio);
                e.partes.push_back(parte);
                e.cauda = sql.substr(p.fim);
                break;
            }
        } else if (p.texto == "," && nivel == 1) {
            Parte parte;
            parte.texto = sql.substr(inicio, p.ini - inicio);
            e.partes.push_back(parte);
            inicio = p.fim;
        }
    }
    for (Parte& parte : e.partes) {
        auto pp = pedacos(parte.texto);
        if (pp.empty()) continue;
        static const char* restricoes[] = {"CONSTRAINT", "PRIMARY", "UNIQUE", "FOREIGN", "CHECK"};
        bool restricao = false;
        for (const char* r : restricoes) restricao = restricao || ehChave(pp[0], r);
        parte.coluna = !restricao;
        if (parte.coluna) parte.nome = pp[0].texto;
        else if (ehChave(pp[0], "CONSTRAINT") && pp.size() > 1) parte.nome = pp[1].texto;
    }
    return e;
}

std::string textoEsquema(const Esquema& e, const std::string& nome) {
    std::vector<std::string> partes;
    for (const Parte& p : e.partes) partes.push_back(p.texto);
    return "CREATE TABLE " + aspas(nome) + "(" + junta(partes, ",") + ")" + e.cauda;
}

Parte* coluna(Esquema& e, const std::string& nome) {
    for (Parte& p : e.partes)
        if (p.coluna && mesmoNome(p.nome, nome)) return &p;
    return nullptr;
}

// The words that begin a column constraint in SQLite's SQL.
bool iniciaRestricao(const std::vector<Pedaco>& pp, size_t k) {
    static const char* chaves[] = {"CONSTRAINT", "NOT", "DEFAULT", "COLLATE", "CHECK", "PRIMARY", "UNIQUE", "REFERENCES"};
    for (const char* c : chaves)
        if (ehChave(pp[k], c)) return true;
    // NULL (a column that takes Null), but not the one of SET NULL.
    return ehChave(pp[k], "NULL") && !(k > 0 && ehChave(pp[k - 1], "SET")) && !(k > 0 && ehChave(pp[k - 1], "NOT"));
}

// Cuts the named column constraint out of a column's text; false when it has none of that name.
bool cortaRestricaoDaColuna(Parte& p, const std::string& nome) {
    auto pp = pedacos(p.texto);
    for (size_t k = 0; k + 1 < pp.size(); ++k) {
        if (!ehChave(pp[k], "CONSTRAINT") || !mesmoNome(pp[k + 1].texto, nome)) continue;
        size_t fim = p.texto.size();
        int nivel = 0;
        for (size_t m = k + 3; m < pp.size(); ++m) {
            if (!pp[m].palavra && pp[m].texto == "(") ++nivel;
            else if (!pp[m].palavra && pp[m].texto == ")") --nivel;
            else if (nivel == 0 && iniciaRestricao(pp, m)) {
                fim = pp[m].ini;
                break;
            }
        }
        p.texto = p.texto.substr(0, pp[k].ini) + p.texto.substr(fim);
        return true;
    }
    return false;
}

// Cuts every key, unique and reference constraint out of a column's text, and gives them.
std::string cortaChavesDaColuna(std::string& texto) {
    auto pp = pedacos(texto);
    std::string guardadas, resto;
    size_t desde = 0;
    size_t k = 0;
    while (k < pp.size()) {
        size_t ini = k;
        if (ehChave(pp[k], "CONSTRAINT") && k + 2 < pp.size()) k += 2;
        if (k < pp.size() && (ehChave(pp[k], "PRIMARY") || ehChave(pp[k], "UNIQUE") || ehChave(pp[k], "REFERENCES"))) {
            size_t fim = texto.size();
            int nivel = 0;
            for (size_t m = k + 1; m < pp.size(); ++m) {
                if (!pp[m].palavra && pp[m].texto == "(") ++nivel;
                else if (!pp[m].palavra && pp[m].texto == ")") --nivel;
                else if (nivel == 0 && iniciaRestricao(pp, m)) {
                    fim = pp[m].ini;
                    k = m;
                    break;
                }
                if (m + 1 == pp.size()) k = pp.size();
            }
            if (fim == texto.size()) k = pp.size();
            resto += texto.substr(desde, pp[ini].ini - desde);
            guardadas += " " + texto.substr(pp[ini].ini, fim - pp[ini].ini);
            desde = fim;
            continue;
        }
        k = ini + 1;
    }
    resto += texto.substr(desde);
    texto = resto;
    return guardadas;
}

std::optional<std::string> sqlDaTabela(Sessao& s, const std::string& tabela, std::string* nomeGuardado = nullptr) {
    auto l = s.consulta("SELECT name, sql FROM sqlite_master WHERE type='table' AND name=" + literal(tabela) +
                        " COLLATE NOCASE");
    if (l.empty() || !l[0][1]) return std::nullopt;
    if (nomeGuardado) *nomeGuardado = *l[0][0];
    return *l[0][1];
}

[[noreturn]] void tabelaInexistente(const std::string& tabela) {
    erro(jet::NoSuchTable, "The database engine cannot find the input table or query '" + tabela +
                               "'. Make sure it exists and that its name is spelled correctly.");
}

Esquema esquemaDe(Sessao& s, const std::string& tabela) {
    std::string nome;
    auto sql = sqlDaTabela(s, tabela, &nome);
    if (!sql) tabelaInexistente(tabela);
    return leEsquema(nome, *sql);
}

struct InfoColuna {
    std::string nome, tipo;
    bool naoNulo = false;
    int pk = 0;
};

std::vector<InfoColuna> colunasDe(Sessao& s, const std::string& tabela) {
    std::vector<InfoColuna> out;
    for (auto& l : s.consulta("PRAGMA table_info(" + aspas(tabela) + ")"))
        out.push_back({l[1].value_or(""), l[2].value_or(""), l[3].value_or("0") != "0", std::stoi(l[5].value_or("0"))});
    return out;
}

bool ehContador(const std::string& tipo) {
    const std::string t = maiusculas(tipo);
    return t == "INTEGER" || t == "COUNTER INTEGER";
}

// A relationship as SQLite keeps it (PRAGMA foreign_key_list).
struct Relacao {
    std::string filha, mae;
    std::vector<std::string> de, para;
    std::string aoAtualizar, aoExcluir;
    int id = 0;
};

std::vector<std::string> chavePrimaria(Sessao& s, const std::string& tabela) {
    std::vector<std::pair<int, std::string>> pk;
    for (auto& c : colunasDe(s, tabela))
        if (c.pk) pk.push_back({c.pk, c.nome});
    std::sort(pk.begin(), pk.end());
    std::vector<std::string> out;
    for (auto& p : pk) out.push_back(p.second);
    return out;
}

std::vector<Relacao> relacoesDe(Sessao& s, const std::string& filha) {
    std::map<int, Relacao> porId;
    for (auto& l : s.consulta("PRAGMA foreign_key_list(" + aspas(filha) + ")")) {
        Relacao& r = porId[std::stoi(l[0].value_or("0"))];
        r.id = std::stoi(l[0].value_or("0"));
        r.filha = filha;
        r.mae = l[2].value_or("");
        r.de.push_back(l[3].value_or(""));
        if (l[4]) r.para.push_back(*l[4]);
        r.aoAtualizar = maiusculas(l[5].value_or(""));
        r.aoExcluir = maiusculas(l[6].value_or(""));
    }
    std::vector<Relacao> out;
    for (auto& [id, r] : porId) {
        std::string nomeMae;
        if (sqlDaTabela(s, r.mae, &nomeMae)) r.mae = nomeMae;
        if (r.para.empty()) r.para = chavePrimaria(s, r.mae);
        out.push_back(r);
    }
    return out;
}

std::vector<std::string> tabelasComRelacoes(Sessao& s) {
    std::vector<std::string> out;
    for (auto& l : s.consulta("SELECT name FROM sqlite_master WHERE type='table' AND instr(upper(sql),'REFERENCES')>0"))
        out.push_back(l[0].value_or(""));
    return out;
}

std::vector<Relacao> todasAsRelacoes(Sessao& s) {
    std::vector<Relacao> out;
    for (const std::string& t : tabelasComRelacoes(s))
        for (Relacao& r : relacoesDe(s, t)) out.push_back(r);
    return out;
}

std::string levanta(long numero, const std::string& descricao) {
    return "SELECT RAISE(ABORT, " + literal(std::string(1, kMarca) + std::to_string(numero) + kMarca + descricao) + ");";
}

// col1 = ref.col1 AND ...
std::string iguais(const std::string& a, const std::vector<std::string>& ca, const std::string& b,
                   const std::vector<std::string>& cb) {
    std::vector<std::string> termos;
    for (size_t i = 0; i < ca.size() && i < cb.size(); ++i)
        termos.push_back(a + "." + aspas(ca[i]) + " = " + b + "." + aspas(cb[i]));
    return junta(termos, " AND ");
}

// The triggers of the relationships, made anew from the tables' SQL.
void sincronizaRelacoes(Sessao& s) {
    for (auto& l : s.consulta("SELECT name FROM sqlite_master WHERE type='trigger' AND substr(name,1,6)='zk_fk_'"))
        s.executa("DROP TRIGGER " + aspas(l[0].value_or("")));
    for (const Relacao& r : todasAsRelacoes(s)) {
        if (!sqlDaTabela(s, r.mae) || r.para.size() != r.de.size()) continue;
        const std::string base = "zk_fk_" + r.filha + "_" + std::to_string(r.id) + "_";
        const std::string filha = aspas(r.filha), mae = aspas(r.mae);
        std::vector<std::string> novosNaoNulos, mudou;
        for (const auto& c : r.de) novosNaoNulos.push_back("new." + aspas(c) + " IS NOT NULL");
        for (const auto& c : r.para) mudou.push_back("new." + aspas(c) + " IS NOT old." + aspas(c));
        const std::string exigida =
            " WHEN " + junta(novosNaoNulos, " AND ") + " AND NOT EXISTS (SELECT 1 FROM " + mae + " WHERE " +
            iguais(mae, r.para, "new", r.de) + ") BEGIN " +
            levanta(kRegistroRequerido, "You cannot add or change a record because a related record is required in table '" +
                                            r.mae + "'.") +
            " END";
        std::vector<std::string> colunasFilha, colunasMae;
        for (const auto& c : r.de) colunasFilha.push_back(aspas(c));
        for (const auto& c : r.para) colunasMae.push_back(aspas(c));
        s.executa("CREATE TRIGGER " + aspas(base + "ci") + " BEFORE INSERT ON " + filha + exigida);
        s.executa("CREATE TRIGGER " + aspas(base + "cu") + " BEFORE UPDATE OF " + junta(colunasFilha, ",") + " ON " +
                  filha + exigida);
        const std::string filhasDe = " FROM " + filha + " WHERE " + iguais(filha, r.de, "old", r.para);
        const std::string relacionados =
            levanta(kRegistroRelacionado, "The record cannot be deleted or changed because table '" + r.filha +
                                              "' includes related records.");
        std::vector<std::string> nulos, novos;
        for (size_t i = 0; i < r.de.size(); ++i) {
            nulos.push_back(aspas(r.de[i]) + " = NULL");
            novos.push_back(aspas(r.de[i]) + " = new." + aspas(r.para[i]));
        }
        const std::string ondeFilhas = " WHERE " + iguais(filha, r.de, "old", r.para);
        if (r.aoExcluir == "CASCADE")
            s.executa("CREATE TRIGGER " + aspas(base + "pd") + " AFTER DELETE ON " + mae + " BEGIN DELETE" + filhasDe + "; END");
        else if (r.aoExcluir == "SET NULL")
            s.executa("CREATE TRIGGER " + aspas(base + "pd") + " AFTER DELETE ON " + mae + " BEGIN UPDATE " + filha +
                      " SET " + junta(nulos, ", ") + ondeFilhas + "; END");
        else
            s.executa("CREATE TRIGGER " + aspas(base + "pd") + " BEFORE DELETE ON " + mae + " WHEN EXISTS (SELECT 1" +
                      filhasDe + ") BEGIN " + relacionados + " END");
        const std::string deMae = " UPDATE OF " + junta(colunasMae, ",") + " ON " + mae + " WHEN (" + junta(mudou, " OR ") + ")";
        if (r.aoAtualizar == "CASCADE")
            s.executa("CREATE TRIGGER " + aspas(base + "pu") + " AFTER" + deMae + " BEGIN UPDATE " + filha + " SET " +
                      junta(novos, ", ") + ondeFilhas + "; END");
        else if (r.aoAtualizar == "SET NULL")
            s.executa("CREATE TRIGGER " + aspas(base + "pu") + " AFTER" + deMae + " BEGIN UPDATE " + filha + " SET " +
                      junta(nulos, ", ") + ondeFilhas + "; END");
        else
            s.executa("CREATE TRIGGER " + aspas(base + "pu") + " BEFORE" + deMae + " AND EXISTS (SELECT 1" + filhasDe +
                      ") BEGIN " + relacionados + " END");
    }
}

bool haRelacoes(Sessao& s) {
    return s.numero("SELECT count(*) FROM sqlite_master WHERE (type='trigger' AND substr(name,1,6)='zk_fk_') OR "
                    "(type='table' AND instr(upper(sql),'REFERENCES')>0)") > 0;
}

// ---- tables made anew ----------------------------------------------------------------

struct IgnoraVerificacoes {
    Sessao& s;
    explicit IgnoraVerificacoes(Sessao& se) : s(se) { s.executa("PRAGMA ignore_check_constraints=1"); }
    ~IgnoraVerificacoes() { sqlite3_exec(s.db, "PRAGMA ignore_check_constraints=0", nullptr, nullptr, nullptr); }
};

// Makes the table anew with the design altera leaves. The rows of the columns that stay are
// copied as they are (the checks of the old rows are not made again: a field that became
// required keeps the Nulls of the rows before, as Jet keeps them); the caller checks what a
// new constraint asks of them. Triggers of a column that goes (its counter) go with it.
void reconstroi(Sessao& s, const std::string& tabela, const std::function<void(Esquema&)>& altera) {
    Esquema e = esquemaDe(s, tabela);
    std::vector<std::string> antigas;
    for (const Parte& p : e.partes)
        if (p.coluna) antigas.push_back(p.nome);
    auto indices = s.consulta("SELECT name, sql FROM sqlite_master WHERE type='index' AND tbl_name=" +
                              literal(e.tabela) + " AND sql IS NOT NULL ORDER BY rowid");
    auto gatilhos = s.consulta("SELECT name, sql FROM sqlite_master WHERE type='trigger' AND tbl_name=" +
                               literal(e.tabela) + " AND substr(name,1,6)<>'zk_fk_' ORDER BY rowid");
    altera(e);
    std::vector<std::string> comuns;
    std::set<std::string> novas;
    for (const Parte& p : e.partes)
        if (p.coluna) novas.insert(maiusculas(p.nome));
    for (const std::string& c : antigas)
        if (novas.count(maiusculas(c))) comuns.push_back(aspas(c));
    if (novas.empty()) erro(jet::ReservedError, "A table needs at least one field.");
    const std::string passagem = "zk_reconstrucao";
    s.executa("DROP TABLE IF EXISTS " + aspas(passagem));
    s.executa(textoEsquema(e, passagem));
    {
        IgnoraVerificacoes ignora(s);
        s.executa("INSERT INTO " + aspas(passagem) + " (" + junta(comuns, ",") + ") SELECT " + junta(comuns, ",") +
                  " FROM " + aspas(e.tabela));
    }
    s.executa("DROP TABLE " + aspas(e.tabela));
    s.executa("ALTER TABLE " + aspas(passagem) + " RENAME TO " + aspas(e.tabela));
    for (auto& l : indices) s.executa(*l[1]);
    for (auto& l : gatilhos) {
        const std::string nome = l[0].value_or("");
        bool daColunaQueSaiu = false;
        for (const std::string& c : antigas)
            if (!novas.count(maiusculas(c)) && mesmoNome(nome, "zk_ct_" + e.tabela + "_" + c)) daColunaQueSaiu = true;
        if (!daColunaQueSaiu && l[1]) s.executa(*l[1]);
    }
}

// ---- Jet tokens ------------------------------------------------------------------------

std::string textoJet(const std::vector<Token>& t, int b, int e) {
    std::string o;
    for (int i = b; i < e; ++i) {
        const Token& k = t[static_cast<size_t>(i)];
        if (i > b && k.spaceBefore) o += ' ';
        switch (k.kind) {
        case Tok::String: o += literal(k.text); break;
        case Tok::Bracket: o += "[" + k.text + "]"; break;
        case Tok::Date: o += "#" + k.text + "#"; break;
        default:
            // Two words written apart stay apart.
            if (i > b && !k.spaceBefore && !o.empty() &&
                (std::isalnum(static_cast<unsigned char>(o.back())) || o.back() == '_') &&
                (k.kind == Tok::Word || k.kind == Tok::Number))
                o += ' ';
            o += k.text;
        }
    }
    return o;
}

bool simbolo(const std::vector<Token>& t, int i, std::string_view s) {
    return i >= 0 && i < static_cast<int>(t.size()) && t[static_cast<size_t>(i)].kind == Tok::Symbol &&
           t[static_cast<size_t>(i)].text == s;
}

bool palavra(const std::vector<Token>& t, int i, std::string_view kw) {
    return i >= 0 && i < static_cast<int>(t.size()) && IsWord(t[static_cast<size_t>(i)], kw);
}

bool ehNome(const std::vector<Token>& t, int i) {
    return i >= 0 && i < static_cast<int>(t.size()) &&
           (t[static_cast<size_t>(i)].kind == Tok::Word || t[static_cast<size_t>(i)].kind == Tok::Bracket);
}

[[noreturn]] void sintaxe(const std::string& o) {
    erro(jet::SyntaxError, "Syntax error in " + o + ".");
}

// The closing parenthesis of the one at i.
int fechamento(const std::vector<Token>& t, int i, int e) {
    int nivel = 0;
    for (int k = i; k < e; ++k) {
        if (simbolo(t, k, "(")) ++nivel;
        else if (simbolo(t, k, ")") && --nivel == 0) return k;
    }
    sintaxe("parentheses");
}

// The first of the words at depth 0 in [b, e), or e.
int procura(const std::vector<Token>& t, int b, int e, std::initializer_list<std::string_view> kws) {
    for (int i = b; i < e; ++i) {
        if (simbolo(t, i, "(")) { i = fechamento(t, i, e); continue; }
        if (simbolo(t, i - 1, ".") || simbolo(t, i + 1, ".")) continue;
        for (auto kw : kws)
            if (palavra(t, i, kw)) return i;
    }
    return e;
}

std::vector<std::pair<int, int>> porVirgulas(const std::vector<Token>& t, int b, int e) {
    std::vector<std::pair<int, int>> out;
    int ini = b;
    for (int i = b; i < e; ++i) {
        if (simbolo(t, i, "(")) { i = fechamento(t, i, e); continue; }
        if (simbolo(t, i, ",")) { out.push_back({ini, i}); ini = i + 1; }
    }
    if (ini < e || !out.empty()) out.push_back({ini, e});
    return out;
}

// The names of a "(a, b DESC)" list of columns, without the order words.
std::vector<std::string> nomesDaLista(const std::vector<Token>& t, int b, int e) {
    std::vector<std::string> out;
    for (auto [ib, ie] : porVirgulas(t, b, e)) {
        if (ib >= ie || !ehNome(t, ib)) sintaxe("a list of fields");
        out.push_back(t[static_cast<size_t>(ib)].text);
    }
    return out;
}

std::vector<std::string> aspasDe(const std::vector<std::string>& nomes) {
    std::vector<std::string> out;
    for (const auto& n : nomes) out.push_back(aspas(n));
    return out;
}

// Words after which a name is no alias.
bool palavraDeJuncao(const Token& k) {
    static const char* w[] = {"ON", "INNER", "LEFT", "RIGHT", "OUTER", "JOIN", "WHERE", "GROUP", "ORDER", "HAVING",
                              "UNION", "SET", "CROSS", "FULL", "IN", "INTO", "FROM", "SELECT", "AS"};
    for (const char* x : w)
        if (IsWord(k, x)) return true;
    return false;
}

struct RefTabela {
    std::string tabela, apelido;
    std::string nome() const { return apelido.empty() ? tabela : apelido; }
};

// The tables named in a FROM list or join (a derived table gives 3073 when asked to).
std::vector<RefTabela> tabelasDaJuncao(const std::vector<Token>& t, int b, int e, bool soTabelas) {
    std::vector<RefTabela> out;
    for (int i = b; i < e; ++i) {
        const bool inicio = i == b || simbolo(t, i - 1, "(") || palavra(t, i - 1, "JOIN") || simbolo(t, i - 1, ",");
        if (!inicio) continue;
        if (simbolo(t, i, "(") && palavra(t, i + 1, "SELECT")) {
            if (soTabelas) erro(kConsultaNaoAtualizavel, "Operation must use an updateable query.");
            i = fechamento(t, i, e);
            continue;
        }
        if (!ehNome(t, i) || (t[static_cast<size_t>(i)].kind == Tok::Word && palavraDeJuncao(t[static_cast<size_t>(i)])))
            continue;
        RefTabela r;
        r.tabela = t[static_cast<size_t>(i)].text;
        int k = i + 1;
        if (palavra(t, k, "AS")) ++k;
        if (ehNome(t, k) && !(t[static_cast<size_t>(k)].kind == Tok::Word && palavraDeJuncao(t[static_cast<size_t>(k)])))
            r.apelido = t[static_cast<size_t>(k)].text;
        out.push_back(r);
    }
    return out;
}

bool temJuncao(const std::vector<Token>& t, int b, int e) {
    for (int i = b; i < e; ++i)
        if (palavra(t, i, "JOIN") || simbolo(t, i, ",")) return true;
    return false;
}

// ---- the statements ------------------------------------------------------------------

std::string traduzColuna(const std::string& jet) {
    const std::string sql = TranslateJetSql("CREATE TABLE zk_c (" + jet + ")");
    const std::string cabeca = "CREATE TABLE zk_c(";
    if (sql.compare(0, cabeca.size(), cabeca) != 0 || sql.back() != ')') sintaxe("a field definition");
    return sql.substr(cabeca.size(), sql.size() - cabeca.size() - 1);
}

std::string naoNulos(const std::vector<std::string>& colunas) {
    std::vector<std::string> t;
    for (const auto& c : colunas) t.push_back(aspas(c) + " IS NOT NULL");
    return junta(t, " AND ");
}

void verificaNulos(Sessao& s, const std::string& tabela, const std::vector<std::string>& colunas) {
    std::vector<std::string> t;
    for (const auto& c : colunas) t.push_back(aspas(c) + " IS NULL");
    if (s.numero("SELECT count(*) FROM " + aspas(tabela) + " WHERE " + junta(t, " OR ")) > 0)
        erro(kNullNaChave, "Index or primary key cannot contain a Null value.");
}

// The name of the table's primary key ("" when it has none, or one without a name).
std::string nomeDaChavePrimaria(const Esquema& e) {
    for (const Parte& p : e.partes) {
        auto pp = pedacos(p.texto);
        for (size_t k = 0; k < pp.size(); ++k)
            if (ehChave(pp[k], "PRIMARY")) return k >= 2 && ehChave(pp[k - 2], "CONSTRAINT") ? pp[k - 1].texto : "";
    }
    return "";
}

bool temChavePrimaria(Sessao& s, const std::string& tabela) {
    for (const auto& c : colunasDe(s, tabela))
        if (c.pk) return true;
    return false;
}

// A primary key (ADD CONSTRAINT ... PRIMARY KEY, CREATE INDEX ... WITH PRIMARY): unique and
// without Null, the rows there checked for both.
void adicionaChavePrimaria(Sessao& s, const std::string& tabela, const std::string& nome,
                           const std::vector<std::string>& colunas, const std::string& listaSql) {
    Esquema e = esquemaDe(s, tabela);
    if (temChavePrimaria(s, e.tabela)) erro(kChavePrimariaExiste, "Primary key already exists.");
    for (const auto& c : colunas)
        if (!coluna(e, c)) erro(jet::TooFewParameters, "The field '" + c + "' does not exist in table '" + e.tabela + "'.");
    verificaNulos(s, e.tabela, colunas);
    // A counter numbers its rows itself: it may come Null and get its number after.
    std::vector<std::string> semContador;
    for (const auto& c : colunasDe(s, e.tabela))
        for (const auto& k : colunas)
            if (mesmoNome(c.nome, k) && !ehContador(c.tipo)) semContador.push_back(c.nome);
    reconstroi(s, e.tabela, [&](Esquema& n) {
        n.partes.push_back({"CONSTRAINT " + aspas(nome) + " PRIMARY KEY (" + listaSql + ")", nome, false});
        if (!semContador.empty())
            n.partes.push_back({"CONSTRAINT " + aspas("zk_nulo_" + nome) + " CHECK(" + naoNulos(semContador) + ")",
                                "zk_nulo_" + nome, false});
    });
}

void adicionaRelacao(Sessao& s, const std::string& tabela, const std::string& nome, const std::vector<std::string>& de,
                     const std::vector<Token>& t, int refIni, int refFim) {
    // REFERENCES mae [(cols)] [ON UPDATE|DELETE CASCADE|SET NULL]...
    if (!palavra(t, refIni, "REFERENCES") || !ehNome(t, refIni + 1)) sintaxe("CONSTRAINT clause");
    std::string mae;
    if (!sqlDaTabela(s, t[static_cast<size_t>(refIni + 1)].text, &mae)) tabelaInexistente(t[static_cast<size_t>(refIni + 1)].text);
    int i = refIni + 2;
    std::vector<std::string> para;
    if (simbolo(t, i, "(")) {
        int f = fechamento(t, i, refFim);
        para = nomesDaLista(t, i + 1, f);
        i = f + 1;
    } else {
        para = chavePrimaria(s, mae);
    }
    if (para.size() != de.size()) erro(jet::ReservedError, "The fields of relationship '" + nome + "' do not match those of table '" + mae + "'.");
    std::string acoes;
    while (i < refFim) {
        if (!palavra(t, i, "ON") || !(palavra(t, i + 1, "UPDATE") || palavra(t, i + 1, "DELETE"))) sintaxe("CONSTRAINT clause");
        const std::string quando = maiusculas(t[static_cast<size_t>(i + 1)].text);
        if (palavra(t, i + 2, "CASCADE")) { acoes += " ON " + quando + " CASCADE"; i += 3; }
        else if (palavra(t, i + 2, "SET") && palavra(t, i + 3, "NULL")) { acoes += " ON " + quando + " SET NULL"; i += 4; }
        else if (palavra(t, i + 2, "NO") && palavra(t, i + 3, "ACTION")) { i += 4; }
        else sintaxe("CONSTRAINT clause");
    }
    Esquema e = esquemaDe(s, tabela);
    for (const auto& c : de)
        if (!coluna(e, c)) erro(jet::TooFewParameters, "The field '" + c + "' does not exist in table '" + e.tabela + "'.");
    // The rows there must have their related rows, as Jet checks when it makes the relationship.
    std::vector<std::string> naoNulas;
    for (const auto& c : de) naoNulas.push_back(aspas(e.tabela) + "." + aspas(c) + " IS NOT NULL");
    if (s.numero("SELECT count(*) FROM " + aspas(e.tabela) + " WHERE " + junta(naoNulas, " AND ") +
                 " AND NOT EXISTS (SELECT 1 FROM " + aspas(mae) + " WHERE " + iguais(aspas(mae), para, aspas(e.tabela), de) + ")") > 0)
        erro(kRegistroRequerido, "You cannot add or change a record because a related record is required in table '" + mae + "'.");
    reconstroi(s, e.tabela, [&](Esquema& n) {
        n.partes.push_back({"CONSTRAINT " + aspas(nome) + " FOREIGN KEY (" + junta(aspasDe(de), ",") + ") REFERENCES " +
                                aspas(mae) + " (" + junta(aspasDe(para), ",") + ")" + acoes,
                            nome, false});
    });
}

// DROP CONSTRAINT / DROP INDEX of a key made here: the index, the constraint of the table
// (a primary key, unique, a relationship) and its Null check. False when there is none.
bool removeRestricao(Sessao& s, const std::string& tabela, const std::string& nome) {
    Esquema e = esquemaDe(s, tabela);
    bool achou = false;
    auto indice = s.consulta("SELECT name FROM sqlite_master WHERE type='index' AND tbl_name=" + literal(e.tabela) +
                             " AND name=" + literal(nome) + " COLLATE NOCASE");
    if (!indice.empty()) {
        s.executa("DROP INDEX " + aspas(*indice[0][0]));
        achou = true;
    }
    bool naTabela = false;
    for (const Parte& p : e.partes)
        if (!p.coluna && (mesmoNome(p.nome, nome) || mesmoNome(p.nome, "zk_nulo_" + nome))) naTabela = true;
    for (Parte& p : e.partes)
        if (p.coluna && pedacos(p.texto).size() > 2) {
            Parte copia = p;
            if (cortaRestricaoDaColuna(copia, nome)) naTabela = true;
        }
    if (naTabela) {
        reconstroi(s, e.tabela, [&](Esquema& n) {
            std::vector<Parte> ficam;
            for (Parte& p : n.partes) {
                if (!p.coluna && (mesmoNome(p.nome, nome) || mesmoNome(p.nome, "zk_nulo_" + nome))) continue;
                if (p.coluna) cortaRestricaoDaColuna(p, nome);
                ficam.push_back(p);
            }
            n.partes = ficam;
        });
        achou = true;
    }
    return achou;
}

void numeraContador(Sessao& s, const std::string& tabela, const std::string& col, long long semente, long long passo) {
    const std::string t = aspas(tabela), c = aspas(col);
    // The rows there get their numbers in the order they were added.
    {
        Instrucao sel, upd;
        s.prepara("SELECT rowid FROM " + t + " WHERE " + c + " IS NULL ORDER BY rowid", sel);
        s.prepara("UPDATE " + t + " SET " + c + " = ? WHERE rowid = ?", upd);
        long long proximo = semente;
        auto maior = s.consulta("SELECT " + std::string(passo < 0 ? "min(" : "max(") + c + ") FROM " + t);
        if (!maior.empty() && maior[0][0]) proximo = std::stoll(*maior[0][0]) + passo;
        int rc;
        while ((rc = sqlite3_step(sel.s)) == SQLITE_ROW) {
            sqlite3_bind_int64(upd.s, 1, proximo);
            sqlite3_bind_int64(upd.s, 2, sqlite3_column_int64(sel.s, 0));
            if (sqlite3_step(upd.s) != SQLITE_DONE) s.falha(s.db, sqlite3_errcode(s.db), "UPDATE");
            sqlite3_reset(upd.s);
            proximo += passo;
        }
        if (rc != SQLITE_DONE) s.falha(s.db, rc, "SELECT");
    }
    s.executa("DROP TRIGGER IF EXISTS " + aspas("zk_ct_" + tabela + "_" + col));
    s.executa("CREATE TRIGGER " + aspas("zk_ct_" + tabela + "_" + col) + " AFTER INSERT ON " + t + " WHEN new." + c +
              " IS NULL BEGIN UPDATE " + t + " SET " + c + " = coalesce((SELECT " + (passo < 0 ? "min(" : "max(") + c +
              ") FROM " + t + ") + (" + std::to_string(passo) + "), " + std::to_string(semente) +
              ") WHERE rowid = new.rowid; END");
}

// A counter column of a Jet column definition [b, e): its seed and step.
bool contadorDaDefinicao(const std::vector<Token>& t, int b, int e, long long& semente, long long& passo) {
    if (e - b < 2) return false;
    const Token& tipo = t[static_cast<size_t>(b + 1)];
    if (!IsWord(tipo, "COUNTER") && !IsWord(tipo, "AUTOINCREMENT") && !IsWord(tipo, "IDENTITY")) return false;
    semente = 1;
    passo = 1;
    if (simbolo(t, b + 2, "(")) {
        int f = fechamento(t, b + 2, e);
        if (!LeSementeContador(t, b + 3, f, semente, passo)) sintaxe("COUNTER(seed, increment)");
    }
    return true;
}

// After CREATE TABLE: every counter that SQLite's rowid does not number gets its trigger, and
// a relationship needs its related table.
void depoisDeCriarTabela(Sessao& s, const std::vector<Token>& t, int n) {
    const std::string pedido = t[2].text;
    std::string tabela;
    if (!sqlDaTabela(s, pedido, &tabela)) tabelaInexistente(pedido);
    const int abre = 3;
    const int fecha = fechamento(t, abre, n);
    auto info = colunasDe(s, tabela);
    int colunasPk = 0;
    for (auto& c : info) colunasPk += c.pk ? 1 : 0;
    for (auto [b, e] : porVirgulas(t, abre + 1, fecha)) {
        long long semente = 1, passo = 1;
        if (!contadorDaDefinicao(t, b, e, semente, passo)) continue;
        for (auto& c : info) {
            if (!mesmoNome(c.nome, t[static_cast<size_t>(b)].text)) continue;
            const bool rowid = maiusculas(c.tipo) == "INTEGER" && c.pk == 1 && colunasPk == 1;
            if (!rowid) numeraContador(s, tabela, c.nome, semente, passo);
        }
    }
    for (const Relacao& r : relacoesDe(s, tabela))
        if (!sqlDaTabela(s, r.mae)) tabelaInexistente(r.mae);
    // SQLite takes a Null in a primary key that is not the rowid; Jet never does.
    std::vector<std::string> semNulo;
    for (auto& c : colunasDe(s, tabela))
        if (c.pk && !c.naoNulo && !ehContador(c.tipo)) semNulo.push_back(c.nome);
    if (!semNulo.empty()) {
        std::string nome = nomeDaChavePrimaria(esquemaDe(s, tabela));
        if (nome.empty()) nome = tabela;
        reconstroi(s, tabela, [&](Esquema& e) {
            e.partes.push_back({"CONSTRAINT " + aspas("zk_nulo_" + nome) + " CHECK(" + naoNulos(semNulo) + ")", "zk_nulo_" + nome, false});
        });
    }
}

// ALTER TABLE t ADD [COLUMN] name type [NOT NULL] [CONSTRAINT name {PRIMARY KEY | UNIQUE |
// REFERENCES ...}]: the column first, then what it asks for.
void adicionaColuna(Sessao& s, const std::string& tabela, const std::vector<Token>& t, int b, int n) {
    if (b + 1 >= n || !ehNome(t, b)) sintaxe("ALTER TABLE");
    const std::string col = t[static_cast<size_t>(b)].text;
    int i = b + 2;
    if (simbolo(t, i, "(")) i = fechamento(t, i, n) + 1;
    int fimTipo = i;
    std::vector<std::pair<int, int>> mantidos;   // tokens that stay in the definition
    bool naoNulo = false;
    struct Pedido { std::string nome; int ini, fim; };
    std::vector<Pedido> restricoes;
    while (i < n) {
        if (palavra(t, i, "NOT") && palavra(t, i + 1, "NULL")) { naoNulo = true; i += 2; continue; }
        if (palavra(t, i, "CONSTRAINT") || palavra(t, i, "PRIMARY") || palavra(t, i, "UNIQUE") || palavra(t, i, "REFERENCES")) {
            Pedido p;
            if (palavra(t, i, "CONSTRAINT")) {
                if (!ehNome(t, i + 1)) sintaxe("CONSTRAINT clause");
                p.nome = t[static_cast<size_t>(i + 1)].text;
                i += 2;
            } else {
                p.nome = tabela + "_" + col;
            }
            p.ini = i;
            int k = i + 1;
            while (k < n && !palavra(t, k, "CONSTRAINT") && !(palavra(t, k, "NOT") && palavra(t, k + 1, "NULL"))) {
                if (simbolo(t, k, "(")) k = fechamento(t, k, n);
                ++k;
            }
            p.fim = k;
            restricoes.push_back(p);
            i = k;
            continue;
        }
        int k = i + 1;
        if (simbolo(t, i, "(")) k = fechamento(t, i, n) + 1;
        mantidos.push_back({i, k});
        i = k;
    }
    std::string def = textoJet(t, b, fimTipo);
    for (auto [mb, me] : mantidos) def += " " + textoJet(t, mb, me);
    std::string sqlCol = traduzColuna(def);
    if (naoNulo) sqlCol += " CONSTRAINT " + aspas("zk_req_" + col) + " CHECK(" + aspas(col) + " IS NOT NULL)";
    std::string nomeTabela;
    if (!sqlDaTabela(s, tabela, &nomeTabela)) tabelaInexistente(tabela);
    s.executa("ALTER TABLE " + aspas(nomeTabela) + " ADD COLUMN " + sqlCol);
    long long semente = 1, passo = 1;
    if (contadorDaDefinicao(t, b, fimTipo, semente, passo)) numeraContador(s, nomeTabela, col, semente, passo);
    for (const Pedido& p : restricoes) {
        if (palavra(t, p.ini, "PRIMARY")) adicionaChavePrimaria(s, nomeTabela, p.nome, {col}, aspas(col));
        else if (palavra(t, p.ini, "UNIQUE"))
            s.executa("CREATE UNIQUE INDEX " + aspas(p.nome) + " ON " + aspas(nomeTabela) + " (" + aspas(col) + ")");
        else adicionaRelacao(s, nomeTabela, p.nome, {col}, t, p.ini, p.fim);
    }
}

// ALTER TABLE t ADD CONSTRAINT name {PRIMARY KEY (..) | UNIQUE (..) | NOT NULL (..) |
// FOREIGN KEY [NO INDEX] (..) REFERENCES ...}.
void adicionaRestricao(Sessao& s, const std::string& tabela, const std::vector<Token>& t, int b, int n) {
    if (!ehNome(t, b + 1)) sintaxe("CONSTRAINT clause");
    const std::string nome = t[static_cast<size_t>(b + 1)].text;
    int i = b + 2;
    int tipo = i;
    if (palavra(t, i, "PRIMARY") || palavra(t, i, "FOREIGN") || palavra(t, i, "NOT")) ++i;
    if (palavra(t, i, "KEY") || palavra(t, i, "NULL")) ++i;
    if (palavra(t, i, "NO") && palavra(t, i + 1, "INDEX")) i += 2;
    if (palavra(t, tipo, "UNIQUE")) ++i;
    if (!simbolo(t, i, "(")) sintaxe("CONSTRAINT clause");
    const int f = fechamento(t, i, n);
    const std::vector<std::string> colunas = nomesDaLista(t, i + 1, f);
    std::string nomeTabela;
    if (!sqlDaTabela(s, tabela, &nomeTabela)) tabelaInexistente(tabela);
    if (palavra(t, tipo, "PRIMARY")) {
        if (f + 1 != n) sintaxe("CONSTRAINT clause");
        adicionaChavePrimaria(s, nomeTabela, nome, colunas, TranslateJetSql(textoJet(t, i + 1, f)));
    } else if (palavra(t, tipo, "UNIQUE")) {
        if (f + 1 != n) sintaxe("CONSTRAINT clause");
        s.executa("CREATE UNIQUE INDEX " + aspas(nome) + " ON " + aspas(nomeTabela) + " (" +
                  TranslateJetSql(textoJet(t, i + 1, f)) + ")");
    } else if (palavra(t, tipo, "NOT")) {
        if (f + 1 != n) sintaxe("CONSTRAINT clause");
        reconstroi(s, nomeTabela, [&](Esquema& e) {
            for (const auto& c : colunas)
                e.partes.push_back({"CONSTRAINT " + aspas("zk_req_" + c) + " CHECK(" + aspas(c) + " IS NOT NULL)", "zk_req_" + c, false});
        });
    } else if (palavra(t, tipo, "FOREIGN")) {
        adicionaRelacao(s, nomeTabela, nome, colunas, t, f + 1, n);
    } else {
        erro(jet::NotSupported, "ALTER TABLE ... ADD CONSTRAINT of this kind is not supported.");
    }
}

void removeColuna(Sessao& s, const std::string& tabela, const std::string& col) {
    Esquema e = esquemaDe(s, tabela);
    if (!coluna(e, col)) erro(jet::ItemNotFound, "Item not found in this collection.");
    // A field of an index or a key: Jet asks for the index to go first.
    auto noIndice = [&] {
        for (const auto& c : colunasDe(s, e.tabela))
            if (c.pk && mesmoNome(c.nome, col)) return true;
        for (auto& ix : s.consulta("PRAGMA index_list(" + aspas(e.tabela) + ")"))
            for (auto& ic : s.consulta("PRAGMA index_info(" + aspas(ix[1].value_or("")) + ")"))
                if (mesmoNome(ic[2].value_or(""), col)) return true;
        for (const Parte& p : e.partes)
            if (!p.coluna && mesmoNome(p.nome.substr(0, 8), "zk_nulo_")) {
                for (const Pedaco& pd : pedacos(p.texto))
                    if (pd.palavra && mesmoNome(pd.texto, col)) return true;
            }
        return false;
    };
    if (noIndice()) erro(kCampoNoIndice, "Can't delete a field that is part of an index or is needed by the system.");
    for (const Relacao& r : todasAsRelacoes(s)) {
        bool usa = false;
        if (mesmoNome(r.filha, e.tabela))
            for (const auto& c : r.de) usa = usa || mesmoNome(c, col);
        if (mesmoNome(r.mae, e.tabela))
            for (const auto& c : r.para) usa = usa || mesmoNome(c, col);
        if (usa) erro(kParteDeRelacao, "Cannot delete this field. It's part of one or more relationships.");
    }
    reconstroi(s, e.tabela, [&](Esquema& n) {
        std::vector<Parte> ficam;
        for (Parte& p : n.partes)
            if (!(p.coluna && mesmoNome(p.nome, col)) && !(!p.coluna && mesmoNome(p.nome, "zk_req_" + col))) ficam.push_back(p);
        n.partes = ficam;
    });
}

// ALTER TABLE t ALTER [COLUMN] name type[(size)] [NOT NULL]: the column's new definition;
// its key, unique and reference constraints stay. Texts longer than a new Text(n) refuse
// the change (3163) rather than lose their ends.
void alteraColuna(Sessao& s, const std::string& tabela, const std::vector<Token>& t, int b, int n) {
    if (!ehNome(t, b)) sintaxe("ALTER TABLE");
    const std::string col = t[static_cast<size_t>(b)].text;
    Esquema e = esquemaDe(s, tabela);
    Parte* velha = coluna(e, col);
    if (!velha) erro(jet::ItemNotFound, "Item not found in this collection.");
    bool naoNulo = false;
    int fim = n;
    for (int i = b; i + 1 < n; ++i)
        if (palavra(t, i, "NOT") && palavra(t, i + 1, "NULL")) { naoNulo = true; fim = i; break; }
    if (fim + 2 < n) sintaxe("ALTER TABLE ... ALTER COLUMN");
    std::string nova = traduzColuna(textoJet(t, b, fim));
    const auto pp = pedacos(nova);
    for (size_t k = 0; k + 4 < pp.size(); ++k)
        if (ehChave(pp[k], "VARCHAR") && pp[k + 1].texto == "(") {
            const std::string tamanho = pp[k + 2].texto;
            if (s.numero("SELECT count(*) FROM " + aspas(e.tabela) + " WHERE length(" + aspas(velha->nome) + ")>" + tamanho) > 0)
                erro(jet::FieldTooSmall, "The field is too small to accept the amount of data you attempted to add.");
            break;
        }
    std::string texto = velha->texto;
    const std::string chaves = cortaChavesDaColuna(texto);
    // A field of the primary key stays without Null.
    for (const auto& c : colunasDe(s, e.tabela))
        if (c.pk && c.naoNulo && mesmoNome(c.nome, col)) naoNulo = true;
    if (naoNulo) nova += " NOT NULL";
    nova += chaves;
    reconstroi(s, e.tabela, [&](Esquema& n) {
        std::vector<Parte> ficam;
        for (Parte& p : n.partes) {
            if (!p.coluna && mesmoNome(p.nome, "zk_req_" + col)) continue;
            if (p.coluna && mesmoNome(p.nome, col)) p.texto = nova;
            ficam.push_back(p);
        }
        n.partes = ficam;
    });
    // A counter that is no longer one stops numbering.
    long long semente, passo;
    if (!contadorDaDefinicao(t, b, fim, semente, passo))
        s.executa("DROP TRIGGER IF EXISTS " + aspas("zk_ct_" + e.tabela + "_" + velha->nome));
    if (naoNulo && s.numero("SELECT count(*) FROM " + aspas(e.tabela) + " WHERE " + aspas(col) + " IS NULL") > 0)
        erro(jet::NullNotAllowed, "The field '" + col + "' cannot contain a Null value because the Required property for this field is set to True.");
}

void alteraTabela(Sessao& s, const std::vector<Token>& t, int n) {
    if (!ehNome(t, 2)) sintaxe("ALTER TABLE");
    const std::string tabela = t[2].text;
    if (palavra(t, 3, "ADD")) {
        if (palavra(t, 4, "CONSTRAINT")) return adicionaRestricao(s, tabela, t, 4, n);
        return adicionaColuna(s, tabela, t, palavra(t, 4, "COLUMN") ? 5 : 4, n);
    }
    if (palavra(t, 3, "DROP")) {
        if (palavra(t, 4, "CONSTRAINT") && ehNome(t, 5) && n == 6) {
            if (!sqlDaTabela(s, tabela)) tabelaInexistente(tabela);
            if (!removeRestricao(s, tabela, t[5].text))
                erro(kRestricaoNaoEncontrada, "Cannot find table or constraint.");
            return;
        }
        const int c = palavra(t, 4, "COLUMN") ? 5 : 4;
        if (!ehNome(t, c) || c + 1 != n) sintaxe("ALTER TABLE ... DROP");
        return removeColuna(s, tabela, t[static_cast<size_t>(c)].text);
    }
    if (palavra(t, 3, "ALTER")) return alteraColuna(s, tabela, t, palavra(t, 4, "COLUMN") ? 5 : 4, n);
    sintaxe("ALTER TABLE");
}

// CREATE [UNIQUE] INDEX name ON t (cols) WITH {PRIMARY | DISALLOW NULL | IGNORE NULL}.
void criaIndice(Sessao& s, const std::vector<Token>& t, int n, int com) {
    const int i = palavra(t, 1, "UNIQUE") ? 3 : 2;
    if (!ehNome(t, i) || !palavra(t, i + 1, "ON") || !ehNome(t, i + 2) || !simbolo(t, i + 3, "(")) sintaxe("CREATE INDEX");
    const std::string nome = t[static_cast<size_t>(i)].text, tabela = t[static_cast<size_t>(i + 2)].text;
    const int f = fechamento(t, i + 3, n);
    const std::vector<std::string> colunas = nomesDaLista(t, i + 4, f);
    bool primaria = false, semNulo = false;
    for (int k = com + 1; k < n; ++k) {
        if (palavra(t, k, "PRIMARY")) primaria = true;
        else if (palavra(t, k, "DISALLOW") && palavra(t, k + 1, "NULL")) { semNulo = true; ++k; }
        else if (palavra(t, k, "IGNORE") && palavra(t, k + 1, "NULL")) ++k;
        else sintaxe("CREATE INDEX ... WITH");
    }
    std::string nomeTabela;
    if (!sqlDaTabela(s, tabela, &nomeTabela)) tabelaInexistente(tabela);
    if (primaria) return adicionaChavePrimaria(s, nomeTabela, nome, colunas, TranslateJetSql(textoJet(t, i + 4, f)));
    s.executa(TranslateJetSql(textoJet(t, 0, com)));
    if (semNulo)
        reconstroi(s, nomeTabela, [&](Esquema& e) {
            e.partes.push_back({"CONSTRAINT " + aspas("zk_nulo_" + nome) + " CHECK(" + naoNulos(colunas) + ")", "zk_nulo_" + nome, false});
        });
}

// UPDATE over a join: the joined rows are read first, then applied one by one in the order
// of their tables' rows.
void atualizaJuncao(Sessao& s, const std::vector<Token>& t, int n, long& afetados) {
    int ini = 1;
    while (palavra(t, ini, "DISTINCTROW") || palavra(t, ini, "DISTINCT")) ++ini;
    const int set = procura(t, ini, n, {"SET"});
    if (set == n) sintaxe("UPDATE");
    const int onde = procura(t, set + 1, n, {"WHERE"});
    const std::vector<RefTabela> refs = tabelasDaJuncao(t, ini, set, true);
    struct Atribuicao { int ref; std::string coluna; int vb, ve; };
    std::vector<Atribuicao> atribuicoes;
    std::map<std::string, std::vector<InfoColuna>> colunas;
    for (auto [b, e] : porVirgulas(t, set + 1, onde)) {
        int igual = b;
        while (igual < e && !simbolo(t, igual, "=")) ++igual;
        if (igual == e || igual == b) sintaxe("UPDATE ... SET");
        Atribuicao a{-1, "", igual + 1, e};
        if (igual == b + 3 && simbolo(t, b + 1, ".") && ehNome(t, b) && ehNome(t, b + 2)) {
            a.coluna = t[static_cast<size_t>(b + 2)].text;
            for (size_t r = 0; r < refs.size(); ++r)
                if (mesmoNome(refs[r].nome(), t[static_cast<size_t>(b)].text)) a.ref = static_cast<int>(r);
            if (a.ref < 0) erro(jet::TooFewParameters, "Too few parameters: " + textoJet(t, b, igual) + " names no table of the query.");
        } else if (igual == b + 1 && ehNome(t, b)) {
            a.coluna = t[static_cast<size_t>(b)].text;
            for (size_t r = 0; r < refs.size(); ++r) {
                auto& cs = colunas[maiusculas(refs[r].tabela)];
                if (cs.empty()) cs = colunasDe(s, refs[r].tabela);
                for (auto& c : cs)
                    if (mesmoNome(c.nome, a.coluna)) {
                        if (a.ref >= 0) erro(kCampoAmbiguo, "The specified field '" + a.coluna + "' could refer to more than one table listed in the FROM clause of your SQL statement.");
                        a.ref = static_cast<int>(r);
                    }
            }
            if (a.ref < 0) erro(jet::TooFewParameters, "Too few parameters: no table has the field '" + a.coluna + "'.");
        } else {
            sintaxe("UPDATE ... SET");
        }
        atribuicoes.push_back(a);
    }
    std::set<int> alvos;
    for (auto& a : atribuicoes) alvos.insert(a.ref);
    // The joined rows, as the rowids of their tables, in the order of those rowids.
    std::vector<std::string> campos, ordem;
    for (size_t r = 0; r < refs.size(); ++r) {
        campos.push_back("[" + refs[r].nome() + "].rowid AS zk_r" + std::to_string(r));
        ordem.push_back("[" + refs[r].nome() + "].rowid");
    }
    const std::string leitura = TranslateJetSql("SELECT " + junta(campos, ", ") + " FROM " + textoJet(t, ini, set) +
                                                (onde < n ? " " + textoJet(t, onde, n) : "") + " ORDER BY " + junta(ordem, ", "));
    s.executa("DROP TABLE IF EXISTS temp.zk_juncao");
    s.executa("CREATE TEMP TABLE zk_juncao AS " + leitura);
    // The values of one joined row: its tables' rows taken by rowid as they stand now, so
    // that a row the join gives twice is changed twice, the second time from the first's
    // result (SET x = x + y adds both y), as Jet changes it.
    std::string base = "SELECT ";
    for (size_t j = 0; j < atribuicoes.size(); ++j)
        base += (j ? ", (" : "(") + textoJet(t, atribuicoes[j].vb, atribuicoes[j].ve) + ") AS zk_v" + std::to_string(j);
    base += " FROM (SELECT 1 AS zk_um) AS zk_base";
    for (size_t r = 0; r < refs.size(); ++r)
        base += " LEFT JOIN [" + refs[r].tabela + "]" + (refs[r].apelido.empty() ? "" : " AS [" + refs[r].apelido + "]") +
                " ON [" + refs[r].nome() + "].rowid = zk_p" + std::to_string(r);
    std::string valores = TranslateJetSql(base);
    for (size_t r = refs.size(); r-- > 0;) {
        const std::string marca = "zk_p" + std::to_string(r);
        for (size_t at = valores.find(marca); at != std::string::npos; at = valores.find(marca, at))
            valores.replace(at, marca.size(), "?" + std::to_string(r + 1));
    }
    // Each target table's UPDATE takes the values of its fields (?1.. in the order of SET)
    // and its row (the last parameter).
    const int nValores = static_cast<int>(atribuicoes.size());
    struct Alvo { int ref; Instrucao st; };
    std::vector<std::unique_ptr<Alvo>> atualizacoes;
    for (int r : alvos) {
        std::string nome;
        if (!sqlDaTabela(s, refs[static_cast<size_t>(r)].tabela, &nome)) tabelaInexistente(refs[static_cast<size_t>(r)].tabela);
        std::vector<std::string> sets;
        for (int j = 0; j < nValores; ++j)
            if (atribuicoes[static_cast<size_t>(j)].ref == r)
                sets.push_back(aspas(atribuicoes[static_cast<size_t>(j)].coluna) + " = ?" + std::to_string(j + 1));
        auto alvo = std::make_unique<Alvo>();
        alvo->ref = r;
        s.prepara("UPDATE " + aspas(nome) + " SET " + junta(sets, ", ") + " WHERE rowid = ?" + std::to_string(nValores + 1),
                  alvo->st);
        atualizacoes.push_back(std::move(alvo));
    }
    struct Valores {
        std::vector<sqlite3_value*> v;
        ~Valores() { for (auto* x : v) sqlite3_value_free(x); }
    };
    std::set<std::pair<int, sqlite3_int64>> mudadas;
    {
        Instrucao linhas, calculo;
        s.prepara("SELECT * FROM temp.zk_juncao ORDER BY rowid", linhas);
        s.prepara(valores, calculo);
        int rc;
        while ((rc = sqlite3_step(linhas.s)) == SQLITE_ROW) {
            // The row's values, all from the rows as they stand before any of them changes.
            for (size_t r = 0; r < refs.size(); ++r) {
                const int c = static_cast<int>(r);
                if (sqlite3_column_type(linhas.s, c) == SQLITE_NULL) sqlite3_bind_null(calculo.s, c + 1);
                else sqlite3_bind_int64(calculo.s, c + 1, sqlite3_column_int64(linhas.s, c));
            }
            const int lido = sqlite3_step(calculo.s);
            if (lido != SQLITE_ROW) s.falha(s.db, lido, "SELECT");
            Valores vs;
            for (int j = 0; j < nValores; ++j) vs.v.push_back(sqlite3_value_dup(sqlite3_column_value(calculo.s, j)));
            sqlite3_reset(calculo.s);
            for (auto& a : atualizacoes) {
                if (sqlite3_column_type(linhas.s, a->ref) == SQLITE_NULL) continue;   // the missing side of a LEFT JOIN
                for (int j = 0; j < nValores; ++j) sqlite3_bind_value(a->st.s, j + 1, vs.v[static_cast<size_t>(j)]);
                const sqlite3_int64 linha = sqlite3_column_int64(linhas.s, a->ref);
                sqlite3_bind_int64(a->st.s, nValores + 1, linha);
                const int passo = sqlite3_step(a->st.s);
                if (passo != SQLITE_DONE) s.falha(s.db, passo, "UPDATE");
                sqlite3_reset(a->st.s);
                mudadas.insert({a->ref, linha});
            }
        }
        if (rc != SQLITE_DONE) s.falha(s.db, rc, "SELECT");
    }
    afetados = static_cast<long>(mudadas.size());
    atualizacoes.clear();
    s.executa("DROP TABLE temp.zk_juncao");
}

// DELETE [DISTINCTROW] t.* FROM a join [WHERE ...]: the rows of t that the join gives.
void excluiJuncao(Sessao& s, const std::vector<Token>& t, int n, int de, long& afetados) {
    int ini = 1;
    while (palavra(t, ini, "DISTINCTROW") || palavra(t, ini, "DISTINCT")) ++ini;
    if (!(de == ini + 3 && ehNome(t, ini) && simbolo(t, ini + 1, ".") && simbolo(t, ini + 2, "*")))
        erro(kTabelaDaExclusao, "Specify the table containing the records you want to delete.");
    const std::string alvo = t[static_cast<size_t>(ini)].text;
    const int onde = procura(t, de + 1, n, {"WHERE"});
    std::string tabela;
    for (const RefTabela& r : tabelasDaJuncao(t, de + 1, onde, true))
        if (mesmoNome(r.nome(), alvo)) tabela = r.tabela;
    if (tabela.empty()) erro(kTabelaDaExclusao, "Specify the table containing the records you want to delete.");
    std::string nome;
    if (!sqlDaTabela(s, tabela, &nome)) tabelaInexistente(tabela);
    s.executa("DELETE FROM " + aspas(nome) + " WHERE rowid IN (" +
              TranslateJetSql("SELECT [" + alvo + "].rowid FROM " + textoJet(t, de + 1, n)) + ")");
    afetados = sqlite3_changes(s.db);
}

bool ehIdentificador(const std::string& n) {
    if (n.empty() || std::isdigit(static_cast<unsigned char>(n[0]))) return false;
    for (unsigned char c : n)
        if (!(std::isalnum(c) || c == '_' || c >= 0x80)) return false;
    return true;
}

// SELECT ... INTO t FROM ...: a new table with the fields of the query, then its rows.
void criaTabelaDeConsulta(Sessao& s, const std::vector<Token>& t, int n, int into, long& afetados) {
    if (!ehNome(t, into + 1)) sintaxe("SELECT ... INTO");
    const std::string nova = t[static_cast<size_t>(into + 1)].text;
    int resto = into + 2;
    if (palavra(t, resto, "IN"))
        erro(jet::NotSupported, "A make-table query into another database (SELECT ... INTO ... IN) is not supported.");
    std::vector<Token> sem(t.begin(), t.begin() + into);
    sem.insert(sem.end(), t.begin() + resto, t.begin() + n);
    const std::string leitura = TranslateJetSql(textoJet(sem, 0, static_cast<int>(sem.size())));
    if (sqlDaTabela(s, nova)) erro(jet::TableExists, "Table '" + nova + "' already exists.");
    std::vector<std::string> defs;
    {
        Instrucao st;
        s.prepara(leitura, st);
        int expr = 1000;
        for (int i = 0; i < sqlite3_column_count(st.s); ++i) {
            std::string nome = sqlite3_column_name(st.s, i) ? sqlite3_column_name(st.s, i) : "";
            if (!ehIdentificador(nome)) nome = "Expr" + std::to_string(expr++);
            const char* d = sqlite3_column_decltype(st.s, i);
            std::string tipo = d ? d : "";
            const std::string up = maiusculas(tipo);
            if (up.rfind("VARCHAR(", 0) == 0) {
                const std::string tamanho = up.substr(8, up.find(')') - 8);
                tipo += " COLLATE JET CONSTRAINT zk_len_" + std::to_string(i) + " CHECK(length(" + aspas(nome) + ")<=" + tamanho + ")";
            } else if (up == "LONGTEXT") {
                tipo += " COLLATE JET";
            } else if (up == "INTEGER" || up == "COUNTER INTEGER") {
                tipo = "LONGINT";   // a counter's numbers, copied as Long
            } else if (tipo.empty()) {
                tipo = "COLLATE JET";   // an expression: whatever it gives, texts compared as Jet does
            }
            defs.push_back(aspas(nome) + " " + tipo);
        }
    }
    s.executa("CREATE TABLE " + aspas(nova) + "(" + junta(defs, ",") + ")");
    s.executa("INSERT INTO " + aspas(nova) + " " + leitura);
    afetados = sqlite3_changes(s.db);
}

void excluiTabela(Sessao& s, const std::vector<Token>& t, int n) {
    if (n != 3 || !ehNome(t, 2)) sintaxe("DROP TABLE");
    std::string nome;
    if (sqlDaTabela(s, t[2].text, &nome))
        for (const Relacao& r : todasAsRelacoes(s))
            if (mesmoNome(r.mae, nome) && !mesmoNome(r.filha, nome))
                erro(kParteDeRelacao, "Cannot delete this table. It's part of one or more relationships.");
    s.executa(TranslateJetSql(textoJet(t, 0, n)));
}

enum class Forma { Nenhuma, CriaTabela, AlteraTabela, CriaIndice, ExcluiIndice, ExcluiTabela, AtualizaJuncao, ExcluiJuncao, CriaDeConsulta };

}  // namespace

bool LeSementeContador(const std::vector<Token>& t, int b, int e, long long& semente, long long& passo) {
    long long v[2] = {0, 0};
    int k = 0;
    int i = b;
    for (; k < 2; ++k) {
        bool menos = false;
        if (simbolo(t, i, "-")) { menos = true; ++i; }
        if (i >= e || t[static_cast<size_t>(i)].kind != Tok::Number ||
            t[static_cast<size_t>(i)].text.find_first_not_of("0123456789") != std::string::npos ||
            t[static_cast<size_t>(i)].text.size() > 9)
            return false;
        v[k] = std::stoll(t[static_cast<size_t>(i)].text) * (menos ? -1 : 1);
        ++i;
        if (k == 0) {
            if (!simbolo(t, i, ",")) return false;
            ++i;
        }
    }
    if (i != e || v[1] == 0) return false;
    semente = v[0];
    passo = v[1];
    return true;
}

bool ExecutaInstrucaoJet(sqlite3* db, std::string_view jet, bool gravavel, FalhaSqlite falha, long& afetados) {
    std::vector<Token> t = Lex(jet);
    int n = static_cast<int>(t.size());
    while (n > 0 && simbolo(t, n - 1, ";")) --n;
    if (n < 2) return false;
    Sessao s{db, falha};
    Forma forma = Forma::Nenhuma;
    int marca = 0;
    if (palavra(t, 0, "CREATE") && palavra(t, 1, "TABLE")) {
        for (int i = 2; i < n && forma == Forma::Nenhuma; ++i)
            if (palavra(t, i, "REFERENCES") || palavra(t, i, "COUNTER") || palavra(t, i, "AUTOINCREMENT") ||
                palavra(t, i, "IDENTITY") || palavra(t, i, "PRIMARY"))
                forma = Forma::CriaTabela;
    } else if (palavra(t, 0, "ALTER") && palavra(t, 1, "TABLE") && n >= 4) {
        // A plain new column stays SQLite's own ALTER TABLE ... ADD COLUMN.
        forma = Forma::AlteraTabela;
        if (palavra(t, 3, "ADD") && !palavra(t, 4, "CONSTRAINT")) {
            bool simples = true;
            for (int i = 4; i < n; ++i)
                if (palavra(t, i, "NOT") || palavra(t, i, "CONSTRAINT") || palavra(t, i, "PRIMARY") || palavra(t, i, "UNIQUE") ||
                    palavra(t, i, "REFERENCES") || palavra(t, i, "COUNTER") || palavra(t, i, "AUTOINCREMENT") || palavra(t, i, "IDENTITY"))
                    simples = false;
            if (simples) forma = Forma::Nenhuma;
        }
    } else if (palavra(t, 0, "CREATE") && (palavra(t, 1, "INDEX") || (palavra(t, 1, "UNIQUE") && palavra(t, 2, "INDEX")))) {
        marca = procura(t, 2, n, {"WITH"});
        for (int i = marca; i < n; ++i)
            if (palavra(t, i, "PRIMARY") || palavra(t, i, "DISALLOW")) forma = Forma::CriaIndice;
    } else if (palavra(t, 0, "DROP") && palavra(t, 1, "INDEX") && n == 5 && palavra(t, 3, "ON") && ehNome(t, 4)) {
        // An index made as a key of the table (WITH PRIMARY, DISALLOW NULL) is in its SQL.
        if (auto sql = sqlDaTabela(s, t[4].text)) {
            Esquema e = leEsquema(t[4].text, *sql);
            for (const Parte& p : e.partes)
                if (!p.coluna && (mesmoNome(p.nome, t[2].text) || mesmoNome(p.nome, "zk_nulo_" + t[2].text))) forma = Forma::ExcluiIndice;
        }
    } else if (palavra(t, 0, "DROP") && palavra(t, 1, "TABLE")) {
        if (haRelacoes(s)) forma = Forma::ExcluiTabela;
    } else if (palavra(t, 0, "UPDATE")) {
        const int set = procura(t, 1, n, {"SET"});
        if (temJuncao(t, 1, set)) forma = Forma::AtualizaJuncao;
    } else if (palavra(t, 0, "DELETE")) {
        marca = procura(t, 1, n, {"FROM"});
        if (marca < n && temJuncao(t, marca + 1, procura(t, marca + 1, n, {"WHERE"}))) forma = Forma::ExcluiJuncao;
    } else if (palavra(t, 0, "SELECT")) {
        marca = procura(t, 1, procura(t, 1, n, {"FROM"}), {"INTO"});
        if (marca < n && procura(t, 1, n, {"FROM"}) > marca) forma = Forma::CriaDeConsulta;
    }
    if (forma == Forma::Nenhuma) return false;
    if (!gravavel) erro(jet::ReadOnly, "Cannot update. Database or object is read-only.");

    s.executa("SAVEPOINT zk_instrucao");
    try {
        afetados = 0;
        switch (forma) {
        case Forma::CriaTabela:
            s.executa(TranslateJetSql(jet));
            depoisDeCriarTabela(s, t, n);
            break;
        case Forma::AlteraTabela: alteraTabela(s, t, n); break;
        case Forma::CriaIndice: criaIndice(s, t, n, marca); break;
        case Forma::ExcluiIndice:
            if (!removeRestricao(s, t[4].text, t[2].text)) erro(jet::ItemNotFound, "Item not found in this collection.");
            break;
        case Forma::ExcluiTabela: excluiTabela(s, t, n); break;
        case Forma::AtualizaJuncao: atualizaJuncao(s, t, n, afetados); break;
        case Forma::ExcluiJuncao: excluiJuncao(s, t, n, marca, afetados); break;
        case Forma::CriaDeConsulta: criaTabelaDeConsulta(s, t, n, marca, afetados); break;
        case Forma::Nenhuma: break;
        }
        const bool desenho = forma == Forma::CriaTabela || forma == Forma::AlteraTabela || forma == Forma::CriaIndice ||
                             forma == Forma::ExcluiIndice || forma == Forma::ExcluiTabela;
        if (desenho && haRelacoes(s)) sincronizaRelacoes(s);
        s.executa("RELEASE zk_instrucao");
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK TO zk_instrucao", nullptr, nullptr, nullptr);
        sqlite3_exec(db, "RELEASE zk_instrucao", nullptr, nullptr, nullptr);
        sqlite3_exec(db, "DROP TABLE IF EXISTS temp.zk_juncao", nullptr, nullptr, nullptr);
        throw;
    }
    return true;
}

// ---- rewrites before the translation ---------------------------------------------------

namespace {

Token simboloNovo(const std::string& s, bool espaco = true) { return Token{Tok::Symbol, s, espaco}; }
Token palavraNova(const std::string& s) { return Token{Tok::Word, s, true}; }

// Where the operand of a join that starts at i ends: a name with its alias, or a group.
int fimDoOperando(const std::vector<Token>& t, int i, int e) {
    if (simbolo(t, i, "(")) i = fechamento(t, i, e) + 1;
    else if (ehNome(t, i)) ++i;
    else sintaxe("JOIN");
    if (palavra(t, i, "AS")) ++i;
    if (ehNome(t, i) && !(t[static_cast<size_t>(i)].kind == Tok::Word && palavraDeJuncao(t[static_cast<size_t>(i)]))) ++i;
    return i;
}

bool palavraDeClausula(const std::vector<Token>& t, int i) {
    static const char* w[] = {"INNER", "LEFT", "RIGHT", "JOIN", "WHERE", "GROUP", "ORDER", "HAVING", "UNION", "CROSS", "FULL"};
    if (simbolo(t, i, ";")) return true;
    if (simbolo(t, i - 1, ".") || simbolo(t, i + 1, "(")) return false;   // a field, or Left( / Right(
    for (const char* x : w)
        if (palavra(t, i, x)) return true;
    return false;
}

// One RIGHT JOIN made a LEFT JOIN of the sides swapped; false when none is left.
bool trocaJuncaoDireita(std::vector<Token>& t) {
    const int n = static_cast<int>(t.size());
    for (int r = 0; r < n; ++r) {
        if (!palavra(t, r, "RIGHT") || simbolo(t, r - 1, ".")) continue;
        int j = r + 1;
        if (palavra(t, j, "OUTER")) ++j;
        if (!palavra(t, j, "JOIN")) continue;
        // The level of the join: the parentheses around it.
        int lb = 0, le = n, nivel = 0;
        for (int k = r - 1; k >= 0; --k) {
            if (simbolo(t, k, ")")) ++nivel;
            else if (simbolo(t, k, "(")) {
                if (nivel == 0) { lb = k + 1; break; }
                --nivel;
            }
        }
        if (lb > 0) le = fechamento(t, lb - 1, n);
        // The left side: from FROM (or the level's start) to RIGHT.
        int ls = lb;
        for (int k = lb; k < r; ++k) {
            if (simbolo(t, k, "(")) { k = fechamento(t, k, r); continue; }
            if (palavra(t, k, "FROM")) ls = k + 1;
        }
        const int rb = j + 1;
        const int re = fimDoOperando(t, rb, le);
        if (!palavra(t, re, "ON")) sintaxe("RIGHT JOIN ... ON");
        int ce = re + 1;
        while (ce < le) {
            if (simbolo(t, ce, "(")) { ce = fechamento(t, ce, le) + 1; continue; }
            if (palavraDeClausula(t, ce)) break;
            ++ce;
        }
        bool composta = false;
        for (int k = ls; k < r; ++k) {
            if (simbolo(t, k, "(")) { k = fechamento(t, k, r); continue; }
            if (palavra(t, k, "JOIN") || simbolo(t, k, ",")) composta = true;
        }
        // SELECT * lists the left table's fields first: named so, they keep their order.
        std::vector<Token> estrela;
        if (ls > 0 && palavra(t, ls - 1, "FROM") && simbolo(t, ls - 2, "*")) {
            int sel = ls - 3;
            while (sel >= lb && !palavra(t, sel, "SELECT")) --sel;
            bool soEstrela = sel >= lb;
            for (int k = sel + 1; soEstrela && k < ls - 2; ++k)
                soEstrela = palavra(t, k, "DISTINCT") || palavra(t, k, "DISTINCTROW") || palavra(t, k, "ALL") ||
                            palavra(t, k, "TOP") || palavra(t, k, "PERCENT") || t[static_cast<size_t>(k)].kind == Tok::Number;
            if (soEstrela) {
                for (const RefTabela& ref : tabelasDaJuncao(t, ls, ce, false)) {
                    if (!estrela.empty()) estrela.push_back(simboloNovo(",", false));
                    Token nome{Tok::Bracket, ref.nome(), true};
                    estrela.push_back(nome);
                    estrela.push_back(simboloNovo(".", false));
                    estrela.push_back(simboloNovo("*", false));
                }
            }
        }
        std::vector<Token> novo(t.begin() + rb, t.begin() + re);
        if (!novo.empty()) novo.front().spaceBefore = true;
        novo.push_back(palavraNova("LEFT"));
        novo.push_back(palavraNova("JOIN"));
        if (composta) novo.push_back(simboloNovo("("));
        novo.insert(novo.end(), t.begin() + ls, t.begin() + r);
        if (composta) novo.push_back(simboloNovo(")"));
        novo.insert(novo.end(), t.begin() + re, t.begin() + ce);
        std::vector<Token> saida(t.begin(), t.begin() + ls);
        if (!estrela.empty()) {
            saida.erase(saida.begin() + (ls - 2));
            saida.insert(saida.begin() + (ls - 2), estrela.begin(), estrela.end());
        }
        saida.insert(saida.end(), novo.begin(), novo.end());
        saida.insert(saida.end(), t.begin() + ce, t.end());
        t = std::move(saida);
        return true;
    }
    return false;
}

}  // namespace

void ReescreveInstrucao(std::vector<Token>& t) {
    if (!t.empty() && IsWord(t[0], "TRANSFORM"))
        erro(jet::NotSupported, "TRANSFORM ... PIVOT (a crosstab query) is not supported.");
    // FOREIGN KEY NO INDEX: Jet's choice of index for the relationship; SQLite has none to skip.
    for (size_t i = 0; i + 3 < t.size(); ++i)
        if (IsWord(t[i], "FOREIGN") && IsWord(t[i + 1], "KEY") && IsWord(t[i + 2], "NO") && IsWord(t[i + 3], "INDEX"))
            t.erase(t.begin() + static_cast<long>(i) + 2, t.begin() + static_cast<long>(i) + 4);
    for (int vezes = 0; vezes < 64 && trocaJuncaoDireita(t); ++vezes) {
    }
    for (size_t i = 0; i + 1 < t.size(); ++i)
        if (IsWord(t[i], "RIGHT") && (IsWord(t[i + 1], "JOIN") || IsWord(t[i + 1], "OUTER")) && !(i > 0 && t[i - 1].text == "."))
            erro(jet::NotSupported, "This RIGHT JOIN is not supported: write it as a LEFT JOIN with the tables swapped.");
}

std::string LimitePercentual(const std::string& selecao, const std::string& n) {
    const std::string parte = "zk_c * (" + n + ") / 100.0";
    return "(SELECT CAST(" + parte + " AS INTEGER) + (" + parte + " > CAST(" + parte +
           " AS INTEGER)) FROM (SELECT count(*) AS zk_c FROM (" + selecao + ")))";
}

bool ErroDeRestricao(const std::string& mensagem, long& numero, std::string& descricao) {
    if (mensagem.find("zk_nulo_") != std::string::npos) {
        numero = kNullNaChave;
        descricao = "Index or primary key cannot contain a Null value.";
        return true;
    }
    const size_t req = mensagem.find("zk_req_");
    if (req != std::string::npos) {
        numero = jet::NullNotAllowed;
        descricao = "The field '" + mensagem.substr(req + 7) +
                    "' cannot contain a Null value because the Required property for this field is set to True.";
        return true;
    }
    return false;
}

}  // namespace dao::detail
