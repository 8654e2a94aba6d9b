#include "catalog/services/mUnzip.h"

#include "platform/vb/DateTime.h"
#include "platform/vb/Err.h"
#include "platform/vb/Strings.h"

#include <algorithm>
#include <cstring>
#include <limits>

TEstadoUnzip EstadoUnzip;

namespace {

std::string TextoAteNulo(const char* texto, std::size_t maximo) {
    if (!texto) return {};
    return std::string(texto, strnlen(texto, maximo));
}

constexpr std::size_t kSemLimite = std::numeric_limits<std::size_t>::max();

// The callbacks: errors raised inside them or inside an event handler are ignored, so the
// library always goes on.

int CallbackImpressao(const char* texto, unsigned long tamanho) {
    if (tamanho > 1 && tamanho < 1024 && EstadoUnzip.DonoUnzip) {
        try {
            EstadoUnzip.DonoUnzip->ReportMessage(TextoAteNulo(texto, tamanho));
        } catch (...) {
        }
    }
    return 0;
}

int CallbackSubstituicao(const char* arquivo) {
    std::int32_t resposta = uz::UZ_REPLACE_NO;
    if (EstadoUnzip.DonoUnzip) {
        try {
            EstadoUnzip.DonoUnzip->AskOverwrite(TextoAteNulo(arquivo, kSemLimite), resposta);
        } catch (...) {
        }
    }
    return resposta;
}

int CallbackSenha(char* buffer, int tamanho, const char* /*prompt*/, const char* /*entrada*/) {
    if (EstadoUnzip.CancelaUnzip) return 1;
    std::string senha;
    bool cancela = false;
    if (EstadoUnzip.DonoUnzip) {
        try {
            EstadoUnzip.DonoUnzip->AskPassword(senha, cancela);
        } catch (...) {
        }
    }
    senha = vb::Trim(senha);
    if (senha.empty() || cancela || !buffer || tamanho < 2) {
        EstadoUnzip.CancelaUnzip = 1;
        return 1;
    }
    const std::size_t n = std::min({senha.size(), std::size_t{254}, static_cast<std::size_t>(tamanho - 1)});
    std::memcpy(buffer, senha.data(), n);
    buffer[n] = '\0';
    return 0;
}

void CallbackEntrada(unsigned long tamanho, unsigned long /*compactado*/, unsigned fator,
                     unsigned mes, unsigned dia, unsigned ano, unsigned hora, unsigned minuto,
                     char /*marca*/, const char* nome, const char* metodo, unsigned long crc,
                     char criptografia) {
    if (!EstadoUnzip.DonoUnzip) return;
    try {
        const std::string completo = TextoAteNulo(nome, kSemLimite);
        const std::size_t barra = completo.find_last_of("/\\");
        const std::string pasta = barra == std::string::npos ? std::string() : completo.substr(0, barra);
        const std::string arquivo = barra == std::string::npos ? completo : completo.substr(barra + 1);
        // Folder entries ("DOCS/") have no name of their own.
        if (arquivo.empty()) return;
        const vb::Date data = vb::DateSerial(static_cast<long>(ano), static_cast<long>(mes), static_cast<long>(dia)) +
                              vb::TimeSerial(static_cast<long>(hora), static_cast<long>(minuto), 0);
        const auto tamanho32 = static_cast<std::int32_t>(
            std::min<unsigned long>(tamanho, static_cast<unsigned long>(std::numeric_limits<std::int32_t>::max())));
        EstadoUnzip.DonoUnzip->AddDirectoryEntry(arquivo, pasta, data, tamanho32,
                                                 static_cast<std::uint32_t>(crc),
                                                 (static_cast<unsigned char>(criptografia) & 64) != 0,
                                                 static_cast<std::int32_t>(fator),
                                                 TextoAteNulo(metodo, kSemLimite));
    } catch (...) {
    }
}

int CallbackServico(const char* nome, unsigned long tamanho) {
    if (!(tamanho > 1 && tamanho < 1024) || !EstadoUnzip.DonoUnzip) return 0;
    bool cancela = false;
    try {
        EstadoUnzip.DonoUnzip->ReportProgress(TextoAteNulo(nome, tamanho), cancela);
    } catch (...) {
    }
    return cancela ? 1 : 0;
}

// The library's name list: the names, then an empty text as terminator.
std::vector<const char*> ListaNomes(std::int32_t quantidade, const std::vector<std::string>& nomes) {
    if (quantidade < 0 || static_cast<std::size_t>(quantidade) > MaximoNomesUnzip ||
        static_cast<std::size_t>(quantidade) > nomes.size())
        vb::Raise(vb::err::SubscriptOutOfRange);
    std::vector<const char*> lista;
    lista.reserve(static_cast<std::size_t>(quantidade) + 1);
    for (std::int32_t i = 0; i < quantidade; ++i) lista.push_back(nomes[static_cast<std::size_t>(i)].c_str());
    lista.push_back("");
    return lista;
}

// A file the run could not write ended it: the caller hears which file and why, as the
// runtime reports a failed write of its own.
[[noreturn]] void LevantaFalhaEscrita(int erroSistema, const std::string& mensagem) {
    const long numero = vb::FileErrorNumber(erroSistema, vb::err::DeviceIOError);
    vb::Raise(numero, vb::DefaultDescription(numero) + ": " + mensagem);
}

}  // namespace

std::int32_t RunUnzip(cUnzip& owner, uz::DCL& options, std::int32_t includeCount,
                      const std::vector<std::string>& includeNames, std::int32_t excludeCount,
                      const std::vector<std::string>& excludeNames) {
    EstadoUnzip.DonoUnzip = &owner;
    std::int32_t codigo = 0;
    int falhaSistema = 0;
    std::string falha;
    try {
        uz::USERFUNCTIONS funcoes;
        funcoes.Print = CallbackImpressao;
        funcoes.Sound = nullptr;
        funcoes.Replace = CallbackSubstituicao;
        funcoes.Password = CallbackSenha;
        funcoes.DirectoryEntry = CallbackEntrada;
        funcoes.Service = CallbackServico;
        const std::vector<const char*> incluidos = ListaNomes(includeCount, includeNames);
        const std::vector<const char*> excluidos = ListaNomes(excludeCount, excludeNames);
        EstadoUnzip.CancelaUnzip = 0;
        codigo = uz::Wiz_SingleEntryUnzip(includeCount, incluidos.data(), excludeCount,
                                          excluidos.data(), options, funcoes);
        falhaSistema = funcoes.SystemError;
        falha = funcoes.ErrorMessage;
    } catch (...) {
        EstadoUnzip.DonoUnzip = nullptr;
        throw;
    }
    // The object may go as soon as its run is over; no callback comes outside a run.
    EstadoUnzip.DonoUnzip = nullptr;
    if (!falha.empty()) LevantaFalhaEscrita(falhaSistema, falha);
    return codigo;
}
