// The home screen on the demo catalogue: manufacturers, group links, release marks, the
// notice, leaving and coming back, and the re-opening of the applications dialog.
#include "JanelaDemo.h"

#include "catalog/screens/TelaPrincipal.h"
#include "common/modTraducao.h"
#include "platform/vb/Strings.h"

#include <map>
#include <set>
#include <vector>

namespace {

struct Link {
    std::string legenda, tag;
    int left, top;
    long cor, marca;
};

class TelaPrincipalDemo : public JanelaDemo {
protected:
    static std::vector<vb::Label*> Visiveis(frmZornakForm& j, const char* nome) {
        std::vector<vb::Label*> v;
        auto* a = j.ArranjoControles<vb::Label>(nome);
        for (int i : a->Indices())
            if ((*a)(i).Visible()) v.push_back(&(*a)(i));
        return v;
    }
    // The visible links of the cell whose manufacturer label stands at (left, top).
    static std::vector<Link> LinksDaCelula(frmZornakForm& j, int left, int topoCelula) {
        std::vector<Link> v;
        for (vb::Label* l : Visiveis(j, "lblGrupoM"))
            if (l->Left() == left && l->Top() >= topoCelula && l->Top() < topoCelula + 105)
                v.push_back({l->Caption(), l->Tag(), l->Left(), l->Top(), l->ForeColor(), l->WhatsThisHelpID()});
        return v;
    }
};

TEST_F(TelaPrincipalDemo, TwelveManufacturersInHomeOrderThreePerRow) {
    frmZornakForm& j = Inicia();
    ASSERT_TRUE(erros.empty()) << erros.front();
    auto* nomes = j.ArranjoControles<vb::Label>("lblFabricanteM");
    ASSERT_EQ(nomes->Count(), 12);
    // Fourteen makers are flagged; the two with the highest OrdemTelaPrincipal stay out.
    const std::vector<std::string> marcas = {"ONDARRA", "BRONTAL", "VELTRA", "TAVESSA", "CASTRELO", "NORDAVIK",
                                             "DUMARIS", "HELVENO", "ORVANE", "RISTOLO", "GARBANA", "MOVARRA"};
    for (int i = 0; i < 12; ++i) {
        const vb::Label& l = (*nomes)(i);
        EXPECT_TRUE(l.Visible());
        EXPECT_EQ(l.Caption().rfind(marcas[i], 0), 0u) << i << ": " << l.Caption();
        EXPECT_EQ(l.Left(), 103 + (i % 3) * 226) << i;
        EXPECT_EQ(l.Top(), 26 + (i / 3) * 105) << i;
    }
    for (vb::Label* l : Visiveis(j, "lblFabricanteM")) {
        EXPECT_EQ(l->Caption().find("TRENNIC"), std::string::npos);
        EXPECT_EQ(l->Caption().find("ALCAVO"), std::string::npos);
    }
    EXPECT_TRUE((*j.pctTela)(0).Visible());
}

TEST_F(TelaPrincipalDemo, GroupLinksPerManufacturerFollowTheirCount) {
    frmZornakForm& j = Inicia();
    const std::string veiculos = Traduz(89);
    struct Caso {
        const char* marca;
        int celula;               // position on the home screen, 0 to 11
        std::vector<int> tops;    // in the cell's row, from the cell's top
        bool comVeiculos;
    };
    const std::vector<Caso> casos = {
        {"Garbana, one group", 10, {33}, false},
        {"Castrelo, three groups and vehicles", 4, {33, 50, 67, 84}, true},
        {"Ondarra, four groups and vehicles", 0, {29, 44, 59, 74, 89}, true},
        {"Helveno, five groups", 7, {29, 44, 59, 74, 89}, false},
        {"Veltra, eight groups and vehicles: the last five", 2, {29, 44, 59, 74, 89}, true},
        {"Nordavik, nothing", 5, {}, false},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.marca);
        const int left = 103 + (c.celula % 3) * 226, topo = 16 + (c.celula / 3) * 105;
        const std::vector<Link> links = LinksDaCelula(j, left, topo);
        std::vector<int> tops;
        for (const Link& l : links) tops.push_back(l.top - topo);
        EXPECT_EQ(tops, c.tops);
        if (links.empty()) continue;
        const int codigo = std::atoi(links.front().tag.c_str());
        int vermelhos = 0;
        for (const Link& l : links) {
            EXPECT_EQ(l.tag.rfind(std::to_string(codigo) + "|", 0), 0u) << l.tag;
            const bool pseudo = l.tag == std::to_string(codigo) + "|-1";
            EXPECT_EQ(pseudo, l.legenda == veiculos);
            EXPECT_EQ(l.cor, pseudo ? 0x1D25DA : 0);
            vermelhos += pseudo;
        }
        EXPECT_EQ(vermelhos, c.comVeiculos ? 1 : 0);
        if (c.comVeiculos) {
            EXPECT_EQ(links.back().legenda, veiculos) << "the vehicles link closes the list";
        }
    }
    // Twelve to four four-row groups: a group of Veltra beyond the fifth stays loaded but hidden.
    auto* links = j.ArranjoControles<vb::Label>("lblGrupoM");
    int ocultos = 0;
    for (int i : links->Indices()) ocultos += !(*links)(i).Visible();
    EXPECT_GE(ocultos, 4);
}

