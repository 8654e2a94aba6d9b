// Printing of the main window: printer set-up, page header, the cart, the product list with
// its observations and the figure page.
#include "catalog/main_window/ModuloImpressao.h"

#include "catalog/startup/Modulo.h"
#include "common/Modulo.h"
#include "common/modTraducao.h"
#include "platform/forms/Control.h"
#include "platform/forms/Printer.h"
#include "platform/forms/PrinterDialog.h"
#include "platform/forms/Screen.h"
#include "platform/vb/Err.h"
#include "platform/vb/Strings.h"

#include <QDir>
#include <QFontMetrics>

#include <exception>
#include <functional>
#include <utility>

namespace {

// The printer dialog of the main window.
vb::PrinterDialog cdgImpressoras;
// Printer pixels per print unit of 4 twips.
double m_EscalaImpressao = 1.0;

// Page limits and the line-breaking width of observations.
constexpr double LimiteRetrato = 3400;
constexpr double LimitePaisagem = 2500;
constexpr double LimiteInicioObservacoes = 2400;
constexpr long LarguraObservacao = 620;
// The runtime's "Internal error", for a failure that is not one of its own errors.
constexpr long ErroInterno = 51;

vb::PrinterObject& P() { return vb::Printer(); }

// N print units in printer pixels, in single precision as the original computed them.
double Unidades(double n) { return static_cast<float>(n * m_EscalaImpressao); }
void PosicaoX(double unidades) { P().SetCurrentX(Unidades(unidades)); }
void AvancaY(double unidades) { P().SetCurrentY(static_cast<float>(P().CurrentY() + Unidades(unidades))); }
bool PassouDe(double limite) { return P().CurrentY() > Unidades(limite); }

struct Coluna {
    double x;             // print units
    std::string texto;
};

// A row of columns: each at its position staying on the line; the last one ends it.
void ImprimeLinha(const std::vector<Coluna>& colunas)
{
    for (std::size_t i = 0; i < colunas.size(); ++i) {
        PosicaoX(colunas[i].x);
        P().Print(colunas[i].texto, i + 1 == colunas.size());
    }
}

// The column headings at the top of a page: 10 points, bold italic, 100 units down.
void ImprimeTitulosColunas(const std::vector<Coluna>& titulos)
{
    P().SetFontSize(10);
    AvancaY(100);
    P().SetFontBold(true);
    P().SetFontItalic(true);
    ImprimeLinha(titulos);
    P().SetFontItalic(false);
    P().SetFontBold(false);
}

// The pages of a product printout: a new one, with the heading and the column titles,
// before the first line and whenever a line passes the page's limit.
struct Paginas {
    std::string titulo;
    std::vector<Coluna> titulos;
    double limite;
    bool primeira = true;

