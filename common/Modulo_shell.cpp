// Folders, started programs, the browser, help and mail programs, and text shaping.
#include "common/Modulo.h"

#include "common/modTraducao.h"
#include "platform/forms/Screen.h"
#include "platform/os/Desktop.h"
#include "platform/os/Folders.h"
#include "platform/os/Process.h"
#include "platform/vb/Err.h"
#include "platform/vb/Strings.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace {

// Names that come from the catalogue or the update server may use "\". Byte by byte: the
// data folder's name in front of them need not be UTF-8.
std::string ComBarras(std::string caminho) {
    std::replace(caminho.begin(), caminho.end(), '\\', '/');
    return caminho;
}

bool EhLetraDeUnidade(const std::string& parte) {
    return parte.size() >= 2 && std::isalpha(static_cast<unsigned char>(parte[0])) &&
           parte[1] == ':';
}

[[noreturn]] void RecusaNome(const std::string& nome, const std::string& motivo) {
    vb::Raise(vb::err::BadFileNameOrNumber, "Bad file name or number: \"" + nome + "\" " + motivo);
}

// A name from the update server stays below the folder it is meant for: no "..", no drive.
void VerificaPartes(const std::string& nome, const std::vector<std::string>& partes) {
    // The system ends a name at a NUL: "..<NUL>x" would pass as a name and open as "..".
    if (nome.find('\0') != std::string::npos) RecusaNome(nome, "holds a NUL character");
    for (std::size_t i = 0; i < partes.size(); ++i) {
        if (partes[i] == "..") RecusaNome(nome, "goes up out of its folder");
        if (i == 0 && EhLetraDeUnidade(partes[i])) RecusaNome(nome, "names a drive");
    }
}

// The existing entry of that name in the folder, compared without case; "" when none.
std::string NomeSemCaixa(const std::string& pasta, const std::string& nome) {
    std::error_code ec;
    std::filesystem::directory_iterator it(pasta.empty() ? "." : pasta, ec);
    if (ec) return {};
    const std::string procurado = vb::UCase(nome);
    for (const auto& entrada : it) {
        const std::string candidato = entrada.path().filename().string();
        if (vb::UCase(candidato) == procurado && entrada.is_directory(ec)) return candidato;
    }
    return {};
}

bool EhCaractereBranco(char c) { return c == 7 || c == 9 || c == 10 || c == 13 || c == 32; }

}  // namespace

bool PastaExiste(const std::string& caminho) {
    if (caminho.empty()) return false;
    std::error_code ec;
    return std::filesystem::exists(caminho, ec);
}

void CriaPasta(const std::string& base, const std::string& relativo, bool ultimoEhArquivo) {
    const std::string nome = ComBarras(relativo);
    if (!nome.empty() && nome[0] == '/') RecusaNome(relativo, "is not relative to its folder");
    const std::vector<std::string> partes = vb::Split(nome, "/");
    VerificaPartes(relativo, partes);

    std::string atual = base;
    if (!atual.empty() && atual.back() != '/') atual += '/';
    const std::size_t criar = ultimoEhArquivo && !partes.empty() ? partes.size() - 1 : partes.size();
    for (std::size_t i = 0; i < criar; ++i) {
        std::string parte = partes[i];
        if (parte.empty() || parte == ".") continue;   // "a//b", "./a": no folder of their own
        if (!PastaExiste(atual + parte)) {
            const std::string existente = NomeSemCaixa(atual, parte);
            if (!existente.empty()) {
                parte = existente;
            } else {
                std::error_code ec;
                std::filesystem::create_directory(atual + parte, ec);
                if (ec)
                    vb::Raise(vb::err::PathFileAccessError,
                              "Path/File access error: " + atual + parte + " (" + ec.message() + ")");
            }
        }
        atual += parte + "/";
    }
}

