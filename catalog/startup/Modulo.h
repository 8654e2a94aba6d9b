// The catalogue program's own part of the module: search text normalisation and, as they
// come, the databases, the cart table and the catalogue queries.
#pragma once

#include "common/Modulo.h"

#include <optional>
#include <string>
#include <vector>

// --- Search text normalisation ----------------------------------------------------------
std::string RemoveAcentos(const std::string& texto);
std::string SomenteDigitos(const std::string& texto);
std::string SomenteLetrasDigitos(const std::string& texto);
std::string RemoveZerosEsquerda(const std::string& texto);
std::string NormalizaCodigoAlfanumerico(const std::string& texto);
std::string NormalizaCodigoNumerico(const std::string& texto);
std::string MontaChaveBusca(const std::string& texto);
std::string PreparaTextoSQL(const std::string& texto, bool bLike);
std::string FiltraConectivo(const std::string& palavra, long quantidade);
std::vector<std::string> SeparaPalavras(const std::string& texto);
std::string MontaFiltroPalavras(const std::string& texto, const std::string& campo);

// --- Databases and the update lock --------------------------------------------------------

// Workspace names.
extern const char* const NomeWsCatalogo;       // "gWS"
extern const char* const NomeWsAuxiliar;       // "DbZornakAux"
extern const char* const NomeWsGravacao;       // "sWsNotReadOnly"
extern const char* const NomeWsBloqueio;       // "mWsLockTrans"
extern const char* const ArquivoBancoCatalogo; // "CatalogoZORNAK.c01"
extern const char* const ArquivoBancoAuxiliar; // "CatalogoZORNAK.c02"

// Opens CaminhoDados & "CatalogoZORNAK.c01" in a new workspace of that name. Errors (missing
// file 3024, wrong password 3031, ...) reach the caller, with both variables left Nothing.
void AbreBancoCatalogo(dao::Workspace& ws, const std::string& nomeWorkspace, dao::Database& db,
                       bool somenteLeitura);
// Opens CaminhoDados & "CatalogoZORNAK.c02", read and write, in the workspace "DbZornakAux".
void AbreBancoAuxiliar(dao::Workspace& ws, dao::Database& db);
// Closes the database, then the workspace, and sets both to Nothing.
void FechaBanco(dao::Workspace& ws, dao::Database& db);
// While the splash window plays its animation, a worker thread opens both databases of the
// data folder (the key of each file takes a while to derive) and reads the catalogue into
// its page cache. The start-up waits for it (AguardaPreparacaoBancos) before it opens them
// itself, and lets it go (LiberaPreparacaoBancos) once they are open; nothing of it is seen:
// a file that fails here fails again, with its error, when the start-up opens it.
void PreparaBancos();
void AguardaPreparacaoBancos();
void LiberaPreparacaoBancos();
// Writes the last-check record of UMREGISTRO; either text may be "" (not written).
void GravaUltimaVerificacao(const std::string& dataSQL, const std::string& flagErro);
// True takes the update lock (False when another program holds it); False releases it: an
// error of its commit reaches the caller, and the lock stays held only when the transaction
// is still open for another try. A lock that is not held (lost, see below) releases at once.
bool BloqueiaAtualizacao(bool bloqueia);
// True while this program holds the update lock.
bool DetemBloqueioAtualizacao();
// While the update lock is held: what was written under it (an installed update) committed to
// disk now, and the lock taken again at once. True when the lock is still held. A commit that
// fails leaves nothing of what was written under the lock and lets the lock go; its error
// reaches the caller. Without the lock, nothing to do (true).
bool EfetivaGravacoesBloqueio();

// Replaces every "<I>" of a SQL text by the current language letter.
std::string AplicaIdioma(const std::string& sql);

