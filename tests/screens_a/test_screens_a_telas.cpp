// The product search and application search screens in the main window, in this process,
// on a copy of the demo catalogue: building, typing, the detail panel, leaving and coming
// back, and a screenshot of the product search with results.
#include "catalog/controls/ModuloGrade.h"
#include "catalog/main_window/frmZornak.h"
#include "catalog/screens/PainelProduto.h"
#include "catalog/screens/TelaAplicacao.h"
#include "catalog/screens/TelaLista.h"
#include "catalog/screens/TelaProduto.h"
#include "catalog/screens/TelasCatalogo.h"
#include "catalog/startup/Modulo.h"
#include "common/modTraducao.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Events.h"
#include "platform/forms/Screen.h"
#include "platform/os/Folders.h"
#include "platform/vb/Err.h"
#include "platform/vb/Strings.h"
#include "tests/support/AplicacaoTeste.h"
#include "tests/support/FakeMsgBox.h"
#include "tests/support/JanelasTeste.h"
#include "tests/support/ProgramaDemo.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

class ScreensATelas : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::CriaAplicacao("test_screens_a_telas"); }

    void SetUp() override {
        ASSERT_TRUE(raiz.isValid());
        // The pictures are only read: the demo folder's own serve.
        ASSERT_NO_FATAL_FAILURE(
            testsupport::InstalaProgramaDemo(raiz.path(), ZK_DEMO_DATA_DIR, testsupport::ImagensDemo::Ligadas));
        testsupport::PreparaJanelas(Fabrica());
        ASSERT_TRUE(Inicializa());
        ASSERT_EQ(caixas.Count(), 0u) << caixas.Last().prompt;
    }

    void TearDown() override {
        testsupport::EncerraJanelas();
        telas = nullptr;
    }

    frmZornakForm::FabricaTelas Fabrica() {
        return [this](frmZornakForm& j) {
            auto t = std::make_unique<TelasCatalogo>(j);
            telas = t.get();
            return t;
        };
    }

    QString Dados() const { return raiz.path() + "/dados"; }
    frmZornakForm& J() { return frmZornak(); }
    TelaProduto& P() { return telas->Produto(); }
    TelaAplicacao& A() { return telas->Aplicacao(); }
    PainelProduto& Painel() { return telas->Painel(); }
    TelasCatalogo* telas = nullptr;

    void Vai(int tela) {
        const int saindo = J().TelaAtual();
        J().m_HistoricoTelas += std::to_string(tela);
        J().TrocaTela(static_cast<std::uint8_t>(tela), static_cast<std::uint8_t>(saindo), "");
    }

    dao::Recordset Produtos() { return J().dtcTHGrid1.GetRecordset(); }
    long ProdutoAtual() { return Produtos().Value("CodigoProduto").ToLong(); }

    // Makes the product current as a click on its row would: scrolls it into view and
    // moves the grid's row there, which raises the row change.
    void SelecionaProduto(long codigo) {
        dao::Recordset rs = Produtos();
        rs.FindFirst("CodigoProduto = " + std::to_string(codigo));
        ASSERT_FALSE(rs.NoMatch()) << codigo;
        const long alvo = rs.AbsolutePosition();
        rs.MoveFirst();
        J().grdTHGrid1->AtualizaGrid();
        const int porPagina = J().grdTHGrid1->LinhasPorPagina();
        if (alvo >= porPagina) J().grdTHGrid1->Scroll(0, static_cast<int>(alvo), true);
        const dao::Bookmark marca = Produtos().BookmarkAt(alvo);
        for (int linha = 0; linha < porPagina; ++linha)
            if (J().grdTHGrid1->RowBookmark(linha) == marca) {
                J().grdTHGrid1->SetRow(linha);
                break;
            }
        ASSERT_EQ(ProdutoAtual(), codigo);
    }

    static std::vector<std::vector<std::string>> Linhas(const std::string& sql) { return testsupport::LinhasCatalogo(sql); }

    static bool MesmaImagem(const vb::Picture& a, const QImage& b) {
        return !a.IsNothing() && a.Pixmap().toImage().convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
    }

    QTemporaryDir raiz;
    testsupport::FakeMsgBox caixas;
};

