// The module both programs share: the program-wide state and the file, folder, date,
// settings, shell and error helpers. Paths use "/" where the original wrote "\".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dao/Dao.h"
#include "platform/vb/DateTime.h"
#include "platform/vb/Variant.h"

// The program-wide state. Fields that need the windows are kept
// by the modules that own those (the catalogue's start-up module).
struct TEstadoPrograma {
    dao::Workspace WsCatalogo;           // "gWS": the catalogue, read-only, for the whole run
    dao::Database DbCatalogo;
    dao::Workspace WsAuxiliar;           // "DbZornakAux": the cart's database, read and write
    dao::Database DbAuxiliar;
    std::string CaminhoDados;            // the data folder, always ending with "/"
    std::string RequisicaoTela;          // hand-over string between the windows
    std::string Idioma = "P";            // "P", "E" or "I"
    std::string DataEmissaoTexto;
    bool VerificacaoAutomatica = false;
    std::string TabelaCarrinho;
    int TwipsPorPixelX = 0;
    int TwipsPorPixelY = 0;
    bool ReiniciarAposAtualizacao = false;
    std::vector<std::vector<std::string>> ConjuntosMenu;   // row 0 captions, row 1 codes
    bool RodaMouseAtiva = false;
    std::string ChaveAlvoRoda;
    std::uint8_t LinhasRoda = 0;
    dao::Workspace WsBloqueio;           // "mWsLockTrans": holds the update lock's transaction
    dao::Database DbBloqueio;
};

extern TEstadoPrograma EstadoPrograma;

// A clean-up or output step whose failure changes nothing of what its caller does (the
// original's "On Error Resume Next" over one statement).
template <class F>
void IgnoraFalha(F&& f) {
    try {
        f();
    } catch (...) {
    }
}

// --- Files, folders, dates and the error box -------------------------------------------

std::string ObtemCaminhoAplicacao(bool comSeparador);
std::string ObtemPastaSistema(const std::string& tipo, bool comSeparador);
bool ExisteArquivo(const std::string& caminho);
void ApagaArquivo(const std::string& caminho);
// The whole file as the bytes it held when it was opened, or its first `maximo` bytes. Only
// a regular file is read: a folder, a FIFO or a device raises 75 at once. Errors reach the
// caller.
std::string LeBytesArquivo(const std::string& caminho, std::size_t maximo = static_cast<std::size_t>(-1));
std::string LeArquivo(const std::string& caminho);
// Writes the bytes as the whole file at the path's own bytes (made with `modo`, emptied if it
// exists). Returns 0, or the system's error number when the file could not be made or written.
int GravaBytesArquivo(const std::string& caminho, std::string_view bytes, unsigned modo);
// A name from the catalogue or the server under a folder ending with "/": "\" separates
// folders, and a name whose letter case differs from the file's is still found. Without a
// match, the folder and the name as given.
std::string LocalizaArquivo(const std::string& pasta, const std::string& nome);
// A small text file that people edit ("Caminho.txt", "NW.txt"): the whole text without the
// line ends at its end, UTF-8 when valid, else Windows-1252. Errors reach the caller.
std::string LeArquivoTexto(const std::string& caminho);
// The data folder, ending with "/": the program folder, or the folder named by a non-empty
// "Caminho.txt" beside the program.
std::string ObtemCaminhoDados();
// False only when "NW.txt" in the data folder holds "1" (a line end after it allowed).
bool LeRodaMouseAtiva(const std::string& caminhoDados);
std::string GeraNomeArquivoUnico(const std::string& extensao);
// A new empty file of this run alone in the temporary folder, named as GeraNomeArquivoUnico
// names (ASCII letters and digits, so that the path travels wherever the folder's own name
// does), created so that no other file or link of that name is ever written through. A
// folder that refuses it raises the runtime's file error naming the file and the system's
// reason.
std::string CriaArquivoTemporarioUnico(const std::string& extensao);
// The runtime's file error for a system error (errno) met on a file: 76 for a missing folder,
// 61 for a full disk, 70 for a refusal, `outro` otherwise; its description names the file
// and gives the system's reason.
[[noreturn]] void LevantaErroArquivo(int erroSistema, const std::string& caminho, long outro);
// The update checker's exit code when it could not write its result file: the system's
// reason, carried past the codes a crash or a signal gives. 0 from a code that carries none.
int CodigoSaidaResultadoNaoGravado(int erroSistema);
int ErroSistemaDoCodigoSaida(long codigo);
// True for a file name (without its folder) of the form GeraNomeArquivoUnico gives, on any
// computer: the moment as "sshhyynnmmdd", a volume serial in 8 hexadecimal digits, a number
// from 0 to 9999, "." and the extension.
bool EhNomeArquivoUnico(const std::string& nome, const std::string& extensao);
std::string SerialVolume(const std::string& raiz);
long IndiceMes(std::uint8_t mes);
std::string FormataData(vb::Date data, const std::string& idioma = "");
std::string FormataDataHora(vb::Date data, const std::string& idioma = "");
// True when a loaded window of the program has exactly that name (case counts).
bool VerificaFormularioCarregado(const std::string& nome);
std::string ObtemTituloAplicacao();
void MostraErro(long numero, const std::string& descricao);