// --- Cart table -----------------------------------------------------------------------------
bool TabelaExiste(const dao::Database& db, const std::string& tabela);
std::string NomeTabelaCarrinho(const dao::Database& db);
// Chooses the name and creates the table in one transaction of the workspace; a name that
// another program took in between ("already exists") moves on to the next number. With a
// Nothing workspace no transaction is used.
std::string CriaTabelaCarrinho(dao::Workspace& ws, dao::Database& db);
// The same in WsAuxiliar when db is DbAuxiliar.
std::string CriaTabelaCarrinho(dao::Database& db);
void IncluiProdutoCarrinho(long codigoProduto, int quantidade);
void AlteraQuantidadeCarrinho(long codigoProduto, int quantidade);
// Deletes the product's row; code 0 deletes every row.
void ExcluiProdutoCarrinho(long codigoProduto);
bool ApagaTabelaCarrinho(dao::Database& db, const std::string& tabela);
void AtualizaDescricoesCarrinho(const std::string& idioma);

// --- Catalogue query helpers ----------------------------------------------------------------

// The first column of the first row on DbCatalogo, Null included; the default when there
// is no row.
vb::Variant ObtemValorSQL(const std::string& sql, const vb::Variant& padrao);
// Without a default: no value (std::nullopt) when there is no row, unlike a Null value.
std::optional<vb::Variant> ObtemValorSQL(const std::string& sql);
std::string ObtemReferenciasCruzadas(long codigoProduto, const std::string& fabricantes);
std::string ObtemFabricantesAplicacao(long codigoAplicacao);
// The makers list as the inside of an SQL "IN (...)": an empty list becomes NULL, which
// matches no maker, where "IN ()" would be a syntax error.
std::string ListaFabricantesSQL(const std::string& fabricantes);
std::string MontaDescricaoAplicacao(long codigoAplicacao, bool maiusculas, bool comFabricante);
std::string MontaDescricaoProduto(long codigoProduto, bool maiusculas);
std::vector<std::string> MontaTextoReferenciasCruzadas(long codigoProduto, const std::string& fabricantes);
long ObtemProdutoSubstituto(long codigoProduto);

// What the selector loaders ask of a combo: to re-check its scroll position at its next
// redraw. THCombo implements it.
class IComboRolagem {
public:
    virtual ~IComboRolagem() = default;
    virtual void AnalisarScollProximoRefresh() = 0;
};

// A list's new rows from an SQL text: the list is told first, so that its scroll bar and empty
// panel are measured again for them.
template <class Lista>
void RecarregaLista(Lista& lista, dao::DataControl& dc, const std::string& sql) {
    lista.AnalisarScollProximoRefresh();
    dc.SetRecordSource(sql);
    dc.Refresh();
}

// A window with selectors: its combos and their data controls by name ("cboTHCombo1",
// "dtcTHCombo1", ...). The main window and the auxiliary window implement it.
class IJanelaSeletores {
public:
    virtual ~IJanelaSeletores() = default;
    virtual IComboRolagem& Combo(const std::string& nome) = 0;
    virtual dao::DataControl& DataControl(const std::string& nome) = 0;
};

// The manufacturers (cboTHCombo1/dtcTHCombo1) with the "all" row textoTodos first; with an
// application above 0 only its manufacturers.
void CarregaComboFabricantes(IJanelaSeletores& janela, const std::string& textoTodos, long codigoAplicacao);
// The application types (cboTHCombo2/dtcTHCombo2) with "<" & UCase(message 7) & ">" first.
void CarregaComboTiposAplicacao(IJanelaSeletores& janela);