TEST_F(ScreensATelas, TheFirstVisitListsEveryProductByNumberWithTheAllGroupsRowChosen) {
    Vai(1);
    EXPECT_EQ(caixas.Count(), 0u) << caixas.Last().prompt;
    EXPECT_TRUE((*J().pctTela)(1).Visible());
    EXPECT_TRUE(J().grdTHGrid1->Visible());
    EXPECT_TRUE(J().grdTHGrid2->Visible());
    EXPECT_TRUE(J().cboTHCombo2->Visible());
    EXPECT_TRUE(P().txtNumeroEmpresa->Visible());
    EXPECT_TRUE(P().txtNumeroEmpresa->HasFocus());
    const long total = vb::CLng(Linhas("SELECT COUNT(*) FROM PRODUTO")[0][0]);
    EXPECT_EQ(Produtos().RecordCount(), total);
    EXPECT_EQ(J().dtcTHCombo2.GetRecordset().Value("CodigoGrupoProduto").ToLong(), 0);
    EXPECT_EQ(J().dtcTHCombo2.GetRecordset().Value("DescricaoGrupoProduto").ToString(), "<TODOS>");
    EXPECT_EQ(P().lblNumeroEmpresa->ForeColor(), 0x1D25DA);
    EXPECT_EQ(P().lblDescricaoProduto->ForeColor(), 0);
    EXPECT_EQ(P().lblNumeroEmpresa->Caption(), vb::UCase(Traduz(32)));
    EXPECT_EQ(P().lblNumeroEmpresa->ToolTipText(), "Ordenar por " + vb::UCase(Traduz(32)));
    EXPECT_EQ(P().lblObs->ToolTipText(), Traduz(3) + " <F2>");
    EXPECT_EQ(P().lblNumeroReferencia->ToolTipText(), "");
    // The applications grid lists the first product's applications.
    const long primeiro = ProdutoAtual();
    EXPECT_EQ(J().dtcTHGrid2.GetRecordset().RecordCount(),
              static_cast<long>(Linhas("SELECT CodigoAplicacao FROM APLICACAO_PRODUTO WHERE CodigoProduto=" +
                                       std::to_string(primeiro)).size()));

    // Screen 5: the releases only, newest first.
    Vai(5);
    const auto lancamentos = Linhas("SELECT CodigoProduto FROM PRODUTO WHERE FlagLancamento=1");
    EXPECT_EQ(Produtos().RecordCount(), static_cast<long>(lancamentos.size()));
    EXPECT_EQ(P().lblLancamento->ForeColor(), 0x1D25DA);
    EXPECT_EQ(P().lblNumeroEmpresa->ForeColor(), 0);
    EXPECT_EQ(caixas.Count(), 0u) << caixas.Last().prompt;
}

TEST_F(ScreensATelas, TypingRequeriesInTheBoxsOrderAndTheBuildsOwnWritingDoesNot) {
    Vai(1);
    P().txtDescricaoProduto->SetText("disco");
    EXPECT_EQ(P().OrdemProdutos[0], "2");
    EXPECT_EQ(P().lblDescricaoProduto->ForeColor(), 0x1D25DA);
    const auto comDisco = Linhas("SELECT CodigoProduto FROM PRODUTO WHERE DescricaoProdutoP LIKE '*disco*'");
    ASSERT_FALSE(comDisco.empty());
    EXPECT_EQ(Produtos().RecordCount(), static_cast<long>(comDisco.size()));

    // A header click sorts by its column; a group order survives a typed reference and a
    // typed part number sorts by number.
    P().lblGrupo->Click();
    EXPECT_EQ(P().OrdemProdutos[0], "3");
    EXPECT_EQ(P().lblGrupo->ForeColor(), 0x1D25DA);
    EXPECT_EQ(P().lblDescricaoProduto->ForeColor(), 0);
    P().lblFabricante->Click();
    EXPECT_EQ(P().OrdemAplicacoesProduto[0], "3");
    EXPECT_EQ(P().lblFabricante->ForeColor(), 0x1D25DA);
    EXPECT_EQ(P().lblTipoAplicacao->ForeColor(), 0);
    EXPECT_TRUE(J().dtcTHGrid2.GetRecordset().IsOpen());
    P().txtNumeroFabricante->SetText("1");
    EXPECT_EQ(P().OrdemProdutos[0], "3");
    P().txtNumeroFabricante->SetText("");
    P().txtDescricaoProduto->SetText("");
    P().txtNumeroEmpresa->SetText("1");
    EXPECT_EQ(P().OrdemProdutos[0], "1");
    const auto comUm = Linhas("SELECT CodigoProduto FROM PRODUTO WHERE NumeroEmpresaProduto LIKE '1*'");
    EXPECT_EQ(Produtos().RecordCount(), static_cast<long>(comUm.size()));

    // While the switcher runs a change does nothing.
    J().m_TrocandoTela = true;
    P().txtNumeroEmpresa->SetText("99999999");
    J().m_TrocandoTela = false;
    EXPECT_EQ(Produtos().RecordCount(), static_cast<long>(comUm.size()));
}

