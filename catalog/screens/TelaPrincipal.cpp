#include "catalog/screens/TelaPrincipal.h"

#include "catalog/controls/ModuloGrade.h"
#include "catalog/main_window/frmZornak.h"
#include "catalog/screens/ConsultasTelas.h"
#include "catalog/startup/Modulo.h"
#include "common/modTraducao.h"
#include "platform/forms/Colors.h"
#include "platform/forms/Screen.h"
#include "platform/vb/Err.h"
#include "platform/vb/Strings.h"

#include <cmath>

namespace {

vb::ControlArray<vb::Label>& Rotulos(const frmZornakForm& janela, const char* nome) {
    auto* a = janela.ArranjoControles<vb::Label>(nome);
    if (!a) vb::Raise(vb::err::ObjectRequired, std::string("No control array ") + nome);
    return *a;
}

vb::ControlArray<vb::Image>& Imagens(const frmZornakForm& janela, const char* nome) {
    auto* a = janela.ArranjoControles<vb::Image>(nome);
    if (!a) vb::Raise(vb::err::ObjectRequired, std::string("No control array ") + nome);
    return *a;
}

template <class T>
T& Elemento(vb::ControlArray<T>& arranjo, int indice) {
    if (indice > 0 && !arranjo.Exists(indice)) arranjo.Load(indice);
    return arranjo(indice);
}

template <class T>
void DescarregaAcimaDeZero(vb::ControlArray<T>& arranjo) {
    arranjo(0).SetVisible(false);
    arranjo.UnloadAll();
}

}  // namespace

TelaPrincipal::TelaPrincipal(frmZornakForm& janela) : janela_(janela) {
    AbreTelaAuxiliar = [this](std::uint8_t modo, const std::string& p) { janela_.AbreTelaAuxiliar(modo, p); };
    AplicaEstadoPendente = [this](std::uint8_t f, int g) { janela_.AplicaEstadoPendente(f, g); };

    // The design's looks of the templates; loaded elements copy them.
    vb::Picture ponteiro;
    try {
        ponteiro = CarregaImagemRecurso("frmZornak.CursorLink", "D");
    } catch (...) {
    }
    vb::Label& fabricante = Rotulos(janela_, "lblFabricanteM")(0);
    fabricante.SetFont("Arial", 9, true);
    fabricante.SetForeColor(vb::vbWhite);
    // White names stand on a band of the maker's red at the top of each cell.
    fabricante.SetBackStyle(1);
    fabricante.SetBackColor(vb::RGB(0xC8, 0x10, 0x2E));
    fabricante.SetAlignment(vb::vbCenter);
    vb::Label& grupo = Rotulos(janela_, "lblGrupoM")(0);
    grupo.SetFont("Arial", 9, true);
    grupo.SetForeColor(vb::vbBlack);
    grupo.SetAlignment(vb::vbCenter);
    if (!ponteiro.IsNothing()) grupo.SetMouseIcon(ponteiro, 10, 1);
    grupo.SetMousePointer(vb::vbCustom);
    vb::Label& data = Rotulos(janela_, "lblDataLancM")(0);
    data.SetFont("Arial", 6.75, true);
    data.SetForeColor(CorDestaque);
    data.SetAlignment(vb::vbLeftJustify);
    for (const char* nome : {"lblLinkPopUp"}) {
        auto& links = Rotulos(janela_, nome);
        for (int i : links.Indices()) {
            if (!ponteiro.IsNothing()) links(i).SetMouseIcon(ponteiro, 10, 1);
            links(i).SetMousePointer(vb::vbCustom);
        }
    }
    if (vb::Control* fechar = janela_.Controle("lblFecharPopUp")) {
        if (!ponteiro.IsNothing()) fechar->SetMouseIcon(ponteiro, 10, 1);
        fechar->SetMousePointer(vb::vbCustom);
    }
    for (const char* nome : {"linHM", "linVM"})
        if (auto* linhas = janela_.ArranjoControles<vb::Line>(nome))
            for (int i : linhas->Indices()) (*linhas)(i).SetBorderColor(CorDestaque);
    if (auto* base = dynamic_cast<vb::Shape*>(janela_.Controle("shpBaseM"))) base->SetBorderColor(CorDestaque);
    // The mark is placed by the caption's width as the panel measures it: the links' font.
    (*janela_.pctTela)(0).SetFont("Arial", 9, true);
}