// The process's one random generator, seeded from the clock once (VB's Randomize + Rnd).
double Rnd();

// --- Settings and path files ------------------------------------------------------------

extern const char* const ArquivoConfiguracao;   // "CatalogoZORNAKConfig.txt"

std::string ObtemPastaConfiguracao(bool comSeparador);
void LeConfiguracao(const std::string& seletor, std::string& usuario, std::string& senha);
// The fields of the settings line in the file at `caminho`, split at "|", without the line
// end an editor (or another system) put after it. Errors of the reading reach the caller.
std::vector<std::string> LeCamposConfiguracao(const std::string& caminho);
void GravaConfiguracao(const std::string& idioma, const std::string& verificacao,
                       const std::string& usuario, const std::string& senha,
                       bool gravaCredenciais);

// --- Shell, browser, help, e-mail, desktop and text helpers -----------------------------

bool PastaExiste(const std::string& caminho);
void CriaPasta(const std::string& base, const std::string& relativo, bool ultimoEhArquivo);
void ExecutaEAguarda(const std::string& linhaComando, long estiloJanela);
// The browser, the help viewer and the mail program are not waited for: True and no error
// mean they started; one that fails in its first seconds shows its error box afterwards.
bool AbreNavegador(const std::string& endereco);
void AbreAjuda(std::uint8_t codigo, bool auxiliar, bool lista);
// The help topic of a screen (main window) or mode (auxiliary window); 0 for none.
long TopicoAjuda(std::uint8_t codigo, bool auxiliar, bool lista);
void EnviaEmail(const std::string& caminhos, const std::string& separador);
std::string ObtemPastaDesktop(bool barraFinal);
std::string FormataDataHoraSQL(vb::Date momento = 1.0);
std::string FormataCampoLargura(const vb::Variant& valor, int largura,
                                const std::string& alinhamento);
std::string TiraBrancosEsquerda(const std::string& texto);
std::string TiraBrancosDireita(const std::string& texto);
std::string TiraBrancos(const std::string& texto);
// A text from outside (a server's reply, a list line) as it may be quoted in an error:
// one line, control characters as blanks, at most `maximo` bytes and then "...".
std::string TextoUmaLinha(const std::string& texto, std::size_t maximo = 80);
std::string FormataDataCompacta(const std::string& compacta, bool curta);
long VerificaVetorValido(const std::vector<long>& vetor, long valor);
vb::Variant ExtraiPastaArquivo(const std::string& caminho, bool mantemBarra);

// --- Databases ----------------------------------------------------------------------------

// The 11-character password of both data files, put together at run time.
std::string ObtemSenhaBancoDados();