TEST_F(ScreensATelas, TheRowChangeShowsThePhotoTheReferencesAndTheReplacement) {
    Vai(1);
    const auto fotos = Linhas("SELECT CodigoProduto, ArquivoFotoProduto, CodigoGrupoProduto FROM PRODUTO "
                              "WHERE ArquivoFotoProduto<>'' ORDER BY CodigoProduto");
    const QImage fundo = CarregaImagemRecurso("FOTOPRODUTOFUNDO", "G").Pixmap().toImage();
    struct Caso {
        long produto;
        const char* como;
    };
    // 1: a photo 190 x 165; 30: 191 x 165, refused; 31: its file is missing; 3: no photo.
    long faixa = 0;
    for (const auto& f : fotos)
        if (f[2] == "8" && vb::CLng(f[0]) != 30 && vb::CLng(f[0]) != 31) { faixa = vb::CLng(f[0]); break; }
    ASSERT_GT(faixa, 0);
    for (const Caso& c : {Caso{1, "photo"}, Caso{30, "fundo"}, Caso{31, "fundo"}, Caso{3, "fundo"}, Caso{faixa, "faixa"}}) {
        SelecionaProduto(c.produto);
        const vb::Picture& foto = Painel().imgFotoProduto[0]->GetPicture();
        const vb::Picture& tira = Painel().imgFotoProduto[1]->GetPicture();
        const std::string arquivo = Produtos().Value("ArquivoFotoProduto").IsNull() ? "" : Produtos().Value("ArquivoFotoProduto").ToString();
        const QImage doArquivo(QString::fromStdString(EstadoPrograma.CaminhoDados + "FotoPeca/" + arquivo));
        if (std::string(c.como) == "photo") {
            EXPECT_TRUE(MesmaImagem(foto, doArquivo)) << c.produto;
            EXPECT_TRUE(tira.IsNothing());
        } else if (std::string(c.como) == "faixa") {
            EXPECT_TRUE(MesmaImagem(tira, doArquivo)) << c.produto;
            EXPECT_TRUE(MesmaImagem(foto, fundo)) << c.produto;
        } else {
            EXPECT_TRUE(MesmaImagem(foto, fundo)) << c.produto;
            EXPECT_TRUE(tira.IsNothing()) << c.produto;
        }
        // The applications follow the row.
        EXPECT_EQ(J().dtcTHGrid2.GetRecordset().RecordCount(),
                  static_cast<long>(Linhas("SELECT CodigoAplicacao FROM APLICACAO_PRODUTO WHERE CodigoProduto=" +
                                           std::to_string(c.produto)).size()));
    }

    // Product 5 has nine references: the first seven by abbreviation and name, in black.
    SelecionaProduto(5);
    const auto refs = Linhas("SELECT F.DescricaoAbrevFabricante<I>, F.DescricaoFabricante<I>, R.NumeroFabricante, "
                             "R.NumeroFabricantePesquisa FROM REFERENCIACRUZADA R INNER JOIN FABRICANTE F ON "
                             "R.CodigoFabricante = F.CodigoFabricante WHERE R.CodigoProduto = 5 ORDER BY 1,2");
    ASSERT_EQ(refs.size(), 9u);
    for (size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(Painel().lblNumeroFabricanteRef[i]->Caption(), refs[i][2]) << i;
        EXPECT_EQ(Painel().lblNumeroFabricanteRef[i]->ToolTipText(), refs[i][1]) << i;
        EXPECT_EQ(Painel().lblNumeroFabricanteRef[i]->ForeColor(), 0) << i;
        const bool cabe = Painel().pctPainelRef->TextWidth(refs[i][2]) <= 83;
        EXPECT_EQ(Painel().lblFabricanteRef[i]->Caption(), cabe ? refs[i][0] : "") << i;
    }
    // The searched number comes first, in red.
    const std::string buscado = refs[8][2];
    P().txtNumeroFabricante->SetText(buscado);
    SelecionaProduto(5);
    EXPECT_EQ(Painel().lblNumeroFabricanteRef[0]->ForeColor(), 0x1D25DA);
    EXPECT_NE(NormalizaCodigoAlfanumerico(Painel().lblNumeroFabricanteRef[0]->Caption()).find(NormalizaCodigoAlfanumerico(buscado)),
              std::string::npos);
    P().txtNumeroFabricante->SetText("");

    // 103 is replaced by 104, which 105 replaces: the box names 105's number.
    SelecionaProduto(103);
    EXPECT_TRUE(Painel().lblNroSubstituido->Visible());
    EXPECT_EQ(Painel().pctPainelRef->Height(), 95);
    const std::string numero105 = Linhas("SELECT NumeroEmpresaProduto FROM PRODUTO WHERE CodigoProduto=105")[0][0];
    const std::string d = std::string(8 - numero105.size(), '0') + numero105;
    EXPECT_EQ(Painel().lblNroSubstituido->Caption(),
              Traduz(92) + "\r\n" + d.substr(0, 2) + "-" + d.substr(2, 2) + "-" + d.substr(4));
    SelecionaProduto(1);
    EXPECT_FALSE(Painel().lblNroSubstituido->Visible());
    EXPECT_EQ(Painel().pctPainelRef->Height(), 135);

    // An empty list: blank references, the background, no applications.
    P().txtDescricaoProduto->SetText("zzqqxx");
    Painel().AtualizaPainelProduto("", true, false);
    EXPECT_EQ(Produtos().RecordCount(), 0);
    EXPECT_EQ(Painel().lblNumeroFabricanteRef[0]->Caption(), "");
    EXPECT_TRUE(MesmaImagem(Painel().imgFotoProduto[0]->GetPicture(), fundo));
    EXPECT_EQ(J().dtcTHGrid2.GetRecordset().RecordCount(), 0);
    EXPECT_EQ(caixas.Count(), 0u) << caixas.Last().prompt;
}