void TelaPrincipal::MontaTelaPrincipal() {
    const std::string sqlFabricantes = consultas::FabricantesTelaPrincipal(EstadoPrograma.Idioma);
    dao::Recordset fabricantes = EstadoPrograma.DbCatalogo.OpenRecordset(sqlFabricantes, dao::dbOpenForwardOnly);

    auto& rotulosFabricante = Rotulos(janela_, "lblFabricanteM");
    auto& links = Rotulos(janela_, "lblGrupoM");
    auto& marcas = Imagens(janela_, "imgLancM");
    auto& datas = Rotulos(janela_, "lblDataLancM");
    vb::PictureBox& painel = (*janela_.pctTela)(0);

    std::uint8_t coluna = 0, linha = 1;
    int i = -1, j = -1, k = -1;
    while (!fabricantes.Eof()) {
        ++coluna;
        if (coluna == 4) {
            coluna = 1;
            ++linha;
        }
        if (linha > 4) break;
        ++i;
        vb::Label& nome = Elemento(rotulosFabricante, i);
        const int left = (coluna - 1) * 226 + 61 + 42;
        nome.Move(left, (linha - 1) * 105 + 16 + 10);
        nome.SetCaption(vb::UCase(ObtemValorCampo(fabricantes.Value("DescricaoFabricante"), "").ToString()));
        nome.SetVisible(true);

        const std::string c = fabricantes.Value("CodigoFabricante").ToString();
        const std::string sqlGrupos =
            consultas::GruposFabricante(fabricantes.Value("CodigoFabricante").ToLong(), Traduz(89), EstadoPrograma.Idioma);
        dao::Recordset grupos = EstadoPrograma.DbCatalogo.OpenRecordset(sqlGrupos, dao::dbOpenForwardOnly);
        int g = 0;
        while (!grupos.Eof()) {
            ++g;
            ++j;
            vb::Label& link = Elemento(links, j);
            link.SetCaption(ObtemValorCampo(grupos.Value("DescricaoGrupoProduto"), "").ToString());
            const vb::Variant codigoGrupo = grupos.Value("CodigoGrupoProduto");
            link.SetTag(c + "|" + codigoGrupo.ToString());
            link.SetForeColor(codigoGrupo.ToLong() == -1 ? CorDestaque : vb::vbBlack);
            const vb::Variant flag = grupos.Value("FlagLanc");
            if (!flag.IsNull() && flag.ToLong() == 1) {
                ++k;
                Elemento(marcas, k);
                vb::Label& data = Elemento(datas, k);
                data.SetCaption(FormataDataCompacta(vb::Mid(grupos.Value("OBLancamento").ToString(), 2), true));
                link.SetWhatsThisHelpID(k);
            } else {
                link.SetWhatsThisHelpID(-1);
            }
            grupos.MoveNext();
        }
        grupos.Close();

        // Only the last five links of a manufacturer are placed: the vehicles link, which
        // sorts last, always shows.
        if (g > 5) g = 5;
        int deslocamento = 33, passo = 20;
        if (g == 4) passo = 17;
        else if (g == 5) {
            deslocamento = 29;
            passo = 15;
        }
        int topo = (linha - 1) * 105 + 16 + deslocamento;
        for (int l = j + 1 - g; l <= j; ++l) {
            vb::Label& link = links(l);
            link.Move(left, topo);
            link.SetVisible(true);
            const long m = link.WhatsThisHelpID();
            if (m >= 0) {
                const double w = static_cast<double>(painel.TextWidth(link.Caption()));
                const int x = static_cast<int>(std::nearbyint(link.Left() + link.Width() / 2.0 + w / 2.0 + 3));
                vb::Image& marca = marcas(static_cast<int>(m));
                marca.Move(x, link.Top());
                marca.SetVisible(true);
                vb::Label& data = datas(static_cast<int>(m));
                data.Move(x + 18, link.Top() + 2);
                data.SetVisible(false);
            }
            topo += passo;
        }
        fabricantes.MoveNext();
    }
    fabricantes.Close();

    bool aviso = false;
    if (EstadoPrograma.Idioma == "P") {
        const std::string arquivo = EstadoPrograma.CaminhoDados + "cnpop.txt";
        aviso = !ExisteArquivo(arquivo) || LeArquivo(arquivo) != "0";
    }
    janela_.Img("imgPopUp").SetVisible(aviso);
    janela_.Lbl("lblLinkPopUp", 0).SetVisible(aviso);
    janela_.Lbl("lblLinkPopUp", 1).SetVisible(aviso);
    janela_.Lbl("lblFecharPopUp").SetVisible(aviso);
    // The notice lies over the grid's last row, above the labels loaded since.
    if (aviso) {
        janela_.Img("imgPopUp").ZOrder(0);
        janela_.Lbl("lblLinkPopUp", 0).ZOrder(0);
        janela_.Lbl("lblLinkPopUp", 1).ZOrder(0);
        janela_.Lbl("lblFecharPopUp").ZOrder(0);
    }

    janela_.Img("imgLegendaLancamento").SetVisible(k >= 0);
    painel.SetVisible(true);

    if (janela_.CodigoFabricanteRetorno > 0) {
        janela_.AtualizaSelecaoMouse("FORM");
        const std::string p = std::to_string(janela_.CodigoFabricanteRetorno) + "|" + std::to_string(janela_.CodigoGrupoProdutoRetorno) +
                              "|" + std::to_string(janela_.CodigoAplicacaoRetorno) + "|" +
                              std::to_string(janela_.CodigoTipoAplicacaoRetorno) + "|" + janela_.FiltroRetorno + "|" +
                              std::to_string(janela_.LinhaRetorno) + "|" + janela_.OrdemRetorno + "|1|" +
                              std::to_string(janela_.MarcaLancamentoRetorno);
        AbreTelaAuxiliar(3, p);
        AplicaEstadoPendente(janela_.CodigoFabricanteRetorno, janela_.CodigoGrupoProdutoRetorno);
        return;
    }
    painel.Refresh();
    (*janela_.pctOrelha)(0).Refresh();
}

void TelaPrincipal::DesmontaTelaPrincipal() {
    (*janela_.pctTela)(0).SetVisible(false);
    if (janela_.m_ChaveSelecao.rfind("_GRUPOM", 0) == 0) janela_.AtualizaSelecaoMouse("FORM");
    DescarregaAcimaDeZero(Rotulos(janela_, "lblFabricanteM"));
    DescarregaAcimaDeZero(Rotulos(janela_, "lblGrupoM"));
    DescarregaAcimaDeZero(Imagens(janela_, "imgLancM"));
    DescarregaAcimaDeZero(Rotulos(janela_, "lblDataLancM"));
    janela_.Img("imgLegendaLancamento").SetVisible(false);
}
