// The update check: the checker program runs as a process of its own, polled every 500 ms,
// so the window never blocks; its one-line result file decides whether to offer an update,
// which is installed under the network-wide lock after a second check.
#include "catalog/main_window/frmZornak.h"
#include "catalog/main_window/frmZornak_atualizacao.h"

#include "catalog/startup/Modulo.h"
#include "common/modTraducao.h"
#include "platform/forms/Events.h"
#include "platform/forms/Form.h"
#include "platform/os/Process.h"
#include "platform/vb/Err.h"
#include "platform/vb/MsgBox.h"
#include "platform/vb/Strings.h"
#include "platform/vb/Text.h"

#include <cmath>
#include <exception>

#include <unistd.h>

namespace frmZornakAtualizacao {

const char* const ProgramaVerificador = "VerifAtualizCatalogoZORNAK";

namespace {

// Quoted for the platform's command-line split: a literal quote inside is written three times.
std::string Aspas(const std::string& texto) {
    std::string resultado = "\"";
    for (char c : texto) {
        if (c == '"') resultado += "\"\"\"";
        else resultado += c;
    }
    return resultado + "\"";
}

// Empty: the window's own auxiliary window.
InstalacaoAtualizacao& Instalacao() {
    static InstalacaoAtualizacao instalacao;
    return instalacao;
}

}  // namespace

std::string MontaLinhaComandoVerificador(const std::string& pastaPrograma, bool automatica,
                                         const std::string& arquivoResultado) {
    const std::string argumento = std::string(automatica ? "1" : "0") + "|" + arquivoResultado;
    const bool inteiro = argumento.find_first_of(" \t\"") == std::string::npos;
    return Aspas(pastaPrograma + ProgramaVerificador) + " " + (inteiro ? argumento : Aspas(argumento));
}

VersoesVerificadas InterpretaResultadoVerificacao(std::string texto) {
    // The checker writes no line end; a file that has one still holds the same line.
    while (!texto.empty() && (texto.back() == '\r' || texto.back() == '\n')) texto.pop_back();
    // The checker's failure goes into the error box: one line, never a page.
    if (vb::Left(texto, 1) == "0") vb::Raise(-2, TextoUmaLinha(vb::Mid(texto, 2), 400));
    const std::vector<std::string> campos = vb::Split(vb::Mid(texto, 2), "|");
    VersoesVerificadas versoes;
    if (campos.empty()) vb::Raise(vb::err::SubscriptOutOfRange);
    versoes.instalada = vb::CInt(campos[0]);
    if (campos.size() < 2) vb::Raise(vb::err::SubscriptOutOfRange);
    versoes.ultima = vb::CInt(campos[1]);
    return versoes;
}

std::string LeResultadoVerificacao(const std::string& arquivo) {
    std::string bytes = LeBytesArquivo(arquivo, 4096);
    while (!bytes.empty() && (bytes.back() == '\r' || bytes.back() == '\n')) bytes.pop_back();
    return vb::DecodeServerText(bytes);
}

bool VerificacaoAutomaticaDevida(vb::Date ultimaVerificacao, vb::Date agora) {
    if (ultimaVerificacao == 1.0) return true;
    // In whole seconds, so that exactly 15 minutes later counts as due.
    return std::llround((agora - ultimaVerificacao) * 86400.0) >= 15 * 60;
}

InstalacaoAtualizacao DefineInstalacaoAtualizacao(InstalacaoAtualizacao instalacao) {
    InstalacaoAtualizacao anterior = std::move(Instalacao());
    Instalacao() = std::move(instalacao);
    return anterior;
}

}  // namespace frmZornakAtualizacao

using namespace frmZornakAtualizacao;

namespace {

// The result file named by the poll timer's Tag ("1", the mode digit, the path), or "" when
// the Tag names none (a start that failed).
std::string ArquivoDaTag(const std::string& tag) {
    if (tag.size() < 3 || tag[0] != '1') return {};
    return tag.substr(2);
}

// The result file is this program's own: it goes whatever its permissions, and no failure
// of its removal stops the check's wind-up.
void RemoveArquivoResultado(const std::string& arquivo) {
    if (!arquivo.empty()) ::unlink(arquivo.c_str());
}

// The checker's line from its result file. A file that cannot be read, or that the checker
// left empty, is reported with the file and the reason (the checker's exit code carries
// the system's reason when it could not write), never as a line without fields.
std::string LeLinhaResultado(const std::string& arquivo, long codigoSaida) {
    const std::string texto = LeResultadoVerificacao(arquivo);
    if (!texto.empty()) return texto;
    if (const int erro = ErroSistemaDoCodigoSaida(codigoSaida)) LevantaErroArquivo(erro, arquivo, vb::err::DeviceIOError);
    vb::Raise(vb::err::InputPastEndOfFile, vb::DefaultDescription(vb::err::InputPastEndOfFile) + ": " + arquivo);
}

}  // namespace

