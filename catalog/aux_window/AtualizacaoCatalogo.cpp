#include "catalog/aux_window/AtualizacaoCatalogo.h"

#include "catalog/aux_window/LinhasScript.h"
#include "catalog/services/cUnzip.h"
#include "catalog/startup/Modulo.h"
#include "common/modInternet.h"
#include "platform/vb/Err.h"
#include "platform/vb/Strings.h"

#include <cctype>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <limits>
#include <unordered_set>

namespace fs = std::filesystem;

namespace {

std::string ComBarras(const std::string& nome) { return vb::Replace(nome, "\\", "/"); }

// Where a listed name lands, its folders made where they exist in no case.
std::string DestinoColocacao(const std::string& pasta, const std::string& nome, os::FolderNames& pastas) {
    const std::string relativo = ComBarras(nome);
    std::error_code ec;
    std::string falhou;
    const std::string destino = pastas.Folder(pasta, relativo, true, ec, &falhou);
    if (ec) vb::Raise(vb::err::PathFileAccessError, "Path/File access error: " + falhou + " (" + ec.message() + ")");
    const std::size_t barra = relativo.rfind('/');
    const std::string ultimo = barra == std::string::npos ? relativo : relativo.substr(barra + 1);
    if (ultimo.empty() || ultimo == ".") return destino;
    const std::string existente = pastas.Existing(destino, ultimo);
    return destino + (existente.empty() ? ultimo : existente);
}

}  // namespace

std::string NomeListaVersao(int versao) { return "ListVersao" + std::to_string(versao) + ".txt"; }

void VerificaNomeArquivoAtualizacao(const std::string& nome) {
    auto recusa = [&](const std::string& motivo) {
        vb::Raise(vb::err::BadFileNameOrNumber, "Bad file name or number: \"" + TextoUmaLinha(nome, 120) + "\" " + motivo);
    };
    if (nome.find('\0') != std::string::npos) recusa("holds a NUL character");
    const std::string caminho = ComBarras(nome);
    if (vb::Trim(caminho).empty()) recusa("names no file");
    if (caminho.front() == '/') recusa("is not relative to the data folder");
    if (caminho.back() == '/') recusa("names a folder, not a file");
    const std::vector<std::string> partes = vb::Split(caminho, "/");
    for (std::size_t i = 0; i < partes.size(); ++i) {
        if (vb::Trim(partes[i]) == "..") recusa("goes up out of the data folder");
        if (i == 0 && partes[i].size() >= 2 && std::isalpha(static_cast<unsigned char>(partes[i][0])) &&
            partes[i][1] == ':')
            recusa("names a drive");
    }
}

void AcrescentaListaVersao(const std::string& texto, std::vector<ArquivoAtualizacao>& tabela,
                           std::int64_t& totalBytes) {
    // The names already in the table, as they are compared: one look-up a line, so that a
    // list of many thousand lines is read in one pass.
    std::unordered_set<std::string> nomes;
    nomes.reserve(tabela.size());
    for (const ArquivoAtualizacao& a : tabela) nomes.insert(vb::UCase(vb::Trim(a.Nome)));
    for (const std::string& linha : vb::Split(texto, "\r\n")) {
        if (vb::Trim(linha).empty()) continue;
        const std::vector<std::string> campos = vb::Split(linha, ";");
        if (campos.size() < 2)
            vb::Raise(vb::err::SubscriptOutOfRange, "The update list line \"" + TextoUmaLinha(linha, 120) + "\" names no file.");
        std::string chave = vb::UCase(vb::Trim(campos[1]));
        if (nomes.count(chave)) continue;
        if (campos.size() < 3)
            vb::Raise(vb::err::SubscriptOutOfRange, "The update list line \"" + TextoUmaLinha(linha, 120) + "\" has no size.");
        if (tabela.size() >= 32767) vb::Raise(vb::err::Overflow);
        VerificaNomeArquivoAtualizacao(campos[1]);
        ArquivoAtualizacao a;
        a.Tipo = vb::Left(campos[0] + "   ", 3);
        a.Nome = campos[1];
        a.Tamanho = vb::CLng(campos[2]);
        if (totalBytes + a.Tamanho > std::numeric_limits<std::int32_t>::max() ||
            totalBytes + a.Tamanho < std::numeric_limits<std::int32_t>::min())
            vb::Raise(vb::err::Overflow);
        totalBytes += a.Tamanho;
        tabela.push_back(std::move(a));
        nomes.insert(std::move(chave));
    }
}