void ExecutaEAguarda(const std::string& linhaComando, long estiloJanela) {
    const long processo = os::Shell(linhaComando, static_cast<int>(estiloJanela));
    os::WaitForProcess(processo);
    os::TerminateProcess(processo);   // it has ended: this only lets it go
}

bool AbreNavegador(const std::string& endereco) {
    // 31 is the code the system gave when no program was associated with web pages (the
    // helper's 3); a program that was found and failed gave its own code, with message (2).
    const std::string verifique = " You should check that your browser is correctly installed.";
    bool aberto = false;
    vb::Screen().SetMousePointer(vb::vbHourglass);
    try {
        aberto = os::OpenUrl(endereco, [verifique](int codigo) {
            if (codigo == 3) MostraErro(31, "(1)" + verifique);
            else MostraErro(codigo, "(2)" + verifique);
        });
        if (!aberto) MostraErro(31, "(1)" + verifique);
    } catch (const vb::Error& e) {
        MostraErro(e.Number(), e.Description());
        aberto = false;
    }
    vb::Screen().SetMousePointer(vb::vbDefault);
    return aberto;
}

long TopicoAjuda(std::uint8_t codigo, bool auxiliar, bool lista) {
    if (auxiliar) {
        switch (codigo) {
        case 2: return 10010;
        case 3: return 10002;
        case 5: return 10011;
        default: return 0;
        }
    }
    switch (codigo) {
    case 0: return 10002;
    case 1: return 10003;
    case 2: return 10004;
    case 3: return lista ? 10008 : 10009;
    case 4: return 10006;
    case 5: return 10005;
    default: return 0;
    }
}

void AbreAjuda(std::uint8_t codigo, bool auxiliar, bool lista) {
    try {
        const std::string arquivo =
            EstadoPrograma.CaminhoDados + "AjudaCatalogoZORNAK_" + EstadoPrograma.Idioma + ".chm";
        if (!ExisteArquivo(arquivo))
            vb::Raise(-7, "Arquivo de Ajuda \"" + arquivo + "\" não encontrado.");
        // The desktop's viewers of these files take no topic number: the file opens at
        // its own first page.
        (void)TopicoAjuda(codigo, auxiliar, lista);
        // The number stays the missing library's; the words say which helper failed and why.
        std::string motivo;
        const bool aberto = os::OpenDocument(
            arquivo,
            [arquivo](int codigo) {
                MostraErro(vb::err::FileNotFoundDll,
                           os::HelperFailureText("xdg-open", codigo) + " (\"" + arquivo + "\")");
            },
            &motivo);
        if (!aberto) vb::Raise(vb::err::FileNotFoundDll, motivo + " (\"" + arquivo + "\")");
    } catch (const vb::Error& e) {
        MostraErro(e.Number(), e.Description());
    }
}

void EnviaEmail(const std::string& caminhos, const std::string& separador) {
    std::vector<std::string> arquivos;
    for (const std::string& caminho : vb::Split(caminhos, separador))
        if (!caminho.empty()) arquivos.push_back(caminho);
    // A failure that comes after the call can no longer reach the caller: it gets the box the
    // caller shows for the others.
    os::SendMailWithAttachments(arquivos, [](int codigo) {
        MostraErro(vb::err::FileNotFoundDll, os::HelperFailureText("xdg-email", codigo));
    });
}

std::string ObtemPastaDesktop(bool barraFinal) {
    std::string pasta = os::DesktopFolder();
    if (vb::Trim(pasta).empty()) return ObtemCaminhoAplicacao(barraFinal);
    if (barraFinal && pasta.back() != '/') pasta += '/';
    return pasta;
}

std::string FormataDataHoraSQL(vb::Date momento) {
    // The date serial 1 stands for "now".
    const vb::Date d = momento == 1.0 ? vb::Now() : momento;
    return "DateSerial(" + std::to_string(vb::Year(d)) + "," + std::to_string(vb::Month(d)) + "," +
           std::to_string(vb::Day(d)) + ")+TimeSerial(" + std::to_string(vb::Hour(d)) + "," +
           std::to_string(vb::Minute(d)) + "," + std::to_string(vb::Second(d)) + ")";
}

