// What the auxiliary window's tests share: the application, a private copy of the demo data
// with this run's cart table, a settings folder of its own, recorded message boxes, and the
// window opened with a request as the main window opens it.
#pragma once

#include "catalog/aux_window/frmZornak2.h"
#include "common/modInternet.h"
#include "platform/forms/Events.h"
#include "platform/forms/Screen.h"
#include "platform/vb/Strings.h"
#include "tests/data/Pasta.h"
#include "tests/support/AplicacaoTeste.h"
#include "tests/support/FakeMsgBox.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace auxteste {

inline const ::testing::Environment* const kAmbiente =
    ::testing::AddGlobalTestEnvironment(new testsupport::AmbienteAplicacao("test_aux_window"));

// The window as the tests drive it: its first activation on demand.
class Janela : public frmZornak2Form {
public:
    void Ativa() { Form_Activate(); }
};

inline void Processa() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

// Lets the window's timers run until the condition holds (or a generous bound).
inline bool Espera(const std::function<bool()>& condicao) {
    for (int i = 0; i < 500 && !condicao(); ++i) QTest::qWait(2);
    return condicao();
}

class JanelaAuxiliarTeste : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("XDG_CONFIG_HOME", config_.path().toUtf8());
        teste::AbreComoInicio(pasta_.Caminho());
        EstadoPrograma.TabelaCarrinho = CriaTabelaCarrinho(EstadoPrograma.DbAuxiliar);
        EstadoPrograma.DataEmissaoTexto = "09-DEZ-2026";
        EstadoPrograma.RodaMouseAtiva = false;
        frmZornak2Form::Ligacoes() = LigacoesJanelaAuxiliar{};
        vb::Screen().SetSizeForTesting(1920, 1080);
    }
    void TearDown() override {
        if (janela_ && janela_->IsLoaded()) janela_->Unload();
        janela_.reset();
        Processa();
        frmZornak2Form::Ligacoes() = LigacoesJanelaAuxiliar{};
        vb::Screen().SetSizeForTesting(0, 0);
        EstadoPrograma.RequisicaoTela.clear();
        teste::FechaTudo();
    }

    // Opens the window with a request, as AbreTelaAuxiliar does, without the modal loop.
    Janela& Abre(const std::string& requisicao) {
        if (janela_ && janela_->IsLoaded()) janela_->Unload();
        janela_ = std::make_unique<Janela>();
        EstadoPrograma.RequisicaoTela = requisicao;
        janela_->Show(vb::vbModeless);
        Processa();
        if (janela_->PrimeiraAtivacao) janela_->Ativa();
        Processa();
        return *janela_;
    }
    Janela& J() { return *janela_; }

    // A cart row put in directly, so each test chooses numbers, descriptions and quantities.
    void PoeNoCarrinho(long codigo, const std::string& numero, const std::string& descricao, int quantidade) {
        EstadoPrograma.DbAuxiliar.Execute("INSERT INTO " + EstadoPrograma.TabelaCarrinho +
                                              "(CodigoProduto,NumeroEmpresaProduto,DescricaoProduto,Quantidade) VALUES(" +
                                              std::to_string(codigo) + "," + (numero.empty() ? "Null" : "'" + numero + "'") +
                                              ",'" + descricao + "'," + std::to_string(quantidade) + ")",
                                          dao::dbFailOnError);
    }
    long Quantidade(long codigo) {
        return ObtemValorCarrinho("SELECT Quantidade FROM " + EstadoPrograma.TabelaCarrinho +
                                  " WHERE CodigoProduto=" + std::to_string(codigo))
            .ToLong();
    }
    long LinhasCarrinho() {
        return ObtemValorCarrinho("SELECT Count(*) FROM " + EstadoPrograma.TabelaCarrinho).ToLong();
    }
    vb::Variant ObtemValorCarrinho(const std::string& sql) {
        dao::Recordset rs = EstadoPrograma.DbAuxiliar.OpenRecordset(sql, dao::dbOpenSnapshot);
        vb::Variant v = rs.Eof() ? vb::Variant(-1L) : rs.Fields(0).Value();
        rs.Close();
        return v;
    }
    // The current row's field of the window's list.
    vb::Variant Atual(const std::string& campo) { return J().dtcTHGrid1.GetRecordset().Value(campo); }
    // A field of every row of the window's list, in its order ("" for Null).
    std::vector<std::string> Coluna(const std::string& campo) {
        std::vector<std::string> r;
        dao::Recordset copia = J().dtcTHGrid1.GetRecordset().Clone();
        for (; !copia.Eof(); copia.MoveNext()) r.push_back(ObtemValorCampo(copia.Value(campo), "").ToString());
        return r;
    }
    // Real catalogue codes, so that descriptions and references resolve.
    std::vector<long> Codigos(const std::string& sql) {
        std::vector<long> r;
        dao::Recordset rs = EstadoPrograma.DbCatalogo.OpenRecordset(sql, dao::dbOpenSnapshot);
        for (; !rs.Eof(); rs.MoveNext()) r.push_back(rs.Fields(0).Value().ToLong());
        rs.Close();
        return r;
    }

    // The catalogue's updates come from the test server on `porta`, version 27 installed; a
    // request waits at most 5 seconds.
    void AtualizacoesDoServidor(int porta) {
        teste::Escrita e;
        e.Executa("UPDATE UMREGISTRO SET UrlAtualizacao='http://127.0.0.1:" + std::to_string(porta) +
                  "/cat/', Versao=27");
        DefineTempoLimiteInternet(5000);
    }

    teste::PastaDados pasta_;
    QTemporaryDir config_;
    testsupport::FakeMsgBox caixas_;
    std::unique_ptr<Janela> janela_;
};

}  // namespace auxteste