void frmZornakForm::CriaTemporizadoresVerificacao() {
    // The first automatic tick 20 s after the window loads, then the largest interval.
    tmrVerificarAtualizacoes = NewTimer("tmrVerificarAtualizacoes", 20000, true);
    tmrVerificarAtualizacoes->TimerEvent = [this] { tmrVerificarAtualizacoes_Timer(); };
    tmrVerificaProcessoVerificacao = NewTimer("tmrVerificaProcessoVerificacao", 500, false);
    tmrVerificaProcessoVerificacao->TimerEvent = [this] { tmrVerificaProcessoVerificacao_Timer(); };
}

void frmZornakForm::IniciaVerificacaoAtualizacoes(bool bAutomatica) {
    vb::DoEvents();
    if (m_VerificandoAtualizacao) return;
    m_VerificandoAtualizacao = true;
    m_FalhaArquivoResultado = false;
    std::string arquivo;
    try {
        // The result file lies in the temporary folder under a name of letters and digits: the
        // checker can write it whatever the data folder's state, and its path never holds the
        // "|" that parts the checker's command line. Made here, so that a folder that refuses
        // it is reported as such.
        try {
            arquivo = CriaArquivoTemporarioUnico("tmp");
        } catch (const vb::Error&) {
            m_FalhaArquivoResultado = true;
            throw;
        }
        const std::string linha = MontaLinhaComandoVerificador(ObtemCaminhoAplicacao(true), bAutomatica, arquivo);
        m_ProcessoVerificacao = os::Shell(linha, 1);
        tmrVerificaProcessoVerificacao->SetTag(std::string("1") + (bAutomatica ? "1" : "0") + arquivo);
    } catch (const vb::Error& e) {
        RemoveArquivoResultado(arquivo);
        tmrVerificaProcessoVerificacao->SetTag("0" + std::to_string(e.Number()) + " " + e.Description());
    } catch (const std::exception& e) {
        RemoveArquivoResultado(arquivo);
        tmrVerificaProcessoVerificacao->SetTag("051 Internal error: " + std::string(e.what()));
    }
    // The poll reports a start that failed at its first tick.
    tmrVerificaProcessoVerificacao->SetEnabled(true);
}

