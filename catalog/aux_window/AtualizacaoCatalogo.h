// The installation of a catalogue update: the version lists of every version after the
// installed one, the files they name (downloaded to temporary files first, then put in
// place or unpacked), the database scripts, and the new version in UMREGISTRO.
//
// The work is kept apart from the auxiliary window's screen, which shows the progress
// through IProgressoAtualizacao and the outcome from ResultadoAtualizacao.
#pragma once

#include "common/modInternet.h"
#include "platform/dao/Dao.h"
#include "platform/os/FolderNames.h"
#include "platform/vb/DateTime.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// One file named by the version lists.
struct ArquivoAtualizacao {
    std::string Tipo;           // 3 characters: "SDB" script, "EXE" program, anything else data
    std::string Nome;           // as the list writes it, relative to the data folder
    std::int32_t Tamanho = 0;   // bytes, as the list says
    std::string Local;          // a script's text, or the temporary file of the download
};

// "ListVersao" & v & ".txt".
std::string NomeListaVersao(int versao);

// Refuses (error 52) a name from the server that could land outside the data folder or
// names no file: empty, absolute, with a ".." part, a drive letter or a NUL character.
void VerificaNomeArquivoAtualizacao(const std::string& nome);

// Adds the entries of one version list (lines split at CR LF, fields at ";") to the table.
// A name already in the table (compared trimmed and without case) is skipped, so the
// lowest version wins. A line without a name or with a size that is no number raises (9 or
// 13), as does an unsafe name (52); the table is then left as it was before the line.
// totalBytes grows by the size of every entry added.
void AcrescentaListaVersao(const std::string& texto, std::vector<ArquivoAtualizacao>& tabela,
                           std::int64_t& totalBytes);

// True for an archive to unpack in place: the name ends with "-ci-.zip", in any case.
bool EhArquivoCompactadoAtualizacao(const std::string& nome);

// Where a listed name lands in the data folder: "\" read as "/", and every existing folder or
// file of the path matched without case, as the system that wrote the lists did (the exact
// name first, else the first in name order). The second form reads each folder once for the
// whole run, through `pastas`.
std::string CaminhoArquivoAtualizacao(const std::string& pastaDados, const std::string& nome);
std::string CaminhoArquivoAtualizacao(const std::string& pastaDados, const std::string& nome, os::FolderNames& pastas);

// Refuses (70) a listed name that lands on one of the databases the program holds open (or
// on a journal of one).
void VerificaDestinoLivre(const std::string& pastaDados, const std::string& nome, os::FolderNames& pastas);

// Puts one downloaded entry (any kind but "SDB") in place in the data folder: its folders
// made, then its temporary file renamed over the file of that name in any case, or, for an
// archive, unpacked into the folder of its name and removed; `pastas` learns what was written.
// `eventos` runs before each entry of an archive. Returns where the file landed.
std::string ColocaArquivoAtualizacao(const std::string& pastaDados, const ArquivoAtualizacao& a,
                                     os::FolderNames& pastas, const std::function<void()>& eventos = {});

// The codes of the products now flagged as releases, ascending; the single code 0 when none.
std::vector<long> ObtemListaLancamentos(dao::Database& db);
// The query that reads them.
std::string ConsultaListaLancamentos();
// True when some code of depois is missing from antes (which must be ascending).
bool ComparaListasLancamentos(const std::vector<long>& antes, const std::vector<long>& depois);

// The statement that records the installed version (the columns padded so that every "="
// stands in the same column).
std::string MontaComandoVersao(int instalada, int disponivel, vb::Date momento);

// Where the installation shows its progress. Step 1 lists, 2 downloads, 3 files, 4 database.
class IProgressoAtualizacao {
public:
    virtual ~IProgressoAtualizacao() = default;
    // The step starts with this total; nothing is done of it yet.
    virtual void IniciaPasso(int passo, double total) = 0;
    // The amount done of the step (for step 2 the hook adds received bytes).
    virtual void DefineFeito(int passo, double feito) = 0;
    virtual void AcrescentaFeito(int passo, double quantidade) = 0;
    // The step is complete.
    virtual void TerminaPasso(int passo) = 0;
    // Lets the window repaint between units of work.
    virtual void ProcessaEventos() {}
};

struct ResultadoAtualizacao {
    bool Sucesso = false;
    bool NovosLancamentos = false;
    std::string ProgramaIniciar;   // the last downloaded "EXE", empty when none
    int Passo = 0;                 // the step the run reached (0 before the connection)
    long NumeroErro = 0;
    std::string DescricaoErro;
    // The answer for the main window: "11", "10" or "00".
    std::string Resposta() const { return Sucesso ? (NovosLancamentos ? "11" : "10") : "00"; }
};

// The whole installation from the installed to the available version, on the data folder
// and the catalogue of EstadoPrograma. It shows no message and starts no program; a
// failure stops the run, and what was done before it stays (files put in place, script
// lines run); the temporary files of downloads not yet put in place are removed, the
// writable catalogue is closed and its version-record transaction rolled back. A listed file
// or archive entry that would replace one of the databases the program holds open is refused
// (error 70) before anything is put in place. A run that succeeds has its scripts and the
// version on disk, also under the update lock (EfetivaGravacoesBloqueio); a commit that fails
// there fails the run, with nothing of the scripts or the version left.
ResultadoAtualizacao InstalaAtualizacao(int instalada, int disponivel, IProgressoAtualizacao& progresso);

class frmZornak2Form;
// Screen 6 of the auxiliary window: builds the step rows, runs the installation, reports the
// outcome, leaves the answer in RequisicaoTela and closes the window.
void ExecutaTelaAtualizacao(frmZornak2Form& janela, int instalada, int disponivel);
