#include "catalog/screens/PainelProduto.h"

#include "catalog/controls/ModuloGrade.h"
#include "catalog/main_window/frmZornak.h"
#include "catalog/screens/ConsultasTelas.h"
#include "catalog/screens/TelaLista.h"
#include "catalog/screens/TelaProduto.h"
#include "catalog/screens/TelasCatalogo.h"
#include "catalog/startup/Modulo.h"
#include "common/modTraducao.h"
#include "platform/forms/Colors.h"
#include "platform/forms/Controls.h"
#include "platform/vb/Err.h"
#include "platform/vb/Strings.h"

namespace {

constexpr long CorCinza = 0x808080;

}  // namespace

PainelProduto::PainelProduto(frmZornakForm& janela, TelasCatalogo& telas) : janela_(janela), telas_(telas) {
    CriaControles();
}

void PainelProduto::CriaControles() {
    vb::PictureBox& painel = (*janela_.pctTela)(1);
    // The frame around the reference panel (the window's layout places it) and the
    // replacement box under it.
    shpLigaRef = &janela_.Moldura("shpLigaRef", 0);
    shpNroSubstituido = janela_.New<vb::Shape>(painel, "shpNroSubstituido");
    shpNroSubstituido->Move(656, 169, 125, 36);
    shpNroSubstituido->SetBorderColor(vb::RGB(0xC8, 0xC8, 0xC8));
    shpNroSubstituido->SetVisible(false);
    lblNroSubstituido = janela_.New<vb::Label>(painel, "lblNroSubstituido");
    lblNroSubstituido->Move(657, 172, 123, 29);
    lblNroSubstituido->SetBackStyle(0);
    lblNroSubstituido->SetFont("Arial", 8, true);
    lblNroSubstituido->SetAlignment(vb::vbCenter);
    lblNroSubstituido->SetWordWrap(true);
    lblNroSubstituido->SetVisible(false);

    // The strip slot lies between the grids, right of their link; the photo slot below it.
    imgFotoProduto[1] = janela_.New<vb::Image>(painel, "imgFotoProduto");
    imgFotoProduto[1]->Move(229, 214, 415, 45);
    imgFotoProduto[0] = janela_.New<vb::Image>(painel, "imgFotoProduto");
    imgFotoProduto[0]->Move(20, 272, 190, 165);
    // The list screen's slots, below its grid; the strip under the add-all button (274, 30
    // high) at the right.
    vb::PictureBox& lista = (*janela_.pctTela)(3);
    imgFotoProduto[3] = janela_.New<vb::Image>(lista, "imgFotoProduto");
    imgFotoProduto[3]->Move(229, 310, 415, 45);
    imgFotoProduto[2] = janela_.New<vb::Image>(lista, "imgFotoProduto");
    imgFotoProduto[2]->Move(20, 272, 190, 165);

    // The reference rows are the window's (its layout places them inside the panels).
    auto referencias = [this](int indice, const char* numeros, const char* fabricantes, auto& lblNumeros,
                              auto& lblFabricantes) {
        auto* pct = dynamic_cast<vb::PictureBox*>(janela_.Controle("pctPainelRef", indice));
        if (pct) pct->SetFont("Arial", 8);
        for (size_t i = 0; i < lblNumeros.size(); ++i) {
            auto* n = dynamic_cast<vb::Label*>(janela_.Controle(numeros, static_cast<int>(i)));
            auto* f = dynamic_cast<vb::Label*>(janela_.Controle(fabricantes, static_cast<int>(i)));
            if (!n || !f) vb::Raise(vb::err::ObjectRequired, std::string("The reference panel lacks ") + numeros);
            n->SetFont("Arial", 8);
            n->SetCaption("");
            f->SetFont("Arial", 8);
            f->SetForeColor(CorCinza);
            f->SetCaption("");
            lblNumeros[i] = n;
            lblFabricantes[i] = f;
        }
        return pct;
    };
    pctPainelRef = referencias(0, "lblNumeroFabricanteRef", "lblFabricanteRef", lblNumeroFabricanteRef, lblFabricanteRef);
    pctPainelRefL = referencias(1, "lblNumeroFabricanteRefL", "lblFabricanteRefL", lblNumeroFabricanteRefL,
                                lblFabricanteRefL);
    if (!pctPainelRef || !pctPainelRefL) vb::Raise(vb::err::ObjectRequired, "The reference panels are missing");
}

std::string PainelProduto::TextoBusca(long painel) const {
    if (painel == 1) return telas_.Produto().txtNumeroFabricante->Text();
    // The list's own box: LV when the grid's Tag is "1", else LC.
    const TelaLista& lista = telas_.Lista();
    const vb::TextBox* caixa = janela_.grdTHGrid1->Tag() == "1" ? lista.txtNumeroFabricanteLV : lista.txtNumeroFabricanteLC;
    return caixa ? caixa->Text() : std::string();
}

namespace {

// The current row's product and photo name; none when the list is empty or asked to be.
void ProdutoAtual(const dao::DataControl& dc, bool bLimpa, long& produto, std::string& foto) {
    produto = 0;
    foto.clear();
    if (bLimpa) return;
    if (!TemLinhaAtual(dc)) return;
    dao::Recordset rs = dc.GetRecordset();
    produto = rs.Value("CodigoProduto").ToLong();
    foto = ObtemValorCampo(rs.Value("ArquivoFotoProduto"), "").ToString();
}

}  // namespace