TEST_F(ScreensATelas, EachModeComesBackAsItWasLeft) {
    Vai(1);
    P().txtDescricaoProduto->SetText("disco");
    SelecionaProduto(vb::CLng(Linhas("SELECT CodigoProduto FROM PRODUTO WHERE DescricaoProdutoP LIKE '*disco*' "
                                     "ORDER BY CodigoProduto DESC")[0][0]));
    const long escolhido = ProdutoAtual();
    dao::Recordset aplicacoes = J().dtcTHGrid2.GetRecordset();
    ASSERT_GT(aplicacoes.RecordCount(), 1);
    aplicacoes.MoveLast();
    const long aplicacao = aplicacoes.Value("CodigoAplicacao").ToLong();
    Vai(5);
    EXPECT_EQ(P().txtDescricaoProduto->Text(), "");
    EXPECT_EQ(P().OrdemProdutos[1], "4");
    P().txtDescricaoProduto->SetText("zzqqxx");   // nothing matches
    Vai(2);
    Vai(1);
    EXPECT_EQ(P().txtDescricaoProduto->Text(), "disco");
    EXPECT_EQ(ProdutoAtual(), escolhido);
    EXPECT_EQ(J().dtcTHGrid2.GetRecordset().Value("CodigoAplicacao").ToLong(), aplicacao);
    EXPECT_EQ(P().OrdemProdutos[0], "2");
    Vai(5);
    EXPECT_EQ(P().txtDescricaoProduto->Text(), "zzqqxx");
    EXPECT_EQ(Produtos().RecordCount(), 0);
    EXPECT_EQ(P().CodigoProdutoPesquisa[1], 0);
    EXPECT_EQ(caixas.Count(), 0u) << caixas.Last().prompt;
}