// --- The SQL texts of the routines above -----------------------------------------------
// Each returns the text its routine runs, "<I>" still in it where the routine applies the
// language; codes are written as decimal text.
namespace consultas {
// Every "<I>" of the text replaced by the language letter (AplicaIdioma with a given letter).
std::string Idioma(const std::string& sql, const std::string& idioma);
// The last-check record's UPDATE of UMREGISTRO; "" when neither text is given.
std::string GravaUltimaVerificacao(const std::string& dataSQL, const std::string& flagErro);
// The statement whose update takes the network update lock.
std::string BloqueiaAtualizacao();
// The catalogue's issue date with its complement and the last check's moment and error flag.
std::string DatasCatalogo();
// The makers whose cross references count for every application.
std::string FabricantesCoringas();
std::string CriaTabelaCarrinho(const std::string& tabela);
std::string QuantidadeCarrinho(const std::string& tabela, long codigoProduto);
std::string ProdutoCarrinho(long codigoProduto);
// The row of a product; the texts as they are read (quotes are doubled here), no number
// for a product without one.
std::string IncluiProdutoCarrinho(const std::string& tabela, long codigoProduto,
                                  const std::optional<std::string>& numeroEmpresa, const std::string& descricao,
                                  int quantidade);
std::string AlteraQuantidadeCarrinho(const std::string& tabela, long codigoProduto, int quantidade);
std::string AlteraDescricaoCarrinho(const std::string& tabela, long codigoProduto, const std::string& descricao);
std::string ExcluiProdutoCarrinho(const std::string& tabela, long codigoProduto);
std::string ApagaTabelaCarrinho(const std::string& tabela);
std::string ObtemReferenciasCruzadas(long codigoProduto, const std::string& fabricantes);
// The makers of the applications tied to an application: of its vehicle's other
// applications for a vehicle (veiculo True), else of the vehicles it is tied to.
std::string FabricantesRelacionados(long codigoAplicacao, bool veiculo);
std::string MontaDescricaoAplicacao(long codigoAplicacao);
std::string MontaDescricaoProduto(long codigoProduto);
std::string MontaTextoReferenciasCruzadas(long codigoProduto, const std::string& fabricantes);
std::string ProdutoSubstituto(long codigoProduto);
// fabricantes "": every maker; else only those of the comma list.
std::string CarregaComboFabricantes(const std::string& textoTodos, const std::string& fabricantes);
std::string CarregaComboTiposAplicacao(const std::string& textoTodos);
}  // namespace consultas

// --- Pictures from resources and image files --------------------------------------------
#include "platform/forms/Picture.h"
#include "platform/vb/Variant.h"

#include <cstdint>
#include <functional>

class QImage;

// What ObtemDimensoesImagem reads from an image file's header.
struct DimensoesImagem {
    std::int32_t Altura = 0;          // pixels
    std::int32_t Largura = 0;         // pixels
    std::int32_t TamanhoArquivo = 0;  // bytes
};

// The runtime's number for a resource name or type the program does not carry.
constexpr long ErroRecursoNaoEncontrado = 326;

// The picture resource `nome` of type `tipo` ("G" general, "P"/"E"/"I" by language, "D" the
// windows' design-time pictures); without a type, the current `Idioma`. Names and types are
// matched in upper case. A name or type the resources lack raises ErroRecursoNaoEncontrado;
// data that does not decode gives Nothing. Needs a QGuiApplication.
vb::Picture CarregaImagemRecurso(const vb::Variant& nome, const vb::Variant& tipo = vb::Variant());

// A picture file of the data folder (a product photo, a figure page), as LoadPicture gives
// it. It is read as the settings file is (LeBytesArquivo): only a regular file, after links,
// opened so that nothing waits, so a FIFO or a device at the path is a missing file (53)
// and never holds the program. Data that does not decode raises 481 (vb::err::InvalidPicture).
vb::Picture CarregaImagemArquivo(const std::string& caminho);

// Type ("png", "gif", "bmp", "jpg"; "" unknown) and size of an image file from its header,
// read as CarregaImagemArquivo reads it. Never raises: a missing, unreadable, short or
// unknown file, or one that is not a regular file, gives False.
bool ObtemDimensoesImagem(const std::string& caminho, DimensoesImagem& dimensoes, std::string& tipo);

// The 16-bit word at `posicao`, little- or big-endian, sign-extended. A position outside the
// bytes raises subscript out of range (9).
std::int32_t PalavraLE(long posicao, const std::vector<std::uint8_t>& bytes);
std::int32_t PalavraBE(long posicao, const std::vector<std::uint8_t>& bytes);

// Copies every pixel of `origem` whose colour (0x00BBGGRR) is not `corTransparente` onto
// `destino` at the offset, except the source's last row; pixels outside `destino` are dropped.
// With bRefresh True it then calls `atualiza`, which repaints whatever shows `destino`.
void CopiaPixelsTransparente(const QImage& origem, QImage& destino, long corTransparente,
                             int deslocX, int deslocY, bool bRefresh,
                             const std::function<void()>& atualiza = {});

// GetPixel: the colour of pixel (x, y) as 0x00BBGGRR, or -1 (CLR_INVALID) outside the image.
long CorPixel(const QImage& imagem, int x, int y);