std::string FormataCampoLargura(const vb::Variant& valor, int largura,
                                const std::string& alinhamento) {
    // A Null field is an empty column, so the columns after it stay in place.
    const std::string texto = vb::Trim(valor.IsNull() ? std::string() : valor.ToString());
    const bool esquerda = vb::UCase(vb::Trim(alinhamento)) == "D";
    const long tamanho = vb::Len(texto);
    if (tamanho < largura) {
        const std::string brancos = vb::Space(largura - tamanho);
        return esquerda ? texto + brancos : brancos + texto;
    }
    return esquerda ? vb::Left(texto, largura) : vb::Right(texto, largura);
}

std::string TiraBrancosEsquerda(const std::string& texto) {
    std::size_t inicio = 0;
    while (inicio < texto.size() && EhCaractereBranco(texto[inicio])) ++inicio;
    return texto.substr(inicio);
}

std::string TiraBrancosDireita(const std::string& texto) {
    std::size_t fim = texto.size();
    while (fim > 0 && EhCaractereBranco(texto[fim - 1])) --fim;
    return texto.substr(0, fim);
}

std::string TiraBrancos(const std::string& texto) {
    return TiraBrancosEsquerda(TiraBrancosDireita(texto));
}

std::string TextoUmaLinha(const std::string& texto, std::size_t maximo) {
    std::string linha;
    bool cortado = false;
    for (std::size_t i = 0; i < texto.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(texto[i]);
        if (c < 0x20 || c == 0x7F) {
            // Line ends, tabs and other control characters are one blank between words.
            if (!linha.empty() && linha.back() != ' ') linha += ' ';
            continue;
        }
        // Whole characters only: a UTF-8 sequence is never cut in two.
        std::size_t n = 1;
        if (c >= 0xF0) n = 4;
        else if (c >= 0xE0) n = 3;
        else if (c >= 0xC0) n = 2;
        if (linha.size() + n > maximo) {
            cortado = true;
            break;
        }
        linha.append(texto, i, n);
        i += n - 1;
    }
    while (!linha.empty() && linha.back() == ' ') linha.pop_back();
    return cortado ? linha + "..." : linha;
}

std::string FormataDataCompacta(const std::string& compacta, bool curta) {
    if (vb::Trim(compacta).empty()) return {};
    const std::string ano = vb::Mid(compacta, 1, 2);
    const std::string mesTexto = vb::Mid(compacta, 3, 2);
    const std::string dia = vb::Mid(compacta, 5, 2);
    // Lists paint this: a damaged date shows nothing rather than failing the paint.
    if (!vb::IsNumeric(mesTexto)) return {};
    long indice = 0;
    try {
        indice = IndiceMes(vb::CByte(mesTexto));
    } catch (const vb::Error&) {
        return {};
    }
    if (indice == 0) return {};
    const std::string mes = Traduz(indice);
    return curta ? dia + " " + mes : dia + "-" + mes + "-20" + ano;
}

long VerificaVetorValido(const std::vector<long>& vetor, long valor) {
    long baixo = 0;
    long alto = static_cast<long>(vetor.size()) - 1;
    while (baixo <= alto) {
        const long meio = (baixo + alto) / 2;
        if (vetor[meio] == valor) return meio;
        if (vetor[meio] < valor) baixo = meio + 1;
        else alto = meio - 1;
    }
    return -1;
}

vb::Variant ExtraiPastaArquivo(const std::string& caminho, bool mantemBarra) {
    const std::string nome = ComBarras(caminho);
    VerificaPartes(caminho, vb::Split(nome, "/"));
    const std::size_t barra = nome.rfind('/');
    if (barra == std::string::npos) return vb::Variant();
    return vb::Variant(nome.substr(0, mantemBarra ? barra + 1 : barra));
}