TEST_F(ScreensATelas, TheApplicationSearchFiltersAndKeepsItsStateAcrossVisits) {
    Vai(2);
    EXPECT_EQ(caixas.Count(), 0u) << caixas.Last().prompt;
    const auto todas = Linhas("SELECT CodigoAplicacao, DescricaoAplicacaoPesquisaP FROM APLICACAO");
    EXPECT_EQ(J().dtcTHGrid1.GetRecordset().RecordCount(), static_cast<long>(todas.size()));
    EXPECT_EQ(J().dtcTHCombo1.GetRecordset().Value("CodigoFabricante").ToLong(), 0);
    EXPECT_EQ(J().dtcTHCombo2.GetRecordset().Value("CodigoTipoAplicacao").ToLong(), 0);
    EXPECT_EQ(A().lblTipoAplicacaoA->ForeColor(), 0x1D25DA);
    EXPECT_TRUE(A().txtDescricaoAplicacaoA->Enabled());
    EXPECT_TRUE(A().txtDescricaoAplicacaoA->HasFocus());

    const std::string chave = todas[todas.size() / 3][1].substr(0, 3);
    A().txtDescricaoAplicacaoA->SetText(vb::LCase(chave));
    size_t esperado = 0;
    for (const auto& a : todas) esperado += a[1].find(chave) != std::string::npos;
    EXPECT_EQ(J().dtcTHGrid1.GetRecordset().RecordCount(), static_cast<long>(esperado));
    EXPECT_EQ(A().OrdemAplicacoes, "2");
    J().dtcTHGrid1.GetRecordset().MoveLast();
    const long escolhida = J().dtcTHGrid1.GetRecordset().Value("CodigoAplicacao").ToLong();

    Vai(1);
    EXPECT_FALSE(A().txtDescricaoAplicacaoA->Enabled());
    Vai(2);
    EXPECT_EQ(A().txtDescricaoAplicacaoA->Text(), vb::LCase(chave));
    EXPECT_EQ(J().dtcTHGrid1.GetRecordset().RecordCount(), static_cast<long>(esperado));
    EXPECT_EQ(J().dtcTHGrid1.GetRecordset().Value("CodigoAplicacao").ToLong(), escolhida);
    EXPECT_EQ(caixas.Count(), 0u) << caixas.Last().prompt;
}

TEST_F(ScreensATelas, TheProductRowsShowTheirReleaseAndObservationMarksInTheLanguagesPictures) {
    std::set<long> comObs, lancamentos;
    for (const auto& l : Linhas("SELECT CodigoProduto FROM PRODUTO_OBS")) comObs.insert(vb::CLng(l[0]));
    for (const auto& l : Linhas("SELECT CodigoProduto FROM PRODUTO WHERE FlagLancamento=1")) lancamentos.insert(vb::CLng(l[0]));
    Vai(1);
    P().txtDescricaoProduto->SetText("disc");
    for (const std::string idioma : {"P", "I"}) {
        if (idioma == "I") {
            Vai(2);
            EstadoPrograma.Idioma = idioma;
            Vai(1);
        }
        THGrid& g = *J().grdTHGrid1;
        const vb::Picture obs = CarregaImagemRecurso("ICOOBS1", idioma == "I" ? "I" : "P");
        int vistos = 0, comMarca = 0;
        // Page down until a row with an observation has been seen.
        for (int pagina = 0; pagina < 40 && comMarca == 0; ++pagina) {
            if (pagina > 0) g.Scroll(0, g.LinhasPorPagina(), true);
            for (int r = 0; r < g.LinhasPorPagina(); ++r) {
                const MarcadorLinha m = g.RowBookmark(r);
                if (!m || r == g.Row()) continue;   // the selection bar draws its own pictures
                dao::Recordset rs = Produtos().Clone();
                rs.SetBookmark(*m);
                const long codigo = rs.Value("CodigoProduto").ToLong();
                ASSERT_NE(g.Marcador(2, r), nullptr);
                EXPECT_EQ(g.Marcador(2, r)->Visible(), comObs.count(codigo) != 0) << idioma << " " << codigo;
                EXPECT_EQ(g.Marcador(1, r)->Visible(), lancamentos.count(codigo) != 0) << idioma << " " << codigo;
                EXPECT_TRUE(g.Marcador(0, r)->Visible());
                if (g.Marcador(2, r)->Visible()) {
                    ++comMarca;
                    EXPECT_EQ(g.Marcador(2, r)->GetPicture().Pixmap().toImage(), obs.Pixmap().toImage()) << idioma;
                }
                ++vistos;
            }
        }
        EXPECT_GT(vistos, 3);
        EXPECT_GT(comMarca, 0) << idioma;
    }
    EstadoPrograma.Idioma = "P";
}