// --- Start-up and the program's windows -----------------------------------------------------

#include <functional>
#include <memory>

namespace vb {
class Form;
class Control;
}  // namespace vb
class frmApresentacaoForm;
class frmCreditosForm;

// The list control that takes the wheel's rows (a THGrid or a THCombo).
class IRolagemRoda {
public:
    virtual ~IRolagemRoda() = default;
    virtual void Scroll(int colunas, int linhas, bool atualiza) = 0;
};
// The program state that involves windows (the rest is EstadoPrograma).
extern vb::Form* JanelaRodaMouse;        // the window hooked for the wheel, or none
extern vb::Control* AlvoRodaJanela;      // whose rectangle the cursor must be in
extern IRolagemRoda* AlvoRodaRolagem;    // which list scrolls

// --- Grid, twips and mouse-wheel target helpers ----------------------------------------------
// (The THGrid row routines are with the list controls: catalog/controls/ModuloGrade.h.)

// Pixels times the twips per pixel of an axis: "X", "L", "LEFT", "W", "WIDTH" (blanks around
// and letter case do not count) the horizontal factor, any other text the vertical one. Before
// the start-up has measured the screen, the screen's own factors. A product beyond 32 bits
// raises overflow (6).
long ConvertePixelsParaTwips(long pixels, const std::string& eixo);
// The value, or valorNulo when it is Null; a non-Null value gives valorNaoNulo when that is
// given. Callers take .ToString() of ObtemValorCampo(campo, "") for a field's text.
vb::Variant ObtemValorCampo(const vb::Variant& valor, const vb::Variant& valorNulo,
                            const std::optional<vb::Variant>& valorNaoNulo = std::nullopt);
// True when the array has bounds: one never dimensioned or erased is an empty vector here.
template <class T>
bool ObtemLimiteVetor(const std::vector<T>& vetor) {
    return !vetor.empty();
}
// True when the mouse cursor lies inside the control's rectangle on the screen (its right and
// bottom edges outside); False for no control.
bool VerificaCursorSobreJanela(const vb::Control* janela);

// The wheel's targets by key: "CAT_GRID1", "CAT_GRID2", "CAT_COMBO1", "CAT_COMBO2" (the main
// window's lists), "TEL_GRID1", "TEL_COMBO2" (the auxiliary window's). The window that holds a
// list registers it when it loads and takes it away (nullptr) when it unloads; taking away the
// list that is the wheel's target leaves the wheel without one. Other keys are not targets.
void RegistraListaRoda(const std::string& chave, vb::Control* janela, IRolagemRoda* rolagem);
template <class Lista>
void RegistraListaRoda(const std::string& chave, Lista* lista) {
    RegistraListaRoda(chave, static_cast<vb::Control*>(lista), static_cast<IRolagemRoda*>(lista));
}
// The list under the mouse takes the wheel, 4 rows a notch; the empty key leaves the wheel
// without a target; another key changes nothing but the remembered key. Nothing happens when
// the wheel is off or the key is the current one.
void DefineAlvoRodaMouse(const std::string& chave);

// The start-up sequence, run once by the splash window. True when it ran to its end; after
// a failure it has released what it had taken (the cart table, both databases), shown the
// one error box and asked the program to end with a non-zero exit code.
bool Inicializa();
// The end of a failed start-up (also the main window's load): drops this run's cart table
// when it was created, closes both databases, shows the error box, ends the program with
// exit code 1.
void EncerraAposFalhaInicio(long numero, const std::string& descricao);

// The program's windows, one each, made on first use and kept until LiberaJanelas (which
// the program calls before its application object goes).
vb::Form& InstanciaJanela(const std::string& nome, const std::function<std::unique_ptr<vb::Form>()>& cria);
bool JanelaCriada(const std::string& nome);
void LiberaJanelas();
// How the start-up makes the main window, which lives in its own library.
void DefineJanelaPrincipal(std::function<std::unique_ptr<vb::Form>()> cria);
vb::Form& JanelaPrincipal();

frmApresentacaoForm& frmApresentacao();
frmCreditosForm& frmCreditos();