bool EhArquivoCompactadoAtualizacao(const std::string& nome) { return vb::LCase(vb::Right(nome, 8)) == "-ci-.zip"; }

std::string CaminhoArquivoAtualizacao(const std::string& pastaDados, const std::string& nome, os::FolderNames& pastas) {
    return pastas.Resolve(pastaDados, ComBarras(nome));
}

std::string CaminhoArquivoAtualizacao(const std::string& pastaDados, const std::string& nome) {
    os::FolderNames pastas;
    return CaminhoArquivoAtualizacao(pastaDados, nome, pastas);
}

// The databases this program holds open cannot be replaced under it: a file renamed over an
// open SQLite database (or its journal) leaves the run writing into the old file and can
// corrupt the new one. Refused before anything is downloaded, as a file in use.
void VerificaDestinoLivre(const std::string& pastaDados, const std::string& nome, os::FolderNames& pastas) {
    // A name lands on a file whose name is the same without case: one whose last part is no
    // database's name needs no look at the folders.
    const std::string relativo = ComBarras(nome);
    const std::string ultimo = vb::UCase(relativo.substr(relativo.rfind('/') + 1));
    bool talvezBanco = false;
    for (const char* banco : {ArquivoBancoCatalogo, ArquivoBancoAuxiliar}) {
        const std::string b = vb::UCase(banco);
        if (ultimo == b || ultimo == b + "-JOURNAL") talvezBanco = true;
    }
    if (!talvezBanco) return;
    const std::string destino = vb::UCase(CaminhoArquivoAtualizacao(pastaDados, nome, pastas));
    for (const char* banco : {ArquivoBancoCatalogo, ArquivoBancoAuxiliar}) {
        const std::string aberto = vb::UCase(CaminhoArquivoAtualizacao(pastaDados, banco, pastas));
        if (destino == aberto || destino == aberto + "-JOURNAL")
            vb::Raise(vb::err::PermissionDenied, "Permission denied: \"" + nome + "\" is a database the catalogue has open.");
    }
}

std::string ColocaArquivoAtualizacao(const std::string& pastaDados, const ArquivoAtualizacao& a,
                                     os::FolderNames& pastas, const std::function<void()>& eventos) {
    VerificaNomeArquivoAtualizacao(a.Nome);
    std::string destino = DestinoColocacao(pastaDados, a.Nome, pastas);
    if (EhArquivoCompactadoAtualizacao(a.Nome)) {
        cUnzip unzip;
        unzip.ZipFile(a.Local);
        unzip.UnzipFolder(ExtraiPastaArquivo(destino, false).ToString());
        unzip.OverwriteExisting(true);
        unzip.UseFolderNames(true);
        unzip.SetFolderNames(&pastas);
        // An archive of many files keeps the window alive between its entries.
        if (eventos) unzip.Cancel = [&eventos](const std::string&, bool&) { eventos(); };
        // The library's complaints name the entry and the reason: the error tells them.
        std::vector<std::string> problemas;
        unzip.Progress = [&problemas](std::int32_t, const std::string& linha) {
            const std::string texto = vb::Trim(linha);
            for (const char* inicio : {"skipping:", "error:", "caution:"})
                if (texto.rfind(inicio, 0) == 0) problemas.push_back(vb::Trim(texto.substr(std::strlen(inicio))));
        };
        if (!unzip.Unzip()) {
            std::string motivo;
            for (const std::string& p : problemas) motivo += (motivo.empty() ? ": " : "; ") + TextoUmaLinha(p, 200);
            vb::Raise(vb::err::PathFileAccessError, "The archive \"" + a.Nome + "\" could not be unpacked" + motivo + ".");
        }
        ApagaArquivo(a.Local);
        pastas.Removed(a.Local);
    } else {
        // A rename within the data folder replaces the old file in one step.
        std::error_code ec;
        fs::rename(a.Local, destino, ec);
        if ((ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory) && fs::exists(a.Local)) {
            // A folder of the path was taken away or renamed by another program since it was
            // found: looked for again on the file system, and made anew where it is gone.
            pastas.ForgetFolders();
            destino = DestinoColocacao(pastaDados, a.Nome, pastas);
            fs::rename(a.Local, destino, ec);
        }
        if (ec) vb::Raise(vb::err::PathFileAccessError, "Path/File access error: " + destino + " (" + ec.message() + ")");
        pastas.Removed(a.Local);
        pastas.Added(destino, false);
        if (a.Tipo == "EXE")
            fs::permissions(destino, fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                            fs::perm_options::add, ec);
    }
    return destino;
}