void frmZornakForm::tmrVerificaProcessoVerificacao_Timer() {
    long numero = 0;
    std::string descricao;
    bool automatica = false, instala = false, lancamentos = false, falhaArquivo = false;
    const std::string tag = tmrVerificaProcessoVerificacao->Tag();
    if (tag.empty()) {
        // No check is running (one that was ended leaves no Tag): nothing to wait for.
        tmrVerificaProcessoVerificacao->SetEnabled(false);
        return;
    }
    try {
        if (vb::Left(tag, 1) == "0") {
            falhaArquivo = m_FalhaArquivoResultado;
            vb::Raise(-1, vb::Mid(tag, 2));
        }
        long codigo = 0;
        // A process that cannot be asked counts as ended.
        if (!os::GetExitCodeProcess(m_ProcessoVerificacao, codigo)) codigo = 0;
        if (codigo == os::STILL_ACTIVE) return;

        tmrVerificaProcessoVerificacao->SetEnabled(false);
        automatica = tag.size() > 1 && tag[1] == '1';
        const std::string arquivo = ArquivoDaTag(tag);
        // The line is short; more than a few kilobytes is not the checker's line and is not read.
        std::string texto;
        try {
            texto = LeLinhaResultado(arquivo, codigo);
        } catch (const vb::Error&) {
            falhaArquivo = true;
            throw;
        }
        const VersoesVerificadas versoes = InterpretaResultadoVerificacao(texto);
        const bool segundaPassagem = lblUltimaAtualizacao->Tag() == "1";

        if (versoes.ultima <= versoes.instalada) {
            if (!automatica) vb::MsgBox(Traduz(67) + ".", vb::vbInformation, Traduz(0));
        } else if (automatica || !segundaPassagem) {
            instala = vb::MsgBox(Traduz(66), vb::vbYesNo | vb::vbQuestion | vb::vbDefaultButton2, Traduz(0)) == vb::vbYes;
        } else {
            instala = true;
        }

        if (instala && !m_BloqueioAtualizacao) {
            m_BloqueioAtualizacao = BloqueiaAtualizacao(true);
            if (m_BloqueioAtualizacao) {
                // The second pass asks the server again under the lock; it ends in the wind-up.
                RemoveArquivoResultado(arquivo);
                IgnoraFalha([this] { os::TerminateProcess(m_ProcessoVerificacao); });
                m_ProcessoVerificacao = 0;
                lblUltimaAtualizacao->SetTag("1");
                m_VerificandoAtualizacao = false;
                IniciaVerificacaoAtualizacoes(false);
                return;
            }
            vb::MsgBox(Traduz(68) + ".", vb::vbInformation, Traduz(0));
            instala = false;
        }

        if (instala) {
            if (vb::Form* auxiliar = vb::FindLoadedForm("frmZornak2")) {
                auxiliar->Unload();
                vb::DoEvents();
            }
            // Installed first, then the version to install.
            const std::string parametros = std::to_string(versoes.instalada) + "|" + std::to_string(versoes.ultima);
            m_InstalandoAtualizacao = true;
            struct Fim {
                bool& f;
                ~Fim() { f = false; }
            } fim{m_InstalandoAtualizacao};
            if (Instalacao()) Instalacao()(parametros);
            else AbreTelaAuxiliar(6, parametros);
            lancamentos = EstadoPrograma.RequisicaoTela == "11";
            EstadoPrograma.RequisicaoTela.clear();
        }
    } catch (const vb::Error& e) {
        numero = e.Number();
        descricao = e.Description();
    } catch (const std::exception& e) {
        numero = 51;
        descricao = std::string("Internal error: ") + e.what();
    }

    // Wind-up: every step runs whatever the one before did, so the lock is always released
    // and the running flag always cleared.
    IgnoraFalha([this] { lblUltimaAtualizacao->SetTag(""); });
    IgnoraFalha([this] {
        if (tmrVerificaProcessoVerificacao->Enabled()) tmrVerificaProcessoVerificacao->SetEnabled(false);
    });
    // Only a Tag of a started checker names a file.
    RemoveArquivoResultado(ArquivoDaTag(tag));
    IgnoraFalha([this] {
        if (m_ProcessoVerificacao != 0) os::TerminateProcess(m_ProcessoVerificacao);
    });
    m_ProcessoVerificacao = 0;
    const vb::Date momento = vb::Now();
    bool registrada = false;
    IgnoraFalha([&] {
        GravaUltimaVerificacao(FormataDataHoraSQL(momento), numero == 0 ? "0" : "1");
        registrada = true;
    });
    IgnoraFalha([this] { AtualizaUltimaAtualizacao(true); });
    // Another computer installing an update holds the catalogue: the record waits for this
    // program's next check, and the scheduler counts from this one meanwhile, so the user is
    // not asked again at every tick.
    if (!registrada) m_UltimaVerificacao = momento;
    LiberaBloqueioAtualizacao();
    m_VerificandoAtualizacao = false;

    // An installation that failed is shown like any other failure, never passed over.
    if (instala && numero == 0) {
        IgnoraFalha([&] {
            if (EstadoPrograma.ReiniciarAposAtualizacao) Unload();
            else VaiParaTela("", lancamentos ? 5 : 0);
        });
    } else if (numero != 0 && !automatica) {
        // A result file that could not be had is no matter of the Internet: the box names
        // the file and the reason alone.
        IgnoraFalha([&] {
            if (falhaArquivo) MostraErro(numero, Traduz(69) + "\r\n\r\n" + descricao);
            else MostraErro(numero, Traduz(69) + "\r\n\r\n" + vb::UCase(Traduz(44)) + ": " + Traduz(70) + "\r\n\r\n" + descricao);
        });
    }
    // The system asked to end while the update was being installed: now it may.
    if (m_EncerramentoPendente && IsLoaded()) EncerraPeloSistema();
}

// The release commits what was written under the lock since the installation committed its
// own (the last check). It fails while another computer is reading the catalogue; the lock
// and those writes then stay, and the release is tried again on the next tick and at unload.
// A release whose commit the engine rolled back has no lock left to try again.
void frmZornakForm::LiberaBloqueioAtualizacao() {
    if (!m_BloqueioAtualizacao) return;
    try {
        BloqueiaAtualizacao(false);
        m_BloqueioAtualizacao = false;
    } catch (const std::exception&) {
        if (EstadoPrograma.WsBloqueio.IsNothing()) m_BloqueioAtualizacao = false;
    }
}

