// Writes the catalogue's tables into a keyed database file through the database layer, so
// the schema gets the same column types, collation and length checks as every other file
// the program makes, and the file is keyed with the program's own password.
#include "tools/demo_data/Catalogo.h"

#include "common/Modulo.h"
#include "platform/dao/Dao.h"

#include <cstdio>
#include <filesystem>

namespace demo {

namespace {

std::string Literal(const Valor& v)
{
    if (std::holds_alternative<std::monostate>(v)) return "Null";
    if (const auto* n = std::get_if<long long>(&v)) return std::to_string(*n);
    if (const auto* d = std::get_if<double>(&v)) {
        char b[40];
        std::snprintf(b, sizeof b, "%.17g", *d);
        return b;
    }
    std::string s = "'";
    for (char ch : std::get<std::string>(v)) {
        if (ch == '\'') s += '\'';
        s += ch;
    }
    return s + "'";
}

std::string Lista(const std::vector<std::string>& nomes)
{
    std::string s;
    for (const auto& n : nomes) s += (s.empty() ? "" : ",") + n;
    return s;
}

dao::Database CriaBanco(dao::Workspace& ws, const std::string& caminho)
{
    std::filesystem::remove(caminho);
    return ws.CreateDatabase(caminho, ";pwd=" + ObtemSenhaBancoDados());
}

}  // namespace

void GravaBancoCatalogo(const Catalogo& c, const std::string& caminho)
{
    dao::Workspace ws = dao::DBEngine().CreateWorkspace("DemoCatalogo", "admin", "", dao::dbUseJet);
    dao::Database db = CriaBanco(ws, caminho);
    ws.BeginTrans();
    for (const Tabela& t : c.tabelas) {
        std::string ddl = "CREATE TABLE " + t.nome + " (";
        for (size_t i = 0; i < t.colunas.size(); ++i) {
            const Coluna& col = t.colunas[i];
            ddl += (i ? ", " : "") + col.nome + " " + col.tipo + (col.obrigatoria ? " Not Null" : "");
        }
        if (!t.chave.empty()) ddl += ", CONSTRAINT PK" + t.nome + " PRIMARY KEY (" + Lista(t.chave) + ")";
        db.Execute(ddl + ")");
        for (const auto& cols : t.indices)
            db.Execute("CREATE INDEX IX" + t.nome + "_" + cols.substr(0, cols.find(',')) + " ON " + t.nome + " (" +
                       cols + ")");
        std::vector<std::string> nomes;
        for (const auto& col : t.colunas) nomes.push_back(col.nome);
        const std::string inicio = "INSERT INTO " + t.nome + " (" + Lista(nomes) + ") VALUES (";
        for (const auto& linha : t.linhas) {
            std::string sql = inicio;
            for (size_t i = 0; i < linha.size(); ++i) {
                if (i) sql += ",";
                sql += Literal(linha[i]);
            }
            db.Execute(sql + ")", dao::dbFailOnError);
        }
    }
    ws.CommitTrans(dao::dbForceOSFlush);
    db.Close();
    ws.Close();
}

void GravaBancoAuxiliar(const std::string& caminho)
{
    dao::Workspace ws = dao::DBEngine().CreateWorkspace("DemoAuxiliar", "admin", "", dao::dbUseJet);
    dao::Database db = CriaBanco(ws, caminho);
    // An empty database file would have no header to key; one table made and dropped again
    // leaves a keyed file without tables.
    db.Execute("CREATE TABLE Inicio (a Long)");
    db.Execute("DROP TABLE Inicio");
    db.Close();
    ws.Close();
}

}  // namespace demo