TEST_F(ScreensATelas, AnEmptiedPanelEmptiesTheApplicationsOverAListWithRows) {
    Vai(1);
    SelecionaProduto(5);
    ASSERT_GT(J().dtcTHGrid2.GetRecordset().RecordCount(), 0);
    Painel().AtualizaPainelProduto("", true, true);
    EXPECT_EQ(Painel().lblNumeroFabricanteRef[0]->Caption(), "");
    EXPECT_EQ(J().dtcTHGrid2.GetRecordset().RecordCount(), 0) << "the panel is empty, its applications too";
    EXPECT_FALSE(Painel().lblNroSubstituido->Visible());
}

TEST_F(ScreensATelas, ChangingTheGroupKeepsTheProductWhenItIsStillListed) {
    Vai(1);
    SelecionaProduto(5);
    const int grupo = vb::CLng(Linhas("SELECT CodigoGrupoProduto FROM PRODUTO WHERE CodigoProduto=5")[0][0]);
    J().dtcTHCombo2.GetRecordset().FindFirst("CodigoGrupoProduto = " + std::to_string(grupo));
    J().cboTHCombo2->SelecaoAlterada();
    EXPECT_EQ(ProdutoAtual(), 5);
    EXPECT_EQ(Produtos().RecordCount(),
              static_cast<long>(Linhas("SELECT CodigoProduto FROM PRODUTO WHERE CodigoGrupoProduto=" + std::to_string(grupo)).size()));
    // The group is remembered with the mode.
    Vai(2);
    Vai(1);
    EXPECT_EQ(J().dtcTHCombo2.GetRecordset().Value("CodigoGrupoProduto").ToLong(), grupo);
    EXPECT_EQ(ProdutoAtual(), 5);
}

TEST_F(ScreensATelas, TheListScreensPanelShowsOnlyTheApplicationsMakersAndItsOwnBackground) {
    Vai(1);
    // Product 5's references, restricted to the makers of two of them.
    const auto refs = Linhas("SELECT R.CodigoFabricante, R.NumeroFabricante FROM REFERENCIACRUZADA R WHERE R.CodigoProduto = 5");
    ASSERT_GE(refs.size(), 3u);
    J().FabricantesLista = refs[0][0] + "," + refs[1][0];
    std::set<std::string> permitidos;
    for (const auto& r : refs)
        if (r[0] == refs[0][0] || r[0] == refs[1][0]) permitidos.insert(r[1]);
    // The number typed in the reference box of an LC list (written as a screen build does,
    // so the list is not queried on this screen).
    J().grdTHGrid1->SetTag("2");
    J().m_TrocandoTela = true;
    telas->Lista().txtNumeroFabricanteLC->SetText(refs[1][1]);
    J().m_TrocandoTela = false;
    SelecionaProduto(5);
    Painel().AtualizaPainelProdutoLista(false);
    std::set<std::string> mostrados;
    for (vb::Label* l : Painel().lblNumeroFabricanteRefL)
        if (!l->Caption().empty()) mostrados.insert(l->Caption());
    EXPECT_EQ(mostrados, permitidos);
    EXPECT_EQ(Painel().lblNumeroFabricanteRefL[0]->ForeColor(), 0x1D25DA);
    EXPECT_NE(NormalizaCodigoAlfanumerico(Painel().lblNumeroFabricanteRefL[0]->Caption()).find(NormalizaCodigoAlfanumerico(refs[1][1])),
              std::string::npos);

    // A strip leaves the list's photo slot empty; no photo shows the second background.
    const QImage fundo2 = CarregaImagemRecurso("FOTOPRODUTOFUNDO2", "G").Pixmap().toImage();
    const auto tiras = Linhas("SELECT CodigoProduto FROM PRODUTO WHERE CodigoGrupoProduto=8 AND ArquivoFotoProduto<>'' "
                              "AND CodigoProduto<>30 AND CodigoProduto<>31 ORDER BY CodigoProduto");
    ASSERT_FALSE(tiras.empty());
    SelecionaProduto(vb::CLng(tiras[0][0]));
    Painel().AtualizaPainelProdutoLista(false);
    EXPECT_TRUE(Painel().imgFotoProduto[2]->GetPicture().IsNothing());
    EXPECT_FALSE(Painel().imgFotoProduto[3]->GetPicture().IsNothing());
    SelecionaProduto(3);
    Painel().AtualizaPainelProdutoLista(false);
    EXPECT_TRUE(MesmaImagem(Painel().imgFotoProduto[2]->GetPicture(), fundo2));
    EXPECT_TRUE(Painel().imgFotoProduto[3]->GetPicture().IsNothing());
}