    // True when it started a page.
    bool Quebra()
    {
        if (!primeira && !PassouDe(limite)) return false;
        ImprimirCabecalho(titulo, !primeira);
        primeira = false;
        ImprimeTitulosColunas(titulos);
        return true;
    }
};

// One column of a product's line, which goes on.
void ImprimeColuna(double x, const std::string& texto)
{
    PosicaoX(x);
    P().Print(texto, false);
}

// A product of a printout: its cross references one a line at xReferencia, and its own
// columns on the first of those lines and again at the top of each new page.
void ImprimeProduto(Paginas& paginas, const std::vector<std::string>& referencias, double xReferencia,
                    const std::function<void()>& imprimeColunas)
{
    for (std::size_t i = 0; i < referencias.size(); ++i) {
        const bool inicioPagina = paginas.Quebra();
        if (i == 0 || inicioPagina) {
            AvancaY(25);
            imprimeColunas();
        }
        PosicaoX(xReferencia);
        P().Print(referencias[i], true);
    }
}

// The part number as the printouts show it: the formatted number, or the product code.
std::string NumeroPeca(const dao::Recordset& rs)
{
    const std::string numero = ObtemValorCampo(rs.Value("NumeroEmpresaFormatado"), "").ToString();
    if (!numero.empty()) return numero;
    return "(COD:" + ObtemValorCampo(rs.Value("CodigoProduto"), "").ToString() + ")";
}

// A number as Print writes it: a blank where a positive number's sign would be.
std::string NumeroImpresso(const vb::Variant& v)
{
    if (v.IsNull() || v.IsEmpty()) return std::string();
    const double d = v.ToDouble();
    return (d < 0 ? "" : " ") + vb::CStr(d);
}

// The end of a printout that failed: the pages drawn so far go out as their own document,
// so that they never run on into the next printout.
void EncerraAposErro(long numero, const std::string& descricao)
{
    try {
        if (P().DocumentOpen()) P().EndDoc();
    } catch (const vb::Error&) {
    }
    P().SetFontBold(false);
    P().SetFontItalic(false);
    vb::Screen().SetMousePointer(vb::vbDefault);
    MostraErro(numero, descricao);
}

// A printout's document goes to the printer named with the program's title and its own
// title, so that a print queue (or a PDF printer's file) tells what it is.
void NomeiaDocumento(const std::string& titulo)
{
    P().SetDocName(Traduz(0) + " - " + titulo);
}

// Runs a printout under the hourglass and ends its document; on a failure the pages drawn
// so far go out and the error is shown.
void ImprimeDocumento(const std::function<void()>& corpo)
{
    try {
        vb::Screen().SetMousePointer(vb::vbHourglass);
        corpo();
        P().EndDoc();
        vb::Screen().SetMousePointer(vb::vbDefault);
    } catch (const vb::Error& e) {
        EncerraAposErro(e.Number(), e.Description());
    } catch (const std::exception& e) {
        EncerraAposErro(ErroInterno, e.what());
    }
}

// The hidden measuring picture box: screen pixels of the printer's font name and size.
long LarguraMedida(const std::string& texto)
{
    return LarguraTextoMedida(texto, P().FontName(), P().FontSize());
}

// The observation of one product. bPrimeira marks the first observation of the document,
// which continues the list's last page when it has room. True when a line was printed.
bool ImprimirObservacoes(long CodigoProduto, const std::string& sTitulo, bool bPrimeira)
{
    dao::Recordset rs = EstadoPrograma.DbCatalogo.OpenRecordset(
        consultas::ObservacaoImpressao(CodigoProduto, EstadoPrograma.Idioma), dao::dbOpenForwardOnly);
    std::size_t indice = 0, ultimo = 0;
    std::vector<std::string> linhas;
    bool imprimiu = false;
    while (!rs.Eof()) {
        if (bPrimeira || PassouDe(LimitePaisagem)) {
            bPrimeira = false;
            if (PassouDe(LimiteInicioObservacoes)) ImprimirCabecalho(sTitulo, true);
            ImprimeTitulosColunas({{200, Traduz(32)}, {600, Traduz(3)}});
        }
        if (indice + 1 <= ultimo) {
            ++indice;
        } else {
            linhas = QuebraTexto(ObtemValorCampo(rs.Value("Observacao"), "").ToString());
            indice = 0;
            ultimo = linhas.size() - 1;
        }
        if (indice == 0) {
            AvancaY(20);
            PosicaoX(200);
            P().Print(ObtemValorCampo(rs.Value("NumeroEmpresaFormatado"), "").ToString(), false);
        }
        PosicaoX(600);
        P().Print(linhas[indice], true);
        imprimiu = true;
        if (indice == ultimo) rs.MoveNext();
    }
    rs.Close();
    return imprimiu;
}

// The missing printer's description, which the message table does not hold, in the
// program's three languages (the printer dialog itself speaks the system's).
const char* SemImpressora()
{
    if (EstadoPrograma.Idioma == "E") return "Ninguna impresora disponible";
    if (EstadoPrograma.Idioma == "I") return "No printer is available";
    return "Nenhuma impressora disponível";
}

}  // namespace