std::string ConsultaListaLancamentos() { return "SELECT CodigoProduto FROM PRODUTO WHERE FlagLancamento=1 ORDER BY 1"; }

std::vector<long> ObtemListaLancamentos(dao::Database& db) {
    std::vector<long> lista;
    dao::Recordset rs = db.OpenRecordset(ConsultaListaLancamentos(), dao::dbOpenForwardOnly);
    while (!rs.Eof()) {
        lista.push_back(rs.Fields(0).Value().ToLong());
        rs.MoveNext();
    }
    rs.Close();
    if (lista.empty()) lista.push_back(0);
    return lista;
}

bool ComparaListasLancamentos(const std::vector<long>& antes, const std::vector<long>& depois) {
    for (long codigo : depois)
        if (VerificaVetorValido(antes, codigo) < 0) return true;
    return false;
}

std::string MontaComandoVersao(int instalada, int disponivel, vb::Date momento) {
    return std::string("UPDATE UMREGISTRO SET ") + "Versao                    = " + std::to_string(disponivel) + "," +
           "VersaoAnterior            = " + std::to_string(instalada) + "," +
           "DataUltimaVerificacao     = " + FormataDataHoraSQL(momento) + "," + "FlagErroUltimaVerificacao = 0";
}

namespace {

// A download that a run left behind is at least this old by the next run. A younger file of
// the same form may be the result file of an update check that another computer is just
// finishing: its checker writes it into the data folder, its window reads it at the next poll.
constexpr auto IdadeDownloadAbandonado = std::chrono::minutes(2);

// The temporary downloads that earlier runs left in the data folder (killed, or cut by a power
// failure, before they could remove them), only while this program holds the update lock: no
// other computer's installation is running then. Only names of the form the runs give them
// go; a file that does not go stays as it is.
void ApagaDownloadsAbandonados() {
    if (!DetemBloqueioAtualizacao()) return;
    const auto limite = fs::file_time_type::clock::now() - IdadeDownloadAbandonado;
    std::error_code ec;
    for (fs::directory_iterator it(EstadoPrograma.CaminhoDados, ec), fim; !ec && it != fim; it.increment(ec)) {
        std::error_code e;
        if (!EhNomeArquivoUnico(it->path().filename().string(), "tmp") || !it->is_regular_file(e)) continue;
        const auto modificado = it->last_write_time(e);
        if (!e && modificado < limite) fs::remove(it->path(), e);
    }
}

// What one run holds, released on every way out.
class Instalacao {
public:
    Instalacao(int instalada, int disponivel, IProgressoAtualizacao& progresso)
        : instalada_(instalada), disponivel_(disponivel), progresso_(progresso) {}
    ~Instalacao() { Libera(); }