TEST_F(TelaPrincipalDemo, ReleaseMarksSitBesideTheCaptionAndShowTheirDateOnHover) {
    frmZornakForm& j = Inicia();
    auto* links = j.ArranjoControles<vb::Label>("lblGrupoM");
    auto* marcas = j.ArranjoControles<vb::Image>("imgLancM");
    auto* datas = j.ArranjoControles<vb::Label>("lblDataLancM");
    int comMarca = 0, visiveisComMarca = 0;
    vb::PictureBox& painel = (*j.pctTela)(0);
    int exemplo = -1;
    for (int i : links->Indices()) {
        const vb::Label& l = (*links)(i);
        const long m = l.WhatsThisHelpID();
        if (m < 0) continue;
        ++comMarca;
        ASSERT_TRUE(marcas->Exists(m) && datas->Exists(m));
        // The mark and its date are numbered in the order the links were read.
        EXPECT_FALSE((*datas)(m).Caption().empty());
        EXPECT_EQ((*datas)(m).Caption().size(), 6u) << "\"dd MMM\": " << (*datas)(m).Caption();
        if (!l.Visible()) continue;
        ++visiveisComMarca;
        const double x = l.Left() + l.Width() / 2.0 + painel.TextWidth(l.Caption()) / 2.0 + 3;
        EXPECT_NEAR((*marcas)(m).Left(), x, 0.5 + 1e-9);
        EXPECT_EQ((*marcas)(m).Top(), l.Top());
        EXPECT_TRUE((*marcas)(m).Visible());
        EXPECT_EQ((*datas)(m).Left(), (*marcas)(m).Left() + 18);
        EXPECT_EQ((*datas)(m).Top(), l.Top() + 2);
        EXPECT_FALSE((*datas)(m).Visible());
        if (exemplo < 0) exemplo = i;
    }
    ASSERT_GT(visiveisComMarca, 0);
    EXPECT_EQ(marcas->Count(), comMarca);
    EXPECT_TRUE(j.Img("imgLegendaLancamento").Visible());

    // The hover shows the date; moving on hides it again.
    vb::Label& l = (*links)(exemplo);
    ASSERT_TRUE(l.MouseMove);
    l.MouseMove(0, 0, 1, 1);
    EXPECT_EQ(j.m_ChaveSelecao, "_GRUPOM" + std::to_string(exemplo));
    EXPECT_TRUE(l.FontUnderline());
    EXPECT_TRUE((*datas)(l.WhatsThisHelpID()).Visible());
    j.AtualizaSelecaoMouse("FORM");
    EXPECT_FALSE(l.FontUnderline());
    EXPECT_FALSE((*datas)(l.WhatsThisHelpID()).Visible());
}

