// The figure screen on the demo catalogue's sets: pages and their buttons, the item markers
// and their pictures, the hover and the item panel, marked items, missing page files.
#include "JanelaDemo.h"

#include "catalog/screens/PainelProduto.h"
#include "catalog/screens/TelaFigura.h"
#include "common/modTraducao.h"
#include "platform/vb/Strings.h"

#include <algorithm>
#include <set>
#include <vector>

namespace {

// The demo catalogue's sets: set 1 of application 36 (one page, items 1 to 20, "12A" and
// "A"), set 2 of 37 (two pages), set 3 of 57 (three), set 4 of 52 (five), set 5 of 42 (two,
// the second page's file missing).
class TelaFiguraDemo : public JanelaDemo {
protected:
    TelaFigura& AbreFigura(frmZornakForm& j, long aplicacao, const std::string& pedido = "") {
        EstadoPrograma.RequisicaoTela = pedido;
        j.CodigoAplicacaoFigura = static_cast<int>(aplicacao);
        j.m_HistoricoTelas = "04";
        j.TrocaTela(4, 0, "");
        return Telas(j).Figura();
    }
    static long Valor(const std::string& sql) { return ObtemValorSQL(sql, vb::Variant(-1L)).ToLong(); }
    static int ItemDe(TelaFigura& f, const std::string& legenda) {
        for (int i = 1; i <= f.QuantidadeItensFigura; ++i)
            if (f.lblItem()(i).Caption() == legenda) return i;
        return -1;
    }
    static bool MesmaImagem(const vb::Picture& a, const char* recurso) {
        return a.Pixmap().toImage() == CarregaImagemRecurso(recurso, "G").Pixmap().toImage();
    }
    static std::vector<std::string> Marcados(TelaFigura& f) {
        std::vector<std::string> v;
        for (int k = 0; k <= f.UltimoItemPiscando; ++k) v.push_back(f.lblItem()(static_cast<int>(f.ItensPiscando[k])).Caption());
        std::sort(v.begin(), v.end());
        return v;
    }
    // The texts of the panel's visible product rows.
    static std::vector<std::string> Linhas(TelaFigura& f) {
        std::vector<std::string> v;
        for (int r : f.lblDescricaoProdutoF().Indices())
            if (f.lblDescricaoProdutoF()(r).Visible()) v.push_back(f.lblDescricaoProdutoF()(r).Caption());
        return v;
    }
};

TEST_F(TelaFiguraDemo, PagesAndPageButtons) {
    frmZornakForm& j = Inicia();
    struct Caso {
        long aplicacao;
        int conjunto;
        int paginas;              // shown: at most four
        std::vector<int> botoes;  // lblPagF lefts, first page first
    };
    const Caso casos[] = {
        {36, 1, 1, {}},
        {37, 2, 2, {444, 479}},
        {57, 3, 3, {409, 444, 479}},
        {52, 4, 4, {374, 409, 444, 479}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE("set " + std::to_string(c.conjunto));
        TelaFigura& f = AbreFigura(j, c.aplicacao);
        ASSERT_EQ(static_cast<int>(j.PaginasFigura.size()), c.paginas);
        EXPECT_EQ(j.PaginaFiguraAtual, 0);
        auto* botoes = j.ArranjoControles<vb::Label>("lblPagF");
        auto* placas = j.ArranjoControles<vb::Image>("imgBtnPagF");
        auto* selecionadas = j.ArranjoControles<vb::Image>("imgBtnPagFSel");
        EXPECT_EQ(botoes->Count(), c.paginas);
        int anterior = 0;
        for (int p = 0; p < c.paginas; ++p) {
            const std::string& e = j.PaginasFigura[p];
            ASSERT_EQ(e.size(), 8u) << e;
            EXPECT_EQ(e.find_first_not_of("0123456789"), std::string::npos) << e;
            EXPECT_EQ(std::stoi(e.substr(0, 2)), p + 1);
            const int primeiro = std::stoi(e.substr(2, 3)), ultimo = std::stoi(e.substr(5, 3));
            EXPECT_EQ(primeiro, anterior + 1) << e;
            EXPECT_EQ(ultimo - primeiro + 1,
                      Valor("SELECT Count(*) FROM FIGURADETALHADA1 WHERE CodigoConjunto = " + std::to_string(c.conjunto) +
                            " AND NumeroParteFigura = " + std::to_string(p + 1)));
            anterior = ultimo;
            for (int i = primeiro; i <= ultimo; ++i) {
                EXPECT_EQ(f.lblItem()(i).Tag(), (p < 10 ? "0" : "") + std::to_string(p));
                EXPECT_EQ(f.lblItem()(i).Visible(), p == 0);
                EXPECT_EQ(f.imgItem()(i).Visible(), p == 0);
            }
            if (c.botoes.empty()) {
                EXPECT_FALSE((*botoes)(p).Visible());
                continue;
            }
            EXPECT_TRUE((*botoes)(p).Visible());
            EXPECT_EQ((*botoes)(p).Left(), c.botoes[p]);
            EXPECT_EQ((*placas)(p).Left(), c.botoes[p] - 4);
            EXPECT_EQ((*botoes)(p).Caption(), std::to_string(p + 1));
            EXPECT_EQ((*botoes)(p).ToolTipText(), Traduz(61) + " " + std::to_string(p + 1));
            // The shown page's button has the default pointer and its selected plate.
            EXPECT_EQ((*botoes)(p).MousePointer(), p == 0 ? vb::vbDefault : vb::vbCustom);
            EXPECT_EQ((*selecionadas)(p).Visible(), p == 0);
        }
        EXPECT_EQ(f.QuantidadeItensFigura, anterior) << "no item of a fifth part is loaded";
        EXPECT_EQ(f.lblItem().Count(), f.QuantidadeItensFigura + 1);

        if (c.paginas > 1) {
            (*botoes)(c.paginas - 1).Click();
            EXPECT_EQ(j.PaginaFiguraAtual, c.paginas - 1);
            EXPECT_EQ((*botoes)(0).MousePointer(), vb::vbCustom);
            EXPECT_FALSE((*selecionadas)(0).Visible());
            EXPECT_TRUE((*selecionadas)(c.paginas - 1).Visible());
            const std::string& e = j.PaginasFigura[0];
            EXPECT_FALSE(f.lblItem()(std::stoi(e.substr(2, 3))).Visible());
        }
        j.TrocaTela(0, 4, "");
        EXPECT_EQ(botoes->Count(), 1);
        EXPECT_EQ(f.lblItem().Count(), 1);
        EXPECT_TRUE(j.PaginasFigura.empty());
        EXPECT_TRUE(f.ItensFigura.IsNothing());
        EXPECT_FALSE((*j.pctTela)(4).Visible());
    }
    EXPECT_TRUE(erros.empty()) << erros.front();
}

TEST_F(TelaFiguraDemo, ApplicationWithoutASetGivesAnEmptyFigure) {
    frmZornakForm& j = Inicia();
    TelaFigura& f = AbreFigura(j, 1);
    EXPECT_EQ(f.QuantidadeItensFigura, 0);
    EXPECT_TRUE(j.PaginasFigura.empty());
    EXPECT_EQ(j.PaginaFiguraAtual, 255);
    f.MostraPaginaFigura(0);
    EXPECT_EQ(j.PaginaFiguraAtual, 255);
    EXPECT_TRUE(j.Img("imgFiguraDetalhada").GetPicture().IsNothing());
    EXPECT_TRUE(erros.empty()) << erros.front();
}

TEST_F(TelaFiguraDemo, MarkersStandAtTheItemPositionsWithTheStatePicture) {
    frmZornakForm& j = Inicia();
    TelaFigura& f = AbreFigura(j, 36);
    const vb::Image& figura = j.Img("imgFiguraDetalhada");
    EXPECT_FALSE(figura.GetPicture().IsNothing());
    ASSERT_EQ(f.QuantidadeItensFigura, 22);
    std::set<int> estados;
    for (int i = 1; i <= f.QuantidadeItensFigura; ++i) {
        const vb::Label& l = f.lblItem()(i);
        SCOPED_TRACE("item " + l.Caption());
        const std::string onde = " FROM FIGURADETALHADA1 WHERE CodigoConjunto = 1 AND ItemFigura = '" + l.Caption() + "'";
        EXPECT_EQ(l.Left(), figura.Left() + Valor("SELECT PosicaoLeft" + onde));
        EXPECT_EQ(l.Top(), figura.Top() + Valor("SELECT PosicaoTop" + onde));
        const int s = f.EstadoItemFigura(i);
        estados.insert(s);
        EXPECT_EQ(f.imgItem()(i).Left(), l.Left() - (s == 2 ? 1 : 0));
        EXPECT_EQ(f.imgItem()(i).Top(), l.Top() - (s == 2 ? 7 : 5));
        const char* bola = s == 0 ? "BOLANORMAL" : s == 1 ? "BOLANAOAPLICAVEL" : "BOLALANC";
        EXPECT_TRUE(MesmaImagem(f.imgItem()(i).GetPicture(), bola)) << bola;
        EXPECT_EQ(l.ForeColor(), s == 2 ? 0 : 0xFFFFFF);
    }
    EXPECT_EQ(estados, (std::set<int>{0, 1, 2}));
    // Item 2 has no product and item 6 only one of another application: not applicable.
    EXPECT_EQ(f.EstadoItemFigura(ItemDe(f, "2")), 1);
    EXPECT_EQ(f.EstadoItemFigura(ItemDe(f, "6")), 1);
    // Items come by part, then by item text: "12A" after "12", "A" last.
    EXPECT_EQ(ItemDe(f, "12A"), ItemDe(f, "12") + 1);
    EXPECT_EQ(ItemDe(f, "A"), 22);
    EXPECT_EQ(j.Img("imgLegendaLancamento").Tag(), "1");
    EXPECT_TRUE(j.Img("imgLegendaLancamento").Visible());
}

TEST_F(TelaFiguraDemo, HoverHighlightsTheItemAndFillsThePanel) {
    frmZornakForm& j = Inicia();
    TelaFigura& f = AbreFigura(j, 36);
    int normal = -1, lancamento = -1;
    for (int i = 1; i <= f.QuantidadeItensFigura; ++i) {
        if (f.EstadoItemFigura(i) == 0 && normal < 0) normal = i;
        if (f.EstadoItemFigura(i) == 2 && lancamento < 0) lancamento = i;
    }
    ASSERT_GT(normal, 0);
    ASSERT_GT(lancamento, 0);

    f.lblItem()(normal).MouseMove(0, 0, 1, 1);
    EXPECT_EQ(j.ItemFiguraSelecionado, normal);
    EXPECT_TRUE(MesmaImagem(f.imgItem()(normal).GetPicture(), "BOLASELECIONADA"));
    EXPECT_EQ(f.EstadoDesenhado(normal), 10);
    EXPECT_FALSE(Linhas(f).empty());
    EXPECT_EQ(f.lblTitDescricaoProdutoF().Tag(), "");

    // Another item ends the first hover; a release item keeps its ball, its number turns red.
    f.lblItem()(lancamento).MouseMove(0, 0, 1, 1);
    EXPECT_TRUE(MesmaImagem(f.imgItem()(normal).GetPicture(), "BOLANORMAL"));
    EXPECT_EQ(f.EstadoDesenhado(normal), 0);
    EXPECT_TRUE(MesmaImagem(f.imgItem()(lancamento).GetPicture(), "BOLALANC"));
    EXPECT_EQ(f.lblItem()(lancamento).ForeColor(), 1910234);
    EXPECT_EQ(f.EstadoDesenhado(lancamento), 12);
    // The same item again changes nothing.
    f.lblItem()(lancamento).MouseMove(0, 0, 2, 2);
    EXPECT_EQ(f.EstadoDesenhado(lancamento), 12);
    // The background ends the hover: the number is black again.
    (*j.pctTela)(4).MouseMove(0, 0, 5, 5);
    EXPECT_EQ(j.ItemFiguraSelecionado, -1);
    EXPECT_EQ(f.lblItem()(lancamento).ForeColor(), 0);
    EXPECT_EQ(f.EstadoDesenhado(lancamento), 2);
    EXPECT_EQ(Linhas(f), std::vector<std::string>{""});
}

TEST_F(TelaFiguraDemo, ItemPanelPagesFourProductsAtATime) {
    frmZornakForm& j = Inicia();
    TelaFigura& f = AbreFigura(j, 36);
    struct Caso {
        const char* item;
        int produtos;
    };
    const Caso casos[] = {{"1", 1}, {"3", 4}, {"4", 5}, {"5", 9}};
    for (const Caso& c : casos) {
        SCOPED_TRACE(std::string("item ") + c.item);
        const int i = ItemDe(f, c.item);
        f.lblItem()(i).MouseMove(0, 0, 1, 1);
        const int paginas = (c.produtos + 3) / 4;
        EXPECT_EQ(f.PaginasPainelItem(), paginas);
        EXPECT_EQ(f.lblPaginaXdeXF().Visible(), paginas > 1);
        EXPECT_EQ(f.lblProximaPaginaF().Visible(), paginas > 1);
        int vistos = 0;
        for (int pagina = 1; pagina <= paginas; ++pagina) {
            if (pagina > 1) f.lblItem()(i).MouseUp(2, 0, 1, 1);
            EXPECT_EQ(f.PaginaPainelItem(), pagina);
            if (paginas > 1) {
                EXPECT_EQ(f.lblPaginaXdeXF().Caption(),
                          "Página " + std::to_string(pagina) + " de " + std::to_string(paginas));
            }
            const std::vector<std::string> linhas = Linhas(f);
            EXPECT_EQ(static_cast<int>(linhas.size()), std::min(4, c.produtos - vistos));
            for (size_t r = 0; r < linhas.size(); ++r) {
                const std::string prefixo = std::to_string(vistos + 1 + static_cast<int>(r)) + " - ";
                // One product alone carries no number.
                EXPECT_EQ(linhas[r].rfind(prefixo, 0) == 0, c.produtos > 1) << linhas[r];
            }
            // Rows follow each other: the next top is the previous row's bottom plus 2.
            for (size_t r = 1; r < linhas.size(); ++r) {
                const vb::Label& a = f.lblDescricaoProdutoF()(static_cast<int>(r) - 1);
                EXPECT_EQ(f.lblDescricaoProdutoF()(static_cast<int>(r)).Top(), a.Top() + a.Height() + 2);
            }
            vistos += static_cast<int>(linhas.size());
        }
        EXPECT_EQ(vistos, c.produtos);
        if (paginas > 1) {
            f.lblItem()(i).MouseUp(2, 0, 1, 1);
            EXPECT_EQ(f.PaginaPainelItem(), 1) << "after the last page comes the first";
        }
    }

    // Not applicable: the header is tagged, the one row struck through, a click says so.
    const int na = ItemDe(f, "6");
    f.lblItem()(na).MouseMove(0, 0, 1, 1);
    EXPECT_EQ(f.lblTitDescricaoProdutoF().Tag(), "NA");
    EXPECT_EQ(Linhas(f), std::vector<std::string>{vb::UCase(Traduz(12))});
    EXPECT_TRUE(f.lblDescricaoProdutoF()(0).FontStrikethru());
    EXPECT_TRUE(f.ProdutosPainelItem().empty());
    f.lblItem()(na).MouseUp(1, 0, 1, 1);
    ASSERT_EQ(caixas.Count(), 1u);
    EXPECT_EQ(caixas.Last().prompt, vb::UCase(Traduz(12)) + ".");
    // A product item afterwards is not struck through.
    f.lblItem()(ItemDe(f, "3")).MouseMove(0, 0, 1, 1);
    EXPECT_FALSE(f.lblDescricaoProdutoF()(0).FontStrikethru());
    EXPECT_EQ(f.ProdutosPainelItem().size(), 4u);
}

TEST_F(TelaFiguraDemo, PendingRequestMarksExactlyTheNamedItems) {
    frmZornakForm& j = Inicia();
    const long produto = Valor("SELECT Min(CodigoProduto) FROM CONJUNTO_PRODUTO WHERE CodigoConjunto = 1 AND ItemFigura = '3'");
    std::vector<std::string> itensProduto;
    {
        dao::Recordset rs = EstadoPrograma.DbCatalogo.OpenRecordset(
            "SELECT ItemFigura FROM CONJUNTO_PRODUTO WHERE CodigoConjunto = 1 AND CodigoProduto = " + std::to_string(produto));
        for (; !rs.Eof(); rs.MoveNext()) itensProduto.push_back(rs.Value("ItemFigura").ToString());
        std::sort(itensProduto.begin(), itensProduto.end());
    }
    struct Caso {
        std::string pedido;
        std::vector<std::string> marcados;
    };
    const std::vector<Caso> casos = {
        {"I:7:I", {"7"}},        // not 17
        {"I:1:I", {"1"}},        // not 10, 11 or 12A
        {"I:12A:I", {"12A"}},
        {"I:A:I", {"A"}},        // not 12A
        {"P:" + std::to_string(produto) + ":P", itensProduto},
        {"P:999999:P", {}},
        {"", {}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.pedido);
        TelaFigura& f = AbreFigura(j, 36, c.pedido);
        EXPECT_EQ(Marcados(f), c.marcados);
        EXPECT_EQ(EstadoPrograma.RequisicaoTela, "");
        EXPECT_EQ(f.tmrFigura().Enabled(), !c.marcados.empty());
        EXPECT_EQ(j.PaginaFiguraAtual, 0);
        if (!c.marcados.empty()) {
            EXPECT_EQ(f.lblNumeroEmpresaF()(0).ForeColor(), 1910234);
            const int i = static_cast<int>(f.ItensPiscando[0]);
            EXPECT_TRUE(f.imgItem()(i).Visible());
            f.tmrFigura_Timer();
            EXPECT_FALSE(f.imgItem()(i).Visible());
            // The first hover stops the blinking and shows the marker again.
            const int outro = i == 1 ? 2 : 1;
            f.lblItem()(outro).MouseMove(0, 0, 1, 1);
            EXPECT_FALSE(f.tmrFigura().Enabled());
            EXPECT_TRUE(f.imgItem()(i).Visible());
            EXPECT_EQ(f.lblNumeroEmpresaF()(0).ForeColor(), 0);
        }
        j.TrocaTela(0, 4, "");
    }
}

TEST_F(TelaFiguraDemo, MarkedItemOfALaterPageOpensThatPage) {
    frmZornakForm& j = Inicia();
    // The last item of set 2 is on its second page.
    const std::string item = ObtemValorSQL("SELECT Max(ItemFigura) FROM FIGURADETALHADA1 WHERE CodigoConjunto = 2 AND "
                                           "NumeroParteFigura = 2 AND ItemFigura = '" +
                                               ObtemValorSQL("SELECT Min(ItemFigura) FROM FIGURADETALHADA1 WHERE "
                                                             "CodigoConjunto = 2 AND NumeroParteFigura = 2",
                                                             vb::Variant(""))
                                                   .ToString() + "'",
                                           vb::Variant(""))
                                 .ToString();
    ASSERT_FALSE(item.empty());
    TelaFigura& f = AbreFigura(j, 37, "I:" + item + ":I");
    EXPECT_EQ(j.PaginaFiguraAtual, 1);
    EXPECT_EQ(Marcados(f), std::vector<std::string>{item});
}

TEST_F(TelaFiguraDemo, MissingPageFileLeavesThePageEmptyAndJpegPagesLoad) {
    frmZornakForm& j = Inicia();
    TelaFigura& f = AbreFigura(j, 42);
    ASSERT_EQ(j.PaginasFigura.size(), 2u);
    EXPECT_FALSE(j.Img("imgFiguraDetalhada").GetPicture().IsNothing());
    f.MostraPaginaFigura(1);
    EXPECT_EQ(j.PaginaFiguraAtual, 1);
    EXPECT_TRUE(j.Img("imgFiguraDetalhada").GetPicture().IsNothing());
    const int primeiro = std::stoi(j.PaginasFigura[1].substr(2, 3));
    EXPECT_TRUE(f.lblItem()(primeiro).Visible());
    EXPECT_TRUE(erros.empty()) << erros.front();
    EXPECT_EQ(caixas.Count(), 0u);

    // Set 3's first page is a JPEG; a name in another case is still found.
    j.TrocaTela(0, 4, "");
    AbreFigura(j, 57);
    EXPECT_FALSE(j.Img("imgFiguraDetalhada").GetPicture().IsNothing());
    j.Img("imgFiguraDetalhada").SetPicture(vb::Picture());
    Telas(j).Painel().MostraFigura("fg003_01.JPG");
    EXPECT_FALSE(j.Img("imgFiguraDetalhada").GetPicture().IsNothing());
}

TEST_F(TelaFiguraDemo, ScreenshotOfAFigurePage) {
    frmZornakForm& j = Inicia();
    TelaFigura& f = AbreFigura(j, 36);
    j.Show();
    f.lblItem()(ItemDe(f, "4")).MouseMove(0, 0, 1, 1);
    vb::DoEvents();
    GravaImagem(j.pctBase->Widget(), "screens_b_figura.png");
    j.TrocaTela(0, 4, "");
    TelaFigura& g = AbreFigura(j, 52);
    vb::DoEvents();
    GravaImagem(j.pctBase->Widget(), "screens_b_figura_paginas.png");
    (void)g;
}

}  // namespace
