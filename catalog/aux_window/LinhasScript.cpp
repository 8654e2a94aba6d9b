#include "catalog/aux_window/LinhasScript.h"

#include "common/Modulo.h"
#include "platform/vb/Err.h"
#include "platform/vb/Strings.h"

#include <vector>

std::string PreencheModelo(const std::string& modelo, const std::string& linha) {
    std::string comando = modelo;
    const std::vector<std::string> valores = vb::Split(linha, "<<;>>");
    for (long i = static_cast<long>(valores.size()) - 1; i >= 0; --i) {
        const std::string marca = "?" + std::to_string(i + 1);
        const std::size_t pos = comando.find(marca);
        if (pos != std::string::npos) comando.replace(pos, marca.size(), valores[static_cast<std::size_t>(i)]);
    }
    return comando;
}

AcaoLinhaScript InterpretaLinhaScript(const std::string& linha, std::string& modelo) {
    AcaoLinhaScript acao;
    if (vb::Trim(linha).empty()) return acao;
    const std::string tipo = linha.substr(0, 2);
    const std::string resto = linha.size() > 2 ? linha.substr(2) : std::string();
    std::string comando;
    if (tipo == "B:") {
        modelo = resto;
    } else if (tipo == "E:") {
        comando = resto;
    } else if (tipo == "S:") {
        acao.Tipo = TipoLinhaScript::Programa;
        acao.Texto = resto;
        return acao;
    } else if (tipo == "R:") {
        acao.Tipo = TipoLinhaScript::Reinicio;
        return acao;
    } else {
        comando = PreencheModelo(modelo, linha);
    }
    if (!comando.empty()) {
        acao.Tipo = TipoLinhaScript::Comando;
        acao.Texto = vb::Replace(comando, "<<vbCrLf>>", "\r\n");
    }
    return acao;
}

bool ExecutaComandoScript(dao::Workspace& ws, dao::Database& db, const std::string& sql) {
    const int nivel = ws.TransactionLevel();
    try {
        ws.BeginTrans();
        db.Execute(sql, dao::dbFailOnError);
        ws.CommitTrans(dao::dbForceOSFlush);
        return true;
    } catch (const std::exception&) {
        // Undo whatever of this statement is still open; the script goes on without it.
        try {
            while (ws.TransactionLevel() > nivel) ws.Rollback();
        } catch (const std::exception&) {
        }
        return false;
    }
}

bool ExecutaLinhaScript(dao::Workspace& ws, dao::Database& db, const std::string& linha, std::string& modelo) {
    const AcaoLinhaScript acao = InterpretaLinhaScript(linha, modelo);
    switch (acao.Tipo) {
    case TipoLinhaScript::Nada:
        return true;
    case TipoLinhaScript::Reinicio:
        EstadoPrograma.ReiniciarAposAtualizacao = true;
        return true;
    case TipoLinhaScript::Programa:
        ExecutaEAguarda(acao.Texto, 1);
        return true;
    case TipoLinhaScript::Comando:
        return ExecutaComandoScript(ws, db, acao.Texto);
    }
    return true;
}