void PainelProduto::AtualizaPainelProduto(const std::string& ordem, bool bAtualiza, bool bLimpa) {
    long produto = 0;
    std::string foto;
    ProdutoAtual(janela_.dtcTHGrid1, bLimpa, produto, foto);
    CarregaReferenciasCruzadas(1, produto);
    if (!janela_.m_TrocandoTela) {
        TelaProduto& tela = telas_.Produto();
        const std::string o = ordem.empty() ? tela.OrdemAplicacoesProduto[tela.Modo()] : ordem;
        // An emptied panel empties the applications as well, even over a list with rows.
        tela.PesquisaAplicacoesProduto(o, bAtualiza, bLimpa);
    }
    MostraFotoProduto(foto, 1);

    const long substituto = ObtemProdutoSubstituto(produto);
    if (substituto < 1) {
        pctPainelRef->SetHeight(135);
        shpLigaRef->SetHeight(137);
        lblNroSubstituido->SetVisible(false);
        shpNroSubstituido->SetVisible(false);
    } else {
        pctPainelRef->SetHeight(95);
        shpLigaRef->SetHeight(97);
        lblNroSubstituido->SetVisible(true);
        shpNroSubstituido->SetVisible(true);
        const vb::Variant numero = ObtemValorSQL(consultas::NumeroEmpresaSubstituto(substituto), vb::Variant(std::string()));
        lblNroSubstituido->SetCaption(Traduz(92) + "\r\n" + ObtemValorCampo(numero, "").ToString());
    }
}

void PainelProduto::AtualizaPainelProdutoLista(bool bLimpa) {
    long produto = 0;
    std::string foto;
    ProdutoAtual(janela_.dtcTHGrid1, bLimpa, produto, foto);
    CarregaReferenciasCruzadas(3, produto);
    MostraFotoProduto(foto, 3);
}

void PainelProduto::CarregaReferenciasCruzadas(long painel, long produto) {
    const bool lista = painel != 1;
    vb::PictureBox& pct = lista ? *pctPainelRefL : *pctPainelRef;
    vb::Label* const* numeros = lista ? lblNumeroFabricanteRefL.data() : lblNumeroFabricanteRef.data();
    vb::Label* const* fabricantes = lista ? lblFabricanteRefL.data() : lblFabricanteRef.data();
    const size_t pares = lista ? lblFabricanteRefL.size() : lblFabricanteRef.size();
    // The list screen shows only the references of its application's makers.
    const std::string sql = consultas::CarregaReferenciasCruzadas(
        produto, TextoBusca(painel), lista ? std::optional<std::string>(janela_.FabricantesLista) : std::nullopt,
        EstadoPrograma.Idioma);
    dao::Recordset rs = EstadoPrograma.DbCatalogo.OpenRecordset(sql, dao::dbOpenForwardOnly);
    const long disponivel = fabricantes[0]->Left() - numeros[0]->Left() - 4;
    for (size_t i = 0; i < pares; ++i) {
        vb::Label& numero = *numeros[i];
        vb::Label& fabricante = *fabricantes[i];
        long cor = 0;
        if (rs.Eof()) {
            numero.SetCaption("");
            fabricante.SetCaption("");
            numero.SetToolTipText("");
            fabricante.SetToolTipText("");
        } else {
            numero.SetCaption(ObtemValorCampo(rs.Value("NumeroFabricante"), "").ToString());
            numero.SetToolTipText(ObtemValorCampo(rs.Value("DescricaoFabricante"), "").ToString());
            // A number too wide for its place runs on under the abbreviation, which goes.
            const bool cabe = pct.TextWidth(numero.Caption()) <= disponivel;
            fabricante.SetCaption(cabe ? ObtemValorCampo(rs.Value("DescricaoAbrevFabricante"), "").ToString() : std::string());
            const vb::Variant marca = rs.Value("CorDestaque");
            cor = (!marca.IsNull() && marca.ToLong() == 1) ? CorDestaque : 0;
            rs.MoveNext();
        }
        numero.SetForeColor(cor);
    }
    rs.Close();
}

bool PainelProduto::MostraFotoProduto(const std::string& arquivo, long painel) {
    const size_t base = painel == 1 ? 0 : 2;
    imgFotoProduto[base]->SetPicture(vb::Picture());
    imgFotoProduto[base + 1]->SetPicture(vb::Picture());
    static const int larguras[] = {190, 415}, alturas[] = {165, 45};
    int leiaute = -1;
    if (!arquivo.empty()) {
        const std::string caminho = LocalizaArquivo(EstadoPrograma.CaminhoDados + "FotoPeca/", arquivo);
        DimensoesImagem d;
        std::string tipo;
        if (ObtemDimensoesImagem(caminho, d, tipo)) {
            for (int k = 0; k < 2 && leiaute < 0; ++k)
                if (d.Largura == larguras[k] && d.Altura == alturas[k]) leiaute = k;
        }
        if (leiaute >= 0) {
            try {
                imgFotoProduto[base + static_cast<size_t>(leiaute)]->SetPicture(CarregaImagemArquivo(caminho));
            } catch (const vb::Error&) {
                leiaute = -1;
            }
        }
    }
    if (painel == 1) {
        if (leiaute != 0) imgFotoProduto[base]->SetPicture(CarregaImagemRecurso("FOTOPRODUTOFUNDO", "G"));
    } else if (leiaute < 0) {
        imgFotoProduto[base]->SetPicture(CarregaImagemRecurso("FOTOPRODUTOFUNDO2", "G"));
    }
    return leiaute >= 0;
}

void PainelProduto::MostraFigura(const std::string& arquivo) {
    vb::Image& figura = janela_.Img("imgFiguraDetalhada");
    try {
        if (vb::Trim(arquivo).empty()) {
            figura.SetPicture(vb::Picture());
            return;
        }
        figura.SetPicture(CarregaImagemArquivo(LocalizaArquivo(EstadoPrograma.CaminhoDados + "Figuras/", vb::Trim(arquivo))));
    } catch (...) {
    }
}
