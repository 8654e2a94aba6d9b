// The auxiliary window as a user meets it: on every screen each clickable element is hovered
// at its visible centre and clicked through the window, and what the click does is checked.
// The update screen's rows are read from what is drawn.
#include "tests/aux_window/Ambiente.h"

#include "catalog/controls/ModuloGrade.h"
#include "common/modInternet.h"
#include "common/modTraducao.h"
#include "platform/forms/FileDialog.h"
#include "platform/vb/MsgBox.h"
#include "platform/os/Desktop.h"
#include "platform/vb/Strings.h"
#include "tests/support/AjudantesDesktop.h"
#include "tests/support/Ponteiro.h"
#include "tests/support/ServidorHttpTeste.h"

#include <QFile>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

namespace {

using testsupport::CentroVisivel;
using testsupport::RetanguloVisivel;

class AuxPonteiro : public auxteste::JanelaAuxiliarTeste {
protected:
    QWidget* W() { return J().Window(); }

    // The request of each screen, on data that gives every element something to do.
    std::string Requisicao(int tela) {
        switch (tela) {
        case 0: return "0|P|" + std::to_string(Codigos("SELECT CodigoProduto FROM PRODUTO_OBS ORDER BY 1").at(0));
        case 1:
            return "1|" +
                   std::to_string(Codigos("SELECT CodigoProduto FROM APLICACAO_PRODUTO GROUP BY CodigoProduto "
                                          "HAVING Count(*) >= 3 ORDER BY CodigoProduto")
                                      .at(0)) +
                   "|0";
        case 2: return "2|" + std::to_string(produtos_.at(0));
        case 3: return RequisicaoGrupo();
        default: return std::to_string(tela);
        }
    }

    // The maker and group with the most applications (figures and releases among them); with
    // the release mark the list shows only the releases, in a release column.
    std::string RequisicaoGrupo(int lancamentos = 0) {
        dao::Recordset rs = EstadoPrograma.DbCatalogo.OpenRecordset(
            "SELECT APLICACAO.CodigoFabricante, PRODUTO.CodigoGrupoProduto, Count(*) FROM (PRODUTO INNER JOIN "
            "APLICACAO_PRODUTO ON PRODUTO.CodigoProduto = APLICACAO_PRODUTO.CodigoProduto) INNER JOIN APLICACAO ON "
            "APLICACAO_PRODUTO.CodigoAplicacao = APLICACAO.CodigoAplicacao GROUP BY APLICACAO.CodigoFabricante, PRODUTO.CodigoGrupoProduto ORDER BY 3 DESC",
            dao::dbOpenSnapshot);
        EXPECT_FALSE(rs.Eof());
        const std::string r = "3|" + rs.Fields(0).Value().ToString() + "|" + rs.Fields(1).Value().ToString() +
                              "|0|0||255|1|0|" + std::to_string(lancamentos);
        rs.Close();
        return r;
    }

    void SetUp() override {
        JanelaAuxiliarTeste::SetUp();
        produtos_ = Codigos("SELECT CodigoProduto FROM PRODUTO ORDER BY CodigoProduto");
        ASSERT_GE(produtos_.size(), 3u);
    }
    void EncheCarrinho() {
        EstadoPrograma.DbAuxiliar.Execute("DELETE FROM " + EstadoPrograma.TabelaCarrinho);
        PoeNoCarrinho(produtos_[0], "11111111", "ALFA", 5);
        PoeNoCarrinho(produtos_[1], "22222222", "BRAVO", 5);
        PoeNoCarrinho(produtos_[2], "33333333", "CHARLIE", 5);
    }
    // The picture marker of position p in the current row of the window's list.
    vb::Control* FiguraDaLinha(int posicao) {
        const int linha = ObtemLinhaSelecionadaGrid(*J().grdTHGrid1);
        return J().grdTHGrid1->Marcador(posicao, linha);
    }
    bool Fechou() { return auxteste::Espera([this] { return !J().IsLoaded(); }); }