TEST_F(ScreensATelas, TheApplicationTypeAndMakerFilterAndComeBack) {
    Vai(2);
    const auto app = Linhas("SELECT CodigoTipoAplicacao, CodigoFabricante FROM APLICACAO ORDER BY CodigoAplicacao");
    const std::string tipo = app[0][0], fabricante = app[0][1];
    J().dtcTHCombo2.GetRecordset().FindFirst("CodigoTipoAplicacao = " + tipo);
    J().cboTHCombo2->SelecaoAlterada();
    EXPECT_EQ(J().dtcTHGrid1.GetRecordset().RecordCount(),
              static_cast<long>(Linhas("SELECT CodigoAplicacao FROM APLICACAO WHERE CodigoTipoAplicacao=" + tipo).size()));
    J().dtcTHCombo1.GetRecordset().FindFirst("CodigoFabricante = " + fabricante);
    A().Combo_SelecaoAlterada();
    const long ambos = static_cast<long>(
        Linhas("SELECT CodigoAplicacao FROM APLICACAO WHERE CodigoTipoAplicacao=" + tipo + " AND CodigoFabricante=" + fabricante).size());
    EXPECT_EQ(J().dtcTHGrid1.GetRecordset().RecordCount(), ambos);
    A().PesquisaAplicacoes("3", true);
    EXPECT_EQ(A().lblFabricanteA->ForeColor(), 0x1D25DA);
    EXPECT_EQ(A().lblTipoAplicacaoA->ForeColor(), 0);
    Vai(1);
    Vai(2);
    EXPECT_EQ(std::to_string(J().dtcTHCombo2.GetRecordset().Value("CodigoTipoAplicacao").ToLong()), tipo);
    EXPECT_EQ(std::to_string(J().dtcTHCombo1.GetRecordset().Value("CodigoFabricante").ToLong()), fabricante);
    EXPECT_EQ(J().dtcTHGrid1.GetRecordset().RecordCount(), ambos);
    EXPECT_EQ(A().OrdemAplicacoes, "3");
}

TEST_F(ScreensATelas, ScreenshotOfTheProductSearchWithResults) {
    Vai(1);
    P().txtDescricaoProduto->SetText("disco");
    SelecionaProduto(vb::CLng(Produtos().Value("CodigoProduto").ToString()));
    QCoreApplication::processEvents();
    QDir().mkpath(ZK_SCREENSHOT_DIR);
    ASSERT_TRUE(J().Window()->grab().save(QString(ZK_SCREENSHOT_DIR) + "/screens_a_produto.png"));
    Vai(2);
    QCoreApplication::processEvents();
    ASSERT_TRUE(J().Window()->grab().save(QString(ZK_SCREENSHOT_DIR) + "/screens_a_aplicacao.png"));
}

TEST_F(ScreensATelas, TheSearchScreensWorkWithTheOtherScreensInPlace) {
    ASSERT_NE(telas, nullptr);
    Vai(1);
    TelaProduto& p = telas->Produto();
    p.txtDescricaoProduto->SetText("disco");
    EXPECT_EQ(p.OrdemProdutos[0], "2");
    dao::Recordset rs = Produtos();
    ASSERT_GT(rs.RecordCount(), 1);
    rs.MoveFirst();
    J().grdTHGrid1->AtualizaGrid();
    J().grdTHGrid1->SetRow(1);
    const long segundo = ProdutoAtual();
    EXPECT_EQ(J().dtcTHGrid2.GetRecordset().RecordCount(),
              static_cast<long>(Linhas("SELECT CodigoAplicacao FROM APLICACAO_PRODUTO WHERE CodigoProduto=" +
                                       std::to_string(segundo)).size()));
    const auto refs = Linhas("SELECT NumeroFabricante FROM REFERENCIACRUZADA WHERE CodigoProduto=" + std::to_string(segundo));
    EXPECT_EQ(telas->Painel().lblNumeroFabricanteRef[0]->Caption().empty(), refs.empty());
    Vai(2);
    EXPECT_TRUE((*J().pctTela)(2).Visible());
    EXPECT_FALSE((*J().pctTela)(1).Visible());
    Vai(1);
    EXPECT_EQ(ProdutoAtual(), segundo);
    EXPECT_EQ(caixas.Count(), 0u) << caixas.Last().prompt;
}