TEST_F(TelaPrincipalDemo, NoticeFollowsLanguageAndFile) {
    struct Caso {
        const char* nome;
        const char* idioma;
        const char* arquivo;   // nullptr: no file
        bool mostra;
    };
    const Caso casos[] = {
        {"Portuguese, no file", "P", nullptr, true},
        {"Portuguese, \"1\"", "P", "1", true},
        {"Portuguese, \"0\"", "P", "0", false},
        {"Portuguese, \"0\" and a line end", "P", "0\r\n", true},
        {"Spanish, no file", "E", nullptr, false},
        {"English, \"1\"", "I", "1", false},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        QFile::remove(Dados() + "/cnpop.txt");
        if (c.arquivo) Grava("cnpop.txt", c.arquivo);
        frmZornakForm& j = Inicia(c.idioma);
        EXPECT_EQ(j.Img("imgPopUp").Visible(), c.mostra);
        EXPECT_EQ(j.Lbl("lblLinkPopUp", 0).Visible(), c.mostra);
        EXPECT_EQ(j.Lbl("lblLinkPopUp", 1).Visible(), c.mostra);
        EXPECT_EQ(j.Lbl("lblFecharPopUp").Visible(), c.mostra);
        // The names come in the language of the run.
        std::set<std::string> legendas;
        auto* links = j.ArranjoControles<vb::Label>("lblGrupoM");
        for (int i : links->Indices()) legendas.insert((*links)(i).Caption());
        EXPECT_TRUE(legendas.count(Traduz(89, c.idioma)));
        const char* pastilhas = c.idioma == std::string("P") ? "Pastilhas de Freio"
                              : c.idioma == std::string("E") ? "Pastillas de Freno" : "Brake Pads";
        EXPECT_TRUE(legendas.count(pastilhas)) << pastilhas;
        LiberaJanelas();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

TEST_F(TelaPrincipalDemo, LeavingUnloadsEveryElementAndComingBackBuildsTheSame) {
    frmZornakForm& j = Inicia();
    auto captura = [&j] {
        std::vector<std::string> v;
        for (const char* n : {"lblFabricanteM", "lblGrupoM", "lblDataLancM"}) {
            auto* a = j.ArranjoControles<vb::Label>(n);
            for (int i : a->Indices())
                v.push_back(std::string(n) + (*a)(i).Caption() + (*a)(i).Tag() + std::to_string((*a)(i).Left()) + "," +
                            std::to_string((*a)(i).Top()) + ((*a)(i).Visible() ? "v" : "h"));
        }
        return v;
    };
    const auto antes = captura();
    j.Lbl("lblGrupoM", 0).MouseMove(0, 0, 1, 1);
    TelaPrincipal& tela = Telas(j).Principal();
    tela.DesmontaTelaPrincipal();
    EXPECT_FALSE((*j.pctTela)(0).Visible());
    EXPECT_EQ(j.m_ChaveSelecao, "FORM");
    for (const char* n : {"lblFabricanteM", "lblGrupoM", "lblDataLancM"}) {
        EXPECT_EQ(j.ArranjoControles<vb::Label>(n)->Count(), 1) << n;
        EXPECT_FALSE(j.Lbl(n, 0).Visible()) << n;
    }
    EXPECT_EQ(j.ArranjoControles<vb::Image>("imgLancM")->Count(), 1);
    EXPECT_FALSE(j.Img("imgLegendaLancamento").Visible());
    tela.MontaTelaPrincipal();
    EXPECT_EQ(captura(), antes);
    // And through the switcher, to another screen and back.
    j.TrocaTela(2, 0, "");
    j.TrocaTela(0, 2, "");
    EXPECT_EQ(captura(), antes);
}

// A catalogue whose maker or group has no name in the language shows that label blank;
// the rest of the home screen still builds.
TEST_F(TelaPrincipalDemo, AMakerOrGroupWithoutANameInTheLanguageShowsBlank) {
    frmZornakForm& j = Inicia();
    const long fabricante = ObtemValorSQL("SELECT TOP 1 CodigoFabricante FROM FABRICANTE WHERE FlagExibirTelaPrincipal=1 "
                                          "ORDER BY OrdemTelaPrincipal", vb::Variant(-1L)).ToLong();
    const std::string tagGrupo = j.Lbl("lblGrupoM", 0).Tag();
    ASSERT_EQ(tagGrupo.rfind(std::to_string(fabricante) + "|", 0), 0u) << tagGrupo;
    const std::string grupo = tagGrupo.substr(tagGrupo.find('|') + 1);
    ASSERT_NE(grupo, "-1");
    {
        dao::Workspace ws;
        dao::Database db;
        AbreBancoCatalogo(ws, "SemNome", db, false);
        db.Execute("UPDATE FABRICANTE SET DescricaoFabricanteP = Null WHERE CodigoFabricante = " + std::to_string(fabricante),
                   dao::dbFailOnError);
        db.Execute("UPDATE GRUPOPRODUTO SET DescricaoGrupoProdutoP = Null WHERE CodigoGrupoProduto = " + grupo,
                   dao::dbFailOnError);
        FechaBanco(ws, db);
    }
    const std::size_t nomes = j.ArranjoControles<vb::Label>("lblFabricanteM")->Count();
    TelaPrincipal& tela = Telas(j).Principal();
    tela.DesmontaTelaPrincipal();
    EXPECT_NO_THROW(tela.MontaTelaPrincipal());
    EXPECT_EQ(static_cast<std::size_t>(j.ArranjoControles<vb::Label>("lblFabricanteM")->Count()), nomes);
    EXPECT_EQ(j.Lbl("lblFabricanteM", 0).Caption(), "");
    EXPECT_TRUE(j.Lbl("lblFabricanteM", 0).Visible());
    EXPECT_NE(j.Lbl("lblFabricanteM", 1).Caption(), "");
    bool achou = false;
    auto* links = j.ArranjoControles<vb::Label>("lblGrupoM");
    for (int i : links->Indices())
        if ((*links)(i).Tag() == tagGrupo) {
            achou = true;
            EXPECT_EQ((*links)(i).Caption(), "");
        }
    EXPECT_TRUE(achou);
}

TEST_F(TelaPrincipalDemo, RememberedRequestReopensTheApplicationsDialogInsteadOfRepainting) {
    frmZornakForm& j = Inicia();
    TelaPrincipal& tela = Telas(j).Principal();
    std::vector<std::string> pedidos;
    std::vector<std::string> estados;
    tela.AbreTelaAuxiliar = [&](std::uint8_t modo, const std::string& p) { pedidos.push_back(std::to_string(modo) + ":" + p); };
    tela.AplicaEstadoPendente = [&](std::uint8_t f, int g) { estados.push_back(std::to_string(f) + "," + std::to_string(g)); };
    j.TrocaTela(0, 0, "");
    EXPECT_TRUE(pedidos.empty()) << "nothing remembered: no dialog";
    // A remembered request re-opens the dialog where the user left it, instead of repainting.
    j.CodigoFabricanteRetorno = 2;
    j.CodigoGrupoProdutoRetorno = -1;
    j.CodigoAplicacaoRetorno = 1234;
    j.CodigoTipoAplicacaoRetorno = 1;
    j.FiltroRetorno = "GOL";
    j.LinhaRetorno = 3;
    j.OrdemRetorno = "3";
    j.MarcaLancamentoRetorno = 1;
    j.TrocaTela(0, 0, "");
    ASSERT_EQ(pedidos.size(), 1u);
    EXPECT_EQ(pedidos[0], "3:2|-1|1234|1|GOL|3|3|1|1");
    EXPECT_EQ(estados.back(), "2,-1");
}

TEST_F(TelaPrincipalDemo, ScreenshotOfTheHomeScreen) {
    frmZornakForm& j = Inicia();
    j.Show();
    vb::DoEvents();
    GravaImagem(j.pctBase->Widget(), "screens_b_inicio.png");
}

}  // namespace