void frmZornakForm::tmrVerificarAtualizacoes_Timer() {
    if (tmrVerificarAtualizacoes->Interval() != 65535) tmrVerificarAtualizacoes->SetInterval(65535);
    // A release that failed is tried again; but a lock just taken for the install pass that
    // is about to start (the Tag says so) is that pass's, not a leftover.
    if (m_BloqueioAtualizacao && !m_VerificandoAtualizacao && lblUltimaAtualizacao->Tag() != "1")
        LiberaBloqueioAtualizacao();
    if (++m_TicksVerificacao > 2) {
        m_TicksVerificacao = 0;
        // About every 3 minutes: shows checks and updates made by other computers too. A
        // catalogue that cannot be read now leaves the texts as they were.
        if (!m_BloqueioAtualizacao) IgnoraFalha([this] { AtualizaUltimaAtualizacao(false); });
    }
    // Nor while the lock is held: between the two passes of a check the running flag is
    // briefly clear, and an automatic start there would make the second pass ask again.
    if (EstadoPrograma.VerificacaoAutomatica && !m_VerificandoAtualizacao && !m_BloqueioAtualizacao &&
        VerificacaoAutomaticaDevida(m_UltimaVerificacao, vb::Now()))
        IniciaVerificacaoAtualizacoes(true);
}

void frmZornakForm::AtualizaUltimaAtualizacao(bool bAtualizaData) {
    dao::Recordset rs = EstadoPrograma.DbCatalogo.OpenRecordset(consultas::DatasCatalogo(), dao::dbOpenForwardOnly);
    try {
        const vb::Variant ultima = rs.Value("DataUltimaVerificacao");
        if (bAtualizaData) m_UltimaVerificacao = ultima.IsNull() ? 1.0 : ultima.ToDate();
        const vb::Variant complemento = rs.Value("ComplementoDataEmissao");
        EstadoPrograma.DataEmissaoTexto =
            FormataData(rs.Value("DataEmissao").ToDate()) + ObtemValorCampo(complemento, "").ToString();
        const std::string emissao = vb::UCase(Traduz(77)) + ": " + EstadoPrograma.DataEmissaoTexto;
        lblUltimaAtualizacao->SetCaption(emissao);
        lblUltimaAtualizacao->SetToolTipText(emissao);

        std::string linha;
        if (!ultima.IsNull()) {
            const vb::Variant flag = rs.Value("FlagErroUltimaVerificacao");
            const bool erro = !flag.IsNull() && flag.ToDouble() == 1;
            linha = Traduz(erro ? 71 : 78) + ": " + FormataDataHora(ultima.ToDate());
        }
        lblVerificarAtualizacoes->SetToolTipText(Traduz(79) + " <F5>  -  " + linha);
    } catch (...) {
        IgnoraFalha([&] { rs.Close(); });
        throw;
    }
    rs.Close();
}

bool frmZornakForm::VerificacaoAtualizacoesEmAndamento() const {
    return m_VerificandoAtualizacao || m_BloqueioAtualizacao || m_ProcessoVerificacao != 0 ||
           (tmrVerificaProcessoVerificacao && tmrVerificaProcessoVerificacao->Enabled());
}

void frmZornakForm::EncerraVerificacaoAtualizacoes() {
    // The checker goes before its file, so that it cannot write the file again afterwards.
    if (tmrVerificaProcessoVerificacao) {
        IgnoraFalha([this] { tmrVerificaProcessoVerificacao->SetEnabled(false); });
    }
    IgnoraFalha([this] {
        if (m_ProcessoVerificacao != 0) os::TerminateProcess(m_ProcessoVerificacao);
    });
    m_ProcessoVerificacao = 0;
    if (tmrVerificaProcessoVerificacao) {
        RemoveArquivoResultado(ArquivoDaTag(tmrVerificaProcessoVerificacao->Tag()));
        tmrVerificaProcessoVerificacao->SetTag("");
    }
    if (lblUltimaAtualizacao) IgnoraFalha([this] { lblUltimaAtualizacao->SetTag(""); });
    LiberaBloqueioAtualizacao();
    m_VerificandoAtualizacao = false;
}