    std::vector<long> produtos_;
};

// One clickable element of a screen: its hover key (empty: none), the picture that shows its
// hover, what the test prepares before the click, and what the click does.
struct Elemento {
    int tela;
    std::string nome;
    std::function<vb::Control*(auxteste::Janela&)> controle;
    std::string chave;
    std::function<vb::Control*(auxteste::Janela&)> realce;
    std::function<void(auxteste::Janela&)> prepara;
    std::function<void(auxteste::Janela&)> efeito;
    std::string requisicao = {};   // when the screen's usual request does not show the element
};

class AuxPonteiroTabela : public AuxPonteiro {
protected:
    std::vector<Elemento> Elementos() {
        using J_ = auxteste::Janela;
        auto voltar = [this](int tela) {
            return Elemento{tela, "lblVoltar", [](J_& j) { return j.lblVoltar; }, "BTNVOLTAR",
                            [](J_& j) { return j.imgBtnVoltarSel; }, nullptr,
                            [this](J_&) { EXPECT_TRUE(Fechou()) << "one screen in the history: Back closes"; }};
        };
        // A header that sorts: another sort first, then the click gives its own.
        auto cabecalho = [](int tela, std::string nome, vb::Label* J_::*rotulo, std::string chave,
                            std::string J_::*ordem, std::string codigo, std::function<void(J_&, const char*)> ordena) {
            return Elemento{tela, nome, [rotulo](J_& j) { return j.*rotulo; }, chave, nullptr,
                            [ordena, codigo](J_& j) { ordena(j, codigo == "1" ? "2" : "1"); },
                            [ordem, codigo, rotulo](J_& j) {
                                EXPECT_EQ(j.*ordem, codigo);
                                EXPECT_EQ((j.*rotulo)->ForeColor(), 0x1D25DA) << "the sorted column's colour";
                            }};
        };
        auto ordenaProduto = [](J_& j, const char* o) { j.AtualizaGridAplicacoesProduto(0, o, true); };
        auto ordenaCarrinho = [](J_& j, const char* o) { j.AtualizaGridCarrinho(0, 0, o, false, true); };
        auto ordenaGrupo = [](J_& j, const char* o) { j.AtualizaGridAplicacoesGrupo(0, 0, 0, o, true); };
        auto foco = [](vb::TextBox* J_::*caixa) {
            return [caixa](J_& j) { EXPECT_TRUE((j.*caixa)->HasFocus()); };
        };

        std::vector<Elemento> e;
        e.push_back(voltar(0));

        e.push_back(cabecalho(1, "lblTipoAplicacaoA", &J_::lblTipoAplicacaoA, "_TIPOAPLICACAOA",
                              &J_::OrdemAplicacoesProduto, "1", ordenaProduto));
        e.push_back(cabecalho(1, "lblAplicacaoProdutoA", &J_::lblAplicacaoProdutoA, "_APLICACAOPRODUTOA",
                              &J_::OrdemAplicacoesProduto, "2", ordenaProduto));
        e.push_back(cabecalho(1, "lblFabricanteA", &J_::lblFabricanteA, "_FABRICANTEA", &J_::OrdemAplicacoesProduto,
                              "3", ordenaProduto));
        e.push_back(voltar(1));

        e.push_back(cabecalho(2, "lblNumeroEmpresaC", &J_::lblNumeroEmpresaC, "_NUMEROEMPRESAC", &J_::OrdemCarrinho,
                              "1", ordenaCarrinho));
        e.push_back(cabecalho(2, "lblDescricaoC", &J_::lblDescricaoC, "_DESCRICAOC", &J_::OrdemCarrinho, "2",
                              ordenaCarrinho));
        const std::pair<int, long> quantidades[] = {{0, 6}, {1, 4}};
        for (const auto& [posicao, esperada] : quantidades) {
            e.push_back({2, posicao == 0 ? "plus" : "minus", [this, p = posicao](J_&) { return FiguraDaLinha(p); }, "",
                         nullptr, nullptr, [this, esperada = esperada](J_&) {
                             EXPECT_EQ(Quantidade(produtos_[0]), esperada);
                             EXPECT_EQ(LinhasCarrinho(), 3);
                         }});
        }
        e.push_back({2, "delete", [this](J_&) { return FiguraDaLinha(2); }, "", nullptr, nullptr, [this](J_&) {
                         EXPECT_EQ(LinhasCarrinho(), 2);
                         EXPECT_EQ(Quantidade(produtos_[0]), -1) << "the current row went";
                     }});
        e.push_back({2, "lblImprimir", [](J_& j) { return j.lblImprimir; }, "BTNIMPRIMIR",
                     [](J_& j) { return j.imgBtnImprimirSel; },
                     [this](J_&) {
                         frmZornak2Form::Ligacoes().ImprimirCarrinho = [this](dao::Recordset& rs) {
                             for (; !rs.Eof(); rs.MoveNext()) ++impressos_;
                         };
                     },
                     [this](J_&) { EXPECT_EQ(impressos_, 3); }});
        e.push_back({2, "lblGerarArquivo", [](J_& j) { return j.lblGerarArquivo; }, "BTNGERARARQUIVO",
                     [](J_& j) { return j.imgBtnGerarArquivoSel; }, nullptr,
                     [this](J_&) { EXPECT_EQ(caixasSalvar_, 1) << "the save box is asked for"; }});
        e.push_back({2, "lblEnviarEmail", [](J_& j) { return j.lblEnviarEmail; }, "BTNENVIAREMAIL",
                     [](J_& j) { return j.imgBtnEnviarEmailSel; },
                     [this](J_&) {
                         // A mail program that notes its arguments.
                         QFile script(bin_.filePath("xdg-email"));
                         ASSERT_TRUE(script.open(QIODevice::WriteOnly));
                         script.write(("#!/bin/sh\necho \"$@\" > '" + bin_.filePath("chamada.txt").toStdString() +
                                       ".tmp'\nmv '" + bin_.filePath("chamada.txt").toStdString() + ".tmp' '" +
                                       bin_.filePath("chamada.txt").toStdString() + "'\n")
                                          .c_str());
                         script.close();
                         script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
                         pathAntigo_ = qgetenv("PATH");
                         qputenv("PATH", bin_.path().toUtf8() + ":" + pathAntigo_);
                     },
                     [this](J_&) {
                         EXPECT_TRUE(auxteste::Espera([this] { return QFile::exists(bin_.filePath("chamada.txt")); }))
                             << "the mail program is started with the cart's file";
                         qputenv("PATH", pathAntigo_);
                     }});
        e.push_back(voltar(2));

        e.push_back(cabecalho(3, "lblTipoAplicacaoM", &J_::lblTipoAplicacaoM, "_TIPOAPLICACAOM",
                              &J_::OrdemAplicacoesGrupo, "1", ordenaGrupo));
        e.push_back(cabecalho(3, "lblDescricaoM", &J_::lblDescricaoM, "_DESCRICAOM", &J_::OrdemAplicacoesGrupo, "2",
                              ordenaGrupo));
        e.push_back(cabecalho(3, "lblLancamentoM", &J_::lblLancamentoM, "_LANCAMENTOM", &J_::OrdemAplicacoesGrupo,
                              "3", ordenaGrupo));
        e.back().requisicao = RequisicaoGrupo(1);
        e.push_back({3, "cboTHCombo2", [](J_& j) { return &j.cboTHCombo2->Seta(); }, ">THCOMBO2", nullptr, nullptr,
                     [](J_& j) { EXPECT_TRUE(j.cboTHCombo2->ListaAberta()); }});
        e.push_back({3, "txtDescricaoAplicacaoM", [](J_& j) { return j.txtDescricaoAplicacaoM; }, "", nullptr, nullptr,
                     foco(&J_::txtDescricaoAplicacaoM)});
        // The list's pictures: the figure and the list answer the main window with the current
        // application and close.
        const std::pair<int, char> respostas[] = {{0, '4'}, {1, '3'}};
        for (const auto& [posicao, tela] : respostas) {
            e.push_back({3, tela == '4' ? "figure picture" : "list picture",
                         [this, p = posicao](J_&) { return FiguraDaLinha(p); }, "", nullptr,
                         [this](J_& j) {
                             // A row whose application has a figure.
                             dao::Recordset rs = j.dtcTHGrid1.GetRecordset();
                             for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
                                 if (vb::Mid(rs.Value("ImagensGrid").ToString() + "  ", 1, 1) == " ") break;
                             ASSERT_FALSE(rs.Eof()) << "no application with a figure";
                             aplicacao_ = rs.Value("CodigoAplicacao").ToLong();
                             j.grdTHGrid1->AtualizaGrid();
                             testsupport::Processa();
                         },
                         [this, tela = tela](J_&) {
                             ASSERT_TRUE(Fechou());
                             EXPECT_EQ(EstadoPrograma.RequisicaoTela.substr(0, 2),
                                       std::string(1, tela) + "|");
                             EXPECT_EQ(vb::Split(EstadoPrograma.RequisicaoTela, "|").at(1), std::to_string(aplicacao_));
                         }});
        }
        e.push_back(voltar(3));

        auto alterna = [](J_& j) {
            EXPECT_EQ(j.lblVerificarAtualizacoesAuto->Tag(), "0");
            EXPECT_TRUE((*j.imgVerificarAtualizacoesAuto)(0).Visible());
            EXPECT_FALSE((*j.imgVerificarAtualizacoesAuto)(1).Visible());
        };
        e.push_back({5, "imgVerificarAtualizacoesAuto", [](J_& j) { return &(*j.imgVerificarAtualizacoesAuto)(1); },
                     "_VERIFICACAOAUTO", [](J_& j) { return j.lblVerificarAtualizacoesAuto; }, nullptr, alterna});
        e.push_back({5, "lblVerificarAtualizacoesAuto", [](J_& j) { return j.lblVerificarAtualizacoesAuto; },
                     "_VERIFICACAOAUTO", nullptr, nullptr, alterna});
        e.push_back({5, "txtUsuario", [](J_& j) { return j.txtUsuario; }, "", nullptr, nullptr, foco(&J_::txtUsuario)});
        e.push_back({5, "txtSenha", [](J_& j) { return j.txtSenha; }, "", nullptr, nullptr, foco(&J_::txtSenha)});
        e.push_back({5, "lblOk", [](J_& j) { return j.lblOk; }, "BTNOK", [](J_& j) { return j.imgBtnOkSel; },
                     [](J_& j) { j.lblVerificarAtualizacoesAuto_Click(); },
                     [this](J_&) {
                         ASSERT_TRUE(Fechou());
                         EXPECT_FALSE(EstadoPrograma.VerificacaoAutomatica);
                         QFile f(QString::fromStdString(ObtemPastaConfiguracao(true) + ArquivoConfiguracao));
                         ASSERT_TRUE(f.open(QIODevice::ReadOnly));
                         EXPECT_EQ(vb::Split(QString::fromUtf8(f.readAll()).toStdString(), "|").at(1), "0");
                     }});
        e.push_back(voltar(5));
        return e;
    }