namespace consultas {

std::string ObservacaoImpressao(long produto, const std::string& idioma) {
    return Idioma("SELECT IIF(PRODUTO.NumeroEmpresaProduto=Null,'(COD:'&PRODUTO.CodigoProduto&')',"
                  "Format(PRODUTO.NumeroEmpresaProduto,'00-00-0000')) As NumeroEmpresaFormatado,"
                  "PRODUTO_OBS.Observacao<I> AS Observacao "
                  "FROM PRODUTO INNER JOIN PRODUTO_OBS ON PRODUTO.CodigoProduto = PRODUTO_OBS.CodigoProduto "
                  "WHERE PRODUTO.CodigoProduto=" + std::to_string(produto),
                  idioma);
}

std::string FiguraImpressao(long conjunto, std::uint8_t parte) {
    return "SELECT FIGURADETALHADA1.NumeroParteFigura,Max(FIGURADETALHADA1.ArquivoFigura) AS ArquivoFigura,"
           "FIGURADETALHADA1.ItemFigura,FIGURADETALHADA1.PosicaoLeft,FIGURADETALHADA1.PosicaoTop,"
           "Max(IIF(APLICACAO_PRODUTO.CodigoAplicacao=Null,Null,1)) AS ItemAplicavel "
           "FROM (FIGURADETALHADA1 LEFT JOIN CONJUNTO_PRODUTO1 ON "
           "FIGURADETALHADA1.CodigoConjunto = CONJUNTO_PRODUTO1.CodigoConjunto AND "
           "FIGURADETALHADA1.ItemFigura     = CONJUNTO_PRODUTO1.ItemFigura) LEFT JOIN APLICACAO_PRODUTO ON "
           "CONJUNTO_PRODUTO1.CodigoProduto = APLICACAO_PRODUTO.CodigoProduto AND "
           "CONJUNTO_PRODUTO1.CodigoAplicacao = APLICACAO_PRODUTO.CodigoAplicacao "
           "WHERE FIGURADETALHADA1.CodigoConjunto = " + std::to_string(conjunto) +
           " AND FIGURADETALHADA1.NumeroParteFigura = " + std::to_string(parte) +
           " GROUP BY FIGURADETALHADA1.NumeroParteFigura,FIGURADETALHADA1.ItemFigura,FIGURADETALHADA1.PosicaoLeft,"
           "FIGURADETALHADA1.PosicaoTop";
}

}  // namespace consultas

double EscalaImpressao() { return m_EscalaImpressao; }

long LarguraTextoMedida(const std::string& texto, const std::string& fonte, double tamanho)
{
    return QFontMetrics(vb::MakeFont(fonte, tamanho)).horizontalAdvance(QString::fromStdString(texto));
}

bool ConfiguraImpressora(std::uint8_t sOrientation, const std::string& sFontName)
{
    try {
        vb::Screen().SetMousePointer(vb::vbHourglass);
        cdgImpressoras.Flags = vb::cdlPDNoSelection | vb::cdlPDNoPageNums | vb::cdlPDUseDevModeCopies |
                               vb::cdlPDHidePrintToFile;
        cdgImpressoras.CancelError = true;
        cdgImpressoras.Texts.pdfFileName = "ZORNAK.pdf";
        cdgImpressoras.ShowPrinter();
        vb::Screen().SetMousePointer(vb::vbHourglass);
        if (!P().Ready()) vb::Raise(vb::err::PrinterError, SemImpressora());
        P().SetOrientation(sOrientation);
        P().SetScaleMode(vb::vbPixels);
        m_EscalaImpressao = 4.0 / P().TwipsPerPixelX();
        try {
            P().SetFontName(sFontName);
        } catch (const vb::Error&) {
            // The printer keeps the font it had.
        }
        vb::Screen().SetMousePointer(vb::vbDefault);
        return true;
    } catch (const vb::Error& e) {
        vb::Screen().SetMousePointer(vb::vbDefault);
        if (e.Number() != vb::err::CommonDialogCancel) MostraErro(e.Number(), e.Description());
        return false;
    } catch (const std::exception& e) {
        vb::Screen().SetMousePointer(vb::vbDefault);
        MostraErro(ErroInterno, e.what());
        return false;
    }
}