    void Executa(ResultadoAtualizacao& r) {
        ApagaDownloadsAbandonados();
        const std::vector<long> antes = ObtemListaLancamentos(EstadoPrograma.DbCatalogo);
        const EnderecoAtualizacao endereco = LeEndereco();
        AbreConexaoInternet(endereco.Servidor);
        conectado_ = true;
        std::string usuario, senha;
        LeConfiguracao("USUARIO_SENHA", usuario, senha);

        // Step 1: the version lists.
        r.Passo = 1;
        progresso_.IniciaPasso(1, disponivel_ - instalada_ + 1);
        std::vector<std::string> listas;
        for (int v = instalada_ + 1; v <= disponivel_; ++v) {
            listas.push_back(ExecutaRequisicaoHTTP("D", true, endereco.CaminhoBase + NomeListaVersao(v), true, "", "",
                                                   "", usuario, senha));
            progresso_.DefineFeito(1, static_cast<double>(listas.size()));
            progresso_.ProcessaEventos();
        }
        std::int64_t totalBytes = 0;
        for (const std::string& texto : listas) AcrescentaListaVersao(texto, tabela_, totalBytes);
        // Name after name (most of them without a look at the folders), the window kept alive
        // between them as between the blocks of a download.
        for (const ArquivoAtualizacao& a : tabela_) {
            if (a.Tipo != "SDB") VerificaDestinoLivre(EstadoPrograma.CaminhoDados, a.Nome, pastas_);
            progresso_.ProcessaEventos();
        }
        progresso_.TerminaPasso(1);

        // Step 2: every file to memory (scripts) or to a temporary file of its own; nothing
        // in the data folder is replaced before all of them have arrived.
        r.Passo = 2;
        progresso_.IniciaPasso(2, static_cast<double>(totalBytes));
        GanchoProgressoDownload anterior =
            DefineGanchoProgressoDownload([this](std::int32_t bytes) {
                recebidos_ += bytes;
                progresso_.AcrescentaFeito(2, bytes);
            });
        ganchoInstalado_ = true;
        ganchoAnterior_ = std::move(anterior);
        for (ArquivoAtualizacao& a : tabela_) {
            const std::string objeto = endereco.CaminhoBase + ComBarras(a.Nome);
            recebidos_ = 0;
            bool tamanhoAnunciado = false;
            if (a.Tipo == "SDB") {
                a.Local = ExecutaRequisicaoHTTP("D", true, objeto, true, "", "", "", usuario, senha, 0,
                                                &tamanhoAnunciado);
            } else {
                const std::string temporario = GeraNomeArquivoUnico("tmp");
                temporarios_.insert(temporario);
                ExecutaRequisicaoHTTP("D", true, objeto, false, temporario, "", "", usuario, senha, 0,
                                      &tamanhoAnunciado);
                a.Local = temporario;
            }
            if (!tamanhoAnunciado) VerificaTamanhoRecebido(a);
            progresso_.ProcessaEventos();
        }
        RestauraGancho();
        progresso_.TerminaPasso(2);
        FechaConexaoInternet();
        conectado_ = false;

        // Step 3: the files into place, their folders found afresh.
        r.Passo = 3;
        pastas_.ForgetFolders();
        progresso_.IniciaPasso(3, static_cast<double>(tabela_.size()));
        // The archives may not hold an open database either; looked at before any file moves.
        for (const ArquivoAtualizacao& a : tabela_)
            if (a.Tipo != "SDB" && EhArquivoCompactadoAtualizacao(a.Nome)) VerificaArquivoCompactado(a);
        double feito = 0;
        for (ArquivoAtualizacao& a : tabela_) {
            if (a.Tipo != "SDB") {
                const std::string destino = ColocaArquivo(a);
                if (a.Tipo == "EXE") r.ProgramaIniciar = destino;
            }
            progresso_.DefineFeito(3, ++feito);
            progresso_.ProcessaEventos();
        }
        progresso_.TerminaPasso(3);

        // Step 4: the scripts, one line after the other, then the version.
        r.Passo = 4;
        std::string juntos;
        for (const ArquivoAtualizacao& a : tabela_)
            if (a.Tipo == "SDB") juntos += "\r\n" + a.Local;
        tabela_.clear();
        const std::vector<std::string> linhas = vb::Split(juntos, "\r\n");
        progresso_.IniciaPasso(4, static_cast<double>(linhas.size()));
        AbreBancoCatalogo(ws_, NomeWsGravacao, db_, false);
        std::string modelo;
        for (std::size_t i = 1; i < linhas.size(); ++i) {
            ExecutaLinhaScript(ws_, db_, linhas[i], modelo);
            progresso_.DefineFeito(4, static_cast<double>(i));
            progresso_.ProcessaEventos();
        }
        GravaVersao();
        progresso_.TerminaPasso(4);

        r.NovosLancamentos = ComparaListasLancamentos(antes, ObtemListaLancamentos(EstadoPrograma.DbCatalogo));
        r.Sucesso = true;
    }

private:
    EnderecoAtualizacao LeEndereco() {
        dao::Recordset rs =
            EstadoPrograma.DbCatalogo.OpenRecordset(ConsultaEnderecoAtualizacao(), dao::dbOpenForwardOnly);
        if (rs.Eof()) vb::Raise(dao::jet::NoCurrentRecord, "No current record.");
        const std::string url = rs.Value("UrlAtualizacao").ToString();
        rs.Close();
        return LeEnderecoAtualizacao(url);
    }

    // A server that ends its reply by closing the connection gives no length to check
    // against: a connection cut there looks like a complete file. The list says how big the
    // file is; fewer bytes is a failed download, never a file to install. A reply that gave
    // its length was held to that instead, since the lists' sizes may be off either way.
    void VerificaTamanhoRecebido(const ArquivoAtualizacao& a) const {
        if (recebidos_ >= a.Tamanho) return;
        vb::Raise(vb::err::DeviceIOError, "Device I/O error: the download of \"" + TextoUmaLinha(a.Nome, 120) +
                                              "\" ended after " + std::to_string(recebidos_) + " of " +
                                              std::to_string(a.Tamanho) + " bytes.");
    }