TEST_F(ScreensATelas, TypingInTheListScreensBoxesRequeriesItsList) {
    ASSERT_NE(telas, nullptr);
    // Vehicle 1's list (LV): its products, then those whose part number starts with 1.
    J().CodigoAplicacaoLista = 1;
    J().CodigoAplicacaoCombo = 0;
    J().FabricantesLista = ObtemFabricantesAplicacao(1);
    J().m_HistoricoTelas += "3";
    J().TrocaTela(3, 0, "LimpaTelaLista");
    ASSERT_EQ(caixas.Count(), 0u) << caixas.Last().prompt;
    ASSERT_EQ(J().grdTHGrid1->Tag(), "1");
    QCoreApplication::processEvents();
    QDir().mkpath(ZK_SCREENSHOT_DIR);
    ASSERT_TRUE(J().Window()->grab().save(QString(ZK_SCREENSHOT_DIR) + "/screens_a_lista.png"));
    const std::string daAplicacao = "FROM APLICACAO_PRODUTO AP INNER JOIN PRODUTO P ON AP.CodigoProduto = P.CodigoProduto "
                                    "WHERE AP.CodigoAplicacao=1";
    const auto todos = Linhas("SELECT DISTINCT P.CodigoProduto " + daAplicacao);
    EXPECT_EQ(Produtos().RecordCount(), static_cast<long>(todos.size()));
    TelaLista& l = telas->Lista();
    l.txtNumeroEmpresaLV->SetText("1");
    EXPECT_EQ(l.OrdemLista, "1");
    EXPECT_EQ(Produtos().RecordCount(),
              static_cast<long>(Linhas("SELECT DISTINCT P.CodigoProduto " + daAplicacao + " AND P.NumeroEmpresaProduto LIKE '1*'").size()));
    l.txtNumeroEmpresaLV->SetText("");
    l.txtDescricaoProdutoLV->SetText("zzqqxx");
    EXPECT_EQ(l.OrdemLista, "2");
    EXPECT_EQ(Produtos().RecordCount(), 0);
    EXPECT_EQ(caixas.Count(), 0u) << caixas.Last().prompt;
}

TEST_F(ScreensATelas, TheSetListFindsFigureItemsByPrefixSortedByItem) {
    ASSERT_NE(telas, nullptr);
    // An application of a set that is not a vehicle: its list is LC.
    const auto conjuntos = Linhas("SELECT C.CodigoAplicacao FROM CONJUNTO C INNER JOIN APLICACAO A ON "
                                  "C.CodigoAplicacao = A.CodigoAplicacao WHERE A.CodigoTipoAplicacao <> 1 ORDER BY 1");
    ASSERT_FALSE(conjuntos.empty());
    const long aplicacao = vb::CLng(conjuntos[0][0]);
    J().CodigoAplicacaoLista = aplicacao;
    J().CodigoAplicacaoCombo = 0;
    J().FabricantesLista = ObtemFabricantesAplicacao(aplicacao);
    J().m_HistoricoTelas += "3";
    J().TrocaTela(3, 0, "LimpaTelaLista");
    ASSERT_EQ(caixas.Count(), 0u) << caixas.Last().prompt;
    ASSERT_NE(J().grdTHGrid1->Tag(), "1");
    TelaLista& l = telas->Lista();
    l.txtItemFigLC->SetText("1");
    EXPECT_EQ(l.OrdemLista, "3");
    const auto esperado = Linhas("SELECT DISTINCT CP.CodigoProduto FROM CONJUNTO_PRODUTO1 CP INNER JOIN APLICACAO_PRODUTO AP ON "
                                 "CP.CodigoAplicacao = AP.CodigoAplicacao AND CP.CodigoProduto = AP.CodigoProduto "
                                 "WHERE CP.CodigoAplicacao=" + std::to_string(aplicacao) + " AND CP.ItemFigura LIKE '1*'");
    std::set<long> codigos;
    dao::Recordset rs = Produtos().Clone();
    std::string anterior;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        codigos.insert(rs.Value("CodigoProduto").ToLong());
        const std::string chave = rs.Value("ItemFiguraOrderBy").ToString();
        EXPECT_LE(anterior, chave);
        anterior = chave;
    }
    std::set<long> esperados;
    for (const auto& e : esperado) esperados.insert(vb::CLng(e[0]));
    ASSERT_FALSE(esperados.empty());
    EXPECT_EQ(codigos, esperados);
    EXPECT_EQ(caixas.Count(), 0u) << caixas.Last().prompt;
}

}  // namespace