void ImprimirCabecalho(const std::string& sTitulo, bool sNewPage)
{
    if (sNewPage) P().NewPage();
    std::string fonteAnterior;
    try {
        fonteAnterior = P().FontName();
        P().SetFontName("Arial");
    } catch (const vb::Error&) {
    }
    P().SetCurrentY(Unidades(150));
    P().SetFontSize(12);
    PosicaoX(200);
    P().Print(Traduz(0) + "     1.0     " + EstadoPrograma.DataEmissaoTexto, true);

    AvancaY(10);
    P().SetFontSize(10);
    PosicaoX(200);
    P().Print(sTitulo, true);

    AvancaY(10);
    P().SetFontSize(7);
    PosicaoX(200);
    P().Print(Traduz(61) + " " + vb::Trim(std::to_string(P().Page())), true);
    try {
        P().SetFontName(fonteAnterior);
    } catch (const vb::Error&) {
    }
}

void ImprimirCarrinho(dao::Recordset& sRsCarrinho)
{
    if (!ConfiguraImpressora(vb::vbPRORPortrait, "Arial")) return;
    ImprimeDocumento([&] {
        Paginas paginas{Traduz(36) + " - " + FormataDataHora(vb::Now(), ""),
                        {{200, Traduz(32)}, {550, Traduz(40)}, {1750, Traduz(59)}, {2000, Traduz(42)}},
                        LimiteRetrato};
        NomeiaDocumento(paginas.titulo);
        while (!sRsCarrinho.Eof()) {
            const long codigo = sRsCarrinho.Value("CodigoProduto").ToLong();
            ImprimeProduto(paginas, MontaTextoReferenciasCruzadas(codigo, ""), 2000, [&] {
                ImprimeColuna(200, NumeroPeca(sRsCarrinho));
                ImprimeColuna(550, ObtemValorCampo(sRsCarrinho.Value("DescricaoProduto"), "").ToString());
                ImprimeColuna(1750, NumeroImpresso(sRsCarrinho.Value("Quantidade")));
            });
            sRsCarrinho.MoveNext();
        }
        sRsCarrinho.Close();
        sRsCarrinho = dao::Recordset();
    });
}

void ImprimirLista(const ListaImpressao& lista)
{
    if (!ConfiguraImpressora(vb::vbPRORLandscape, "Arial")) return;
    dao::Recordset copia;
    ImprimeDocumento([&] {
        copia = lista.Recordset.Clone();
        Paginas paginas{Traduz(9) + " - " + MontaDescricaoAplicacao(lista.CodigoAplicacao, false, true),
                        {{200, Traduz(32)},
                         {600, Traduz(40)},
                         {1900, Traduz(lista.ListaVeiculo ? 43 : 51)},
                         {2500, vb::UCase(Traduz(44))},
                         {2750, Traduz(42)}},
                        LimitePaisagem};
        NomeiaDocumento(paginas.titulo);
        // The observation flag follows the set flag, which follows the release flag when
        // the list shows the release column.
        const long posicaoObservacao = lista.ColunaLancamento ? 3 : 2;
        const auto temObservacao = [&] {
            const std::string imagens = ObtemValorCampo(copia.Value("ImagensGrid"), "").ToString();
            return vb::Len(imagens) >= posicaoObservacao && vb::Mid(imagens, posicaoObservacao, 1) == " ";
        };
        const std::string marcaObservacao = vb::UCase(Traduz(44));

        for (; !copia.Eof(); copia.MoveNext()) {
            const long codigo = copia.Value("CodigoProduto").ToLong();
            ImprimeProduto(paginas, MontaTextoReferenciasCruzadas(codigo, lista.FabricantesAplicacao), 2750, [&] {
                ImprimeColuna(200, NumeroPeca(copia));
                ImprimeColuna(600, ObtemValorCampo(copia.Value("DescricaoProduto"), "").ToString());
                ImprimeColuna(1900, ObtemValorCampo(copia.Value(lista.ListaVeiculo ? "DescricaoGrupoProduto" : "ItemFigura"), "").ToString());
                ImprimeColuna(2500, temObservacao() ? marcaObservacao : std::string());
            });
        }
        if (copia.RecordCount() > 0) {
            copia.MoveFirst();
            // The first observation that prints takes the headings; a product marked as
            // having one without a text does not use them up.
            bool primeiraObservacao = true;
            for (; !copia.Eof(); copia.MoveNext()) {
                if (!temObservacao()) continue;
                if (ImprimirObservacoes(copia.Value("CodigoProduto").ToLong(), paginas.titulo, primeiraObservacao))
                    primeiraObservacao = false;
            }
        }
        copia.Close();
    });
}