    void VerificaArquivoCompactado(const ArquivoAtualizacao& a) {
        const std::string nome = ComBarras(a.Nome);
        const std::size_t barra = nome.rfind('/');
        const std::string pasta = barra == std::string::npos ? std::string() : nome.substr(0, barra + 1);
        cUnzip lista;
        lista.ZipFile(a.Local);
        lista.Directory();
        for (std::int32_t i = 1; i <= lista.FileCount(); ++i) {
            const std::string subpasta = lista.FileDirectory(i);
            VerificaDestinoLivre(EstadoPrograma.CaminhoDados,
                                 pasta + (subpasta.empty() ? std::string() : subpasta + "/") + lista.Filename(i), pastas_);
        }
    }

    std::string ColocaArquivo(const ArquivoAtualizacao& a) {
        const std::string destino =
            ColocaArquivoAtualizacao(EstadoPrograma.CaminhoDados, a, pastas_, [this] { progresso_.ProcessaEventos(); });
        temporarios_.erase(a.Local);
        return destino;
    }

    // The new version in one transaction; a failure is the run's failure, not a skipped line.
    // Under the update lock, whose transaction holds every write of this program, the update
    // reaches the disk only when that transaction commits: it does here, before the run is
    // reported, and a commit that fails is the run's failure with nothing of the scripts or
    // the version left.
    void GravaVersao() {
        ws_.BeginTrans();
        db_.Execute(MontaComandoVersao(instalada_, disponivel_, vb::Now()), dao::dbFailOnError);
        if (db_.RecordsAffected() < 1)
            vb::Raise(dao::jet::NoCurrentRecord, "UMREGISTRO has no record: the new version was not recorded.");
        ws_.CommitTrans(dao::dbForceOSFlush);
        FechaBanco(ws_, db_);
        EfetivaGravacoesBloqueio();
        dao::DBEngine().Idle(dao::dbRefreshCache);
        progresso_.ProcessaEventos();
        dao::DBEngine().Idle(dao::dbRefreshCache);
        progresso_.ProcessaEventos();
    }

    void RestauraGancho() {
        if (!ganchoInstalado_) return;
        DefineGanchoProgressoDownload(std::move(ganchoAnterior_));
        ganchoInstalado_ = false;
    }

    void Libera() noexcept {
        RestauraGancho();
        if (conectado_) FechaConexaoInternet();
        conectado_ = false;
        try {
            if (!ws_.IsNothing() && ws_.IsOpen()) {
                while (ws_.TransactionLevel() > 0) ws_.Rollback();
                FechaBanco(ws_, db_);
            }
        } catch (const std::exception&) {
        }
        ws_ = {};
        db_ = {};
        for (const std::string& t : temporarios_) {
            std::error_code ec;
            fs::remove(t, ec);
        }
        temporarios_.clear();
    }

    int instalada_, disponivel_;
    IProgressoAtualizacao& progresso_;
    std::vector<ArquivoAtualizacao> tabela_;
    std::unordered_set<std::string> temporarios_;
    // The names in the data folder's folders, read once for the run and kept current as files
    // are put in place: thousands of names into a folder of thousands of files.
    os::FolderNames pastas_;
    bool conectado_ = false;
    bool ganchoInstalado_ = false;
    std::int64_t recebidos_ = 0;   // bytes of the entry now downloading
    GanchoProgressoDownload ganchoAnterior_;
    dao::Workspace ws_;
    dao::Database db_;
};

}  // namespace

ResultadoAtualizacao InstalaAtualizacao(int instalada, int disponivel, IProgressoAtualizacao& progresso) {
    ResultadoAtualizacao r;
    Instalacao instalacao(instalada, disponivel, progresso);
    try {
        instalacao.Executa(r);
    } catch (const vb::Error& e) {
        r.Sucesso = false;
        r.NumeroErro = e.Number();
        r.DescricaoErro = e.Description();
    } catch (const std::exception& e) {
        r.Sucesso = false;
        r.NumeroErro = vb::err::PathFileAccessError;
        r.DescricaoErro = e.what();
    }
    if (!r.Sucesso) r.ProgramaIniciar.clear();
    return r;
}