    int impressos_ = 0;
    int caixasSalvar_ = 0;
    long aplicacao_ = 0;
    QTemporaryDir bin_;
    QByteArray pathAntigo_;
};

TEST_F(AuxPonteiroTabela, EveryElementOfEveryScreenAnswersThePointer) {
    GravaConfiguracao("P", "1", "", "", true);
    const auto anteriorSalvar = vb::SetSaveFileHandler([this](const vb::SaveFileRequest&) -> std::optional<std::string> {
        ++caixasSalvar_;
        return std::nullopt;
    });
    for (const Elemento& e : Elementos()) {
        SCOPED_TRACE("screen " + std::to_string(e.tela) + ", " + e.nome);
        EncheCarrinho();
        EstadoPrograma.VerificacaoAutomatica = true;
        GravaConfiguracao("P", "1", "", "", true);
        auxteste::Janela& j = Abre(e.requisicao.empty() ? Requisicao(e.tela) : e.requisicao);
        ASSERT_TRUE(j.IsLoaded());
        ASSERT_EQ(j.TelaAtual(), e.tela);
        if (e.prepara) e.prepara(j);
        if (::testing::Test::HasFatalFailure()) break;
        vb::Control* c = e.controle(j);
        QRect area;
        ASSERT_TRUE(testsupport::AlcancaVisivel(c, area));
        const QPoint centro = area.center();

        // From the window's bare background, which takes back any highlight, onto the element.
        testsupport::MovePara(W(), QPoint(W()->width() - 60, 40));
        EXPECT_EQ(j.ChaveSelecaoAtual, "FORM");
        vb::Control* realce = e.realce ? e.realce(j) : nullptr;
        const bool mudou = testsupport::MoveParaMudaDesenho(W(), centro, realce ? RetanguloVisivel(*realce) | area : area);
        if (!e.chave.empty()) {
            EXPECT_EQ(j.ChaveSelecaoAtual, e.chave);
            if (e.chave[0] != '>') {
                EXPECT_TRUE(mudou) << "the hover shows";
            }
        }
        if (realce) {
            EXPECT_TRUE(realce->Visible());
        }
        // A press there reaches the element, not the hover picture over it.
        EXPECT_EQ(testsupport::ControleNoPonto(W(), centro), c);

        caixas_.Clear();
        impressos_ = caixasSalvar_ = 0;
        testsupport::Clica(W(), centro);
        e.efeito(j);
        if (::testing::Test::HasFatalFailure()) break;
        frmZornak2Form::Ligacoes().ImprimirCarrinho = nullptr;
    }
    vb::SetSaveFileHandler(anteriorSalvar);
}

// The cart's e-mail with a mail helper that fails, one that opens the message, and one that
// fails after the window has been closed: the box comes when the failure does, and the
// attached file stays in the temporary folder for the mail program.
TEST_F(AuxPonteiro, TheCartEmailReportsAMailProgramThatFails) {
    testsupport::AjudantesDesktop ajudantes;
    struct Caso {
        int codigo;
        bool fechaAntes;   // the window closed while the helper runs
        bool caixa;
    };
    const Caso casos[] = {{3, false, true}, {0, false, false}, {3, true, true}};
    for (const Caso& c : casos) {
        SCOPED_TRACE("xdg-email ending with " + std::to_string(c.codigo) + (c.fechaAntes ? ", window closed" : ""));
        EncheCarrinho();
        ajudantes.Programa("xdg-email", c.codigo, c.fechaAntes);
        auxteste::Janela& j = Abre("2|0");
        caixas_.Clear();
        testsupport::Clica(W(), CentroVisivel(*j.lblEnviarEmail));
        const std::optional<std::string> argumentos = ajudantes.Argumentos("xdg-email");
        ASSERT_TRUE(argumentos);
        const std::vector<std::string> partes = vb::Split(argumentos->substr(0, argumentos->size() - 1), "\n");
        ASSERT_EQ(partes.size(), 2u) << *argumentos;
        EXPECT_EQ(partes[0], "--attach");
        if (c.fechaAntes) {
            testsupport::Clica(W(), CentroVisivel(*j.lblVoltar));
            ASSERT_TRUE(Fechou());
            ajudantes.Solta("xdg-email");
        }
        ASSERT_TRUE(testsupport::EsperaComEventos([] { return os::WatchedHelpers() == 0; }));
        testsupport::DeixaCorrer(100);
        if (c.caixa) {
            ASSERT_EQ(caixas_.Count(), 1u);
            EXPECT_EQ(caixas_.Last().prompt.rfind(Traduz(1) + ": 48\r\n", 0), 0u) << caixas_.Last().prompt;
            EXPECT_NE(caixas_.Last().prompt.find("xdg-email"), std::string::npos) << caixas_.Last().prompt;
        } else {
            EXPECT_EQ(caixas_.Count(), 0u) << caixas_.Last().prompt;
        }
        EXPECT_TRUE(QFile::exists(QString::fromStdString(partes[1]))) << "the attachment stays";
        QFile::remove(QString::fromStdString(partes[1]));
    }
}

// The window's buttons show their tooltips with their hover picture over them.
// A temporary folder whose name is not UTF-8 (TMPDIR in Latin-1 bytes): the cart's e-mail file
// is written there, and the mail program gets a path it can open to the same file.
TEST_F(AuxPonteiro, TheCartEmailFileGoesIntoATemporaryFolderNamedInLatin1) {
    testsupport::AjudantesDesktop ajudantes;
    ajudantes.Programa("xdg-email", 0);
    QTemporaryDir raiz;
    ASSERT_TRUE(raiz.isValid());
    const std::string pasta = raiz.path().toStdString() + "/tempor\xE1rios";
    ASSERT_TRUE(std::filesystem::create_directory(pasta));
    // The temporary folder's own removal goes by text and would leave the Latin-1 name.
    struct Remove {
        std::string pasta;
        ~Remove() {
            std::error_code ec;
            std::filesystem::remove_all(pasta, ec);
        }
    } remove{pasta};
    const char* antes = std::getenv("TMPDIR");
    const std::optional<std::string> tmpdirAnterior = antes ? std::optional<std::string>(antes) : std::nullopt;
    setenv("TMPDIR", pasta.c_str(), 1);
    EncheCarrinho();
    auxteste::Janela& j = Abre("2|0");
    caixas_.Clear();
    testsupport::Clica(W(), CentroVisivel(*j.lblEnviarEmail));
    const std::optional<std::string> argumentos = ajudantes.Argumentos("xdg-email");
    if (tmpdirAnterior) setenv("TMPDIR", tmpdirAnterior->c_str(), 1);
    else unsetenv("TMPDIR");
    ASSERT_TRUE(argumentos) << (caixas_.Count() ? caixas_.Last().prompt : std::string("no box"));
    const std::vector<std::string> partes = vb::Split(argumentos->substr(0, argumentos->size() - 1), "\n");
    ASSERT_EQ(partes.size(), 2u) << *argumentos;
    EXPECT_EQ(partes[1].find("\xEF\xBF\xBD"), std::string::npos) << "a name that lost its byte: " << partes[1];
    std::vector<std::string> arquivos;
    for (const auto& e : std::filesystem::directory_iterator(pasta))
        if (e.is_regular_file()) arquivos.push_back(e.path().string());
    ASSERT_EQ(arquivos.size(), 1u);
    EXPECT_EQ(arquivos[0].substr(arquivos[0].size() - 4), ".txt");
    std::error_code ec;
    EXPECT_TRUE(std::filesystem::equivalent(partes[1], arquivos[0], ec)) << partes[1] << " " << ec.message();
    ASSERT_TRUE(testsupport::EsperaComEventos([] { return os::WatchedHelpers() == 0; }));
    EXPECT_EQ(caixas_.Count(), 0u) << caixas_.Last().prompt;
}

TEST_F(AuxPonteiro, ButtonTooltipsShowUnderTheirHoverPictures) {
    EncheCarrinho();
    auxteste::Janela& j = Abre("2|0");
    for (vb::Label* botao : {j.lblImprimir, j.lblGerarArquivo, j.lblEnviarEmail, j.lblVoltar}) {
        SCOPED_TRACE(botao->Name());
        testsupport::MovePara(W(), QPoint(W()->width() - 60, 40));
        EXPECT_EQ(testsupport::DicaNoPonto(W(), CentroVisivel(*botao)), botao->ToolTipText());
    }
}

// The window's background is the window's own: moving onto it from a button takes the
// highlight back, as moving onto the bare window does.
TEST_F(AuxPonteiro, TheBackgroundTakesTheHighlightBack) {
    EncheCarrinho();
    auxteste::Janela& j = Abre("2|0");
    const QPoint fundo(W()->width() - 60, 40);
    ASSERT_EQ(testsupport::ControleNoPonto(W(), fundo), nullptr) << "nothing but the window there";
    for (vb::Label* botao : {j.lblImprimir, j.lblVoltar}) {
        SCOPED_TRACE(botao->Name());
        testsupport::MovePara(W(), CentroVisivel(*botao));
        ASSERT_NE(j.ChaveSelecaoAtual, "FORM");
        testsupport::MovePara(W(), fundo);
        EXPECT_EQ(j.ChaveSelecaoAtual, "FORM");
        EXPECT_FALSE(j.imgBtnImprimirSel->Visible());
        EXPECT_FALSE(j.imgBtnVoltarSel->Visible());
    }
}

// The update screen shows its four step titles and their percentages: read from the pixels
// while the result box is up, after a whole run against a local server.
class AuxAtualizacaoPonteiro : public AuxPonteiro {
protected:
    void SetUp() override {
        AuxPonteiro::SetUp();
        servidor_ = std::make_unique<testsupport::ServidorHttpTeste>([this](const testsupport::ServidorHttpTeste::Pedido& p) {
            const std::string objeto = p.Objeto();
            if (antesDeResponder_) antesDeResponder_(objeto);
            std::lock_guard<std::mutex> trava(mutex_);
            const auto it = arquivos_.find(objeto);
            return it == arquivos_.end() ? testsupport::ServidorHttpTeste::Resposta(404, "not here")
                                         : testsupport::ServidorHttpTeste::Resposta(200, it->second);
        });
        AtualizacoesDoServidor(servidor_->Porta());
    }
    void TearDown() override {
        AuxPonteiro::TearDown();
        servidor_.reset();
    }
    std::unique_ptr<testsupport::ServidorHttpTeste> servidor_;
    std::mutex mutex_;
    std::map<std::string, std::string> arquivos_;
    // Run by the server before it answers (on its own thread, while the window waits).
    std::function<void(const std::string& objeto)> antesDeResponder_;
};

// The dark pixels of a band of the window: text drawn there.
int PixelsEscuros(const QImage& imagem, const QRect& faixa) {
    int n = 0;
    for (int y = faixa.top(); y <= faixa.bottom(); ++y)
        for (int x = faixa.left(); x <= faixa.right(); ++x)
            if (qGray(imagem.pixel(x, y)) < 128) ++n;
    return n;
}

TEST_F(AuxAtualizacaoPonteiro, StepTitlesAndPercentagesAreDrawn) {
    arquivos_["/cat/ListVersao28.txt"] = "DAT;leia.txt;3\r\n";
    arquivos_["/cat/leia.txt"] = "abc";
    QImage tela;
    QRect areaTela;
    std::vector<QRect> titulos, percentuais;
    std::vector<std::string> legendas;
    // Read while the result box is up: the window closes by itself after it.
    caixas_.OnBox([&](const testsupport::FakeMsgBox::Box&) {
        QWidget* janela = J().Window();
        tela = testsupport::Captura(janela);
        areaTela = RetanguloVisivel((*J().pctTela)(6));
        // The step rows are array elements the screen loaded: found by their names.
        auto rotulo = [janela](const char* nome, int i) -> vb::Label* {
            QWidget* w = janela->findChild<QWidget*>(QString("%1(%2)").arg(nome).arg(i));
            return w ? dynamic_cast<vb::Label*>(vb::ControlOf(w)) : nullptr;
        };
        for (int i = 1; i <= 4; ++i) {
            if (vb::Label* l = rotulo("lblTitAtualizacao", i)) {
                titulos.push_back(RetanguloVisivel(*l));
                legendas.push_back(l->Caption());
            }
            if (vb::Label* l = rotulo("lblNumAtualizacao", i)) {
                percentuais.push_back(RetanguloVisivel(*l));
                legendas.push_back(l->Caption());
            }
        }
    });
    Abre("6|27|28");
    caixas_.OnBox(nullptr);  // its captures end with this test
    ASSERT_EQ(EstadoPrograma.RequisicaoTela, "10");
    ASSERT_FALSE(tela.isNull());
    ASSERT_EQ(titulos.size(), 4u);
    ASSERT_EQ(percentuais.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(legendas[static_cast<std::size_t>(2 * i)], vb::UCase(Traduz(73 + i)));
        EXPECT_EQ(legendas[static_cast<std::size_t>(2 * i + 1)].rfind("100", 0), 0u);
        // Text in black on the white screen: a good many dark pixels in each band.
        EXPECT_GT(PixelsEscuros(tela, titulos[static_cast<std::size_t>(i)]), 40) << "the title is drawn";
        EXPECT_GT(PixelsEscuros(tela, percentuais[static_cast<std::size_t>(i)]), 20) << "the percentage is drawn";
    }
    // Nothing else stands on the screen: its edges and the room left of the rows are blank.
    ASSERT_FALSE(areaTela.isEmpty());
    for (const QPoint& p : {QPoint(0, areaTela.height() / 2), QPoint(areaTela.width() / 2, 0), QPoint(2, 2),
                            QPoint(10, 10)})
        EXPECT_EQ(tela.pixelColor(areaTela.topLeft() + p), QColor(Qt::white)) << p.x() << "," << p.y();
    EXPECT_TRUE(Fechou());
}

// The pixels of a band of the picture near a colour (each channel within 40).
int PixelsDaCor(const QImage& imagem, const QRect& faixa, const QColor& cor) {
    int n = 0;
    for (int y = faixa.top(); y <= faixa.bottom(); ++y)
        for (int x = faixa.left(); x <= faixa.right(); ++x) {
            const QColor c = imagem.pixelColor(x, y);
            if (std::abs(c.red() - cor.red()) < 40 && std::abs(c.green() - cor.green()) < 40 &&
                std::abs(c.blue() - cor.blue()) < 40)
                ++n;
        }
    return n;
}

// A step's whole row stands on the screen from the step's start, and the row of the step
// before shows it finished: read while the first list, then the first file, is on the way
// (waits that let no window events run), not only what the step start happened to repaint.
TEST_F(AuxAtualizacaoPonteiro, AStepsWholeRowShowsWhileItsFirstReplyIsAwaited) {
    arquivos_["/cat/ListVersao28.txt"] = "DAT;leia.txt;3\r\n";
    arquivos_["/cat/leia.txt"] = "abc";
    std::map<std::string, QImage> naEspera;
    std::mutex trava;
    antesDeResponder_ = [&](const std::string& objeto) {
        // The window waits for this reply now; what it drew before has had time to show.
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        const QImage imagem = testsupport::ImagemNaTela(J().Window());
        std::lock_guard<std::mutex> t(trava);
        naEspera.emplace(objeto, imagem);
    };
    std::map<std::string, QRect> areas;
    caixas_.OnBox([&](const testsupport::FakeMsgBox::Box&) {
        for (const char* nome : {"imgPassoAtualAtualizacao", "imgPassoConcluidoAtualizacao", "imgBordaBarraAtualizacao",
                                 "lblTitAtualizacao", "lblNumAtualizacao"})
            for (int i = 1; i <= 2; ++i)
                if (QWidget* w = J().Window()->findChild<QWidget*>(QString("%1(%2)").arg(nome).arg(i)))
                    areas[nome + std::to_string(i)] = RetanguloVisivel(w);
    });
    Abre("6|27|28");
    caixas_.OnBox(nullptr);
    antesDeResponder_ = nullptr;
    ASSERT_EQ(EstadoPrograma.RequisicaoTela, "10");
    ASSERT_EQ(areas.size(), 10u);
    const QColor vermelho(218, 37, 29), preto(0, 0, 0), moldura(128, 128, 128);
    // A filled 14 px circle; the 1 px outline of a 385 x 23 frame; text.
    auto confereEmCurso = [&](const QImage& tela, int passo) {
        const std::string i = std::to_string(passo);
        EXPECT_GT(PixelsDaCor(tela, areas["imgPassoAtualAtualizacao" + i], vermelho), 80) << "the running marker";
        EXPECT_GT(PixelsDaCor(tela, areas["imgBordaBarraAtualizacao" + i], moldura), 500) << "the bar's frame";
        EXPECT_GT(PixelsDaCor(tela, areas["lblTitAtualizacao" + i], vermelho), 40) << "the title in red";
        EXPECT_GT(PixelsDaCor(tela, areas["lblNumAtualizacao" + i], vermelho), 15) << "the percentage in red";
    };
    {
        SCOPED_TRACE("while the list is awaited");
        const QImage& tela = naEspera["/cat/ListVersao28.txt"];
        ASSERT_FALSE(tela.isNull());
        confereEmCurso(tela, 1);
    }
    {
        SCOPED_TRACE("while the file is awaited");
        const QImage& tela = naEspera["/cat/leia.txt"];
        ASSERT_FALSE(tela.isNull());
        confereEmCurso(tela, 2);
        EXPECT_GT(PixelsDaCor(tela, areas["imgPassoConcluidoAtualizacao1"], preto), 80) << "step 1 finished";
        EXPECT_EQ(PixelsDaCor(tela, areas["imgPassoAtualAtualizacao1"], vermelho), 0) << "step 1 no longer running";
        EXPECT_EQ(PixelsDaCor(tela, areas["lblTitAtualizacao1"], vermelho), 0) << "step 1's title no longer red";
    }
    EXPECT_TRUE(Fechou());
}

}  // namespace