void ImprimirFigura(long CodigoConjunto, std::uint8_t NumeroParteFigura, long aplicacaoFigura)
{
    if (!ConfiguraImpressora(vb::vbPRORLandscape, "Arial")) return;
    ImprimeDocumento([&] {
        const std::string titulo = Traduz(8) + " - " + MontaDescricaoAplicacao(aplicacaoFigura, false, true);
        NomeiaDocumento(titulo);
        dao::Recordset rs = EstadoPrograma.DbCatalogo.OpenRecordset(consultas::FiguraImpressao(CodigoConjunto, NumeroParteFigura),
                                                                    dao::dbOpenForwardOnly);
        if (!rs.Eof()) {
            ImprimirCabecalho(titulo, false);
            P().SetFontSize(10);
            // Printer pixels per point: one picture pixel becomes about one point on paper.
            const long k = vb::CByte(5.0 * m_EscalaImpressao);
            PosicaoX(200);
            AvancaY(150);
            const long x0 = vb::CLng(P().CurrentX());
            const long y0 = vb::CLng(P().CurrentY());
            const vb::Picture imgAuxFigura =
                CarregaImagemArquivo(LocalizaArquivo(EstadoPrograma.CaminhoDados + "Figuras/", ObtemValorCampo(rs.Value("ArquivoFigura"), "").ToString()));
            P().PaintPicture(imgAuxFigura, x0, y0, static_cast<double>(k) * imgAuxFigura.Width(),
                             static_cast<double>(k) * imgAuxFigura.Height());
            for (; !rs.Eof(); rs.MoveNext()) {
                const std::string item = ObtemValorCampo(rs.Value("ItemFigura"), "").ToString();
                const long y = y0 + k * rs.Value("PosicaoTop").ToLong();
                const long w = LarguraMedida(item);
                const long x = x0 + k * (rs.Value("PosicaoLeft").ToLong() + 12 - w / 2);
                P().SetCurrentY(y);
                P().SetCurrentX(x);
                const bool aplicavel = !rs.Value("ItemAplicavel").IsNull();
                P().SetFontItalic(!aplicavel);
                P().SetFontBold(aplicavel);
                P().Print(item, true);
            }
        }
        rs.Close();
        P().SetFontItalic(false);
        P().SetFontBold(false);
    });
}

std::vector<std::string> QuebraLinha(const std::string& sTexto)
{
    if (LarguraMedida(sTexto) <= LarguraObservacao) return {sTexto};
    // Cut at character positions, tested every third character: a piece is the first one
    // wider than the width, so words may split anywhere.
    const std::u32string caracteres = vb::ToChars(sTexto);
    const long tamanho = static_cast<long>(caracteres.size());
    std::vector<std::string> linhas;
    long inicio = 1;
    for (long posicao = 1; posicao <= tamanho; posicao += 3) {
        std::string pedaco = vb::FromChars(caracteres.substr(inicio - 1, posicao - inicio + 1));
        if (LarguraMedida(pedaco) > LarguraObservacao) {
            linhas.push_back(std::move(pedaco));
            inicio = posicao + 1;
        }
    }
    if (inicio <= tamanho) linhas.push_back(vb::FromChars(caracteres.substr(inicio - 1)));
    return linhas;
}

std::vector<std::string> QuebraTexto(const std::string& sTexto)
{
    std::vector<std::string> linhas;
    const std::string texto = TiraBrancos(sTexto);
    if (!texto.empty())
        for (const std::string& paragrafo : vb::Split(texto, "\r\n"))
            for (std::string& linha : QuebraLinha(paragrafo)) linhas.push_back(std::move(linha));
    if (linhas.empty()) linhas.emplace_back();
    return linhas;
}
