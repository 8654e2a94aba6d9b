// Search text normalisation: what the user types into a search box becomes an accent-,
// case- and punctuation-blind key, or an accent-blind Jet LIKE pattern that is safe inside
// a single-quoted literal. Pure functions on characters (code points), no state.
#include "catalog/startup/Modulo.h"

#include "platform/vb/Strings.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

// The characters a search treats as the plain capital letter. Lower-case accented letters
// are not here on purpose: callers upper-case first where they want them folded.
char32_t DobraAcento(char32_t c) {
    switch (c) {
    case U'Á': case U'À': case U'Â': case U'Ä': case U'Ã': case U'ª': return U'A';
    case U'É': case U'È': case U'Ê': case U'Ë': return U'E';
    case U'Í': case U'Ì': case U'Î': case U'Ï': return U'I';
    case U'Ó': case U'Ò': case U'Ô': case U'Ö': case U'Õ': case U'º': return U'O';
    case U'Ú': case U'Ù': case U'Û': case U'Ü': return U'U';
    case U'Ç': return U'C';
    default: return c;
    }
}

bool EhDigito(char32_t c) { return c >= U'0' && c <= U'9'; }
bool EhLetra(char32_t c) { return c >= U'A' && c <= U'Z'; }

template <typename Mantem>
std::string Filtra(const std::string& texto, Mantem mantem) {
    std::u32string caracteres = vb::ToChars(vb::UCase(texto));
    std::erase_if(caracteres, [&](char32_t c) { return !mantem(c); });
    return vb::FromChars(caracteres);
}

// Each plain capital replaced by the class of its accented forms. The order matters only in
// that no class holds a letter replaced after it, so classes never nest.
struct ClasseAcentos {
    std::string_view letra;
    std::string_view classe;
};
constexpr std::array<ClasseAcentos, 6> ClassesAcentos{{
    {"A", "[AÁÀÂÄÃª]"},
    {"E", "[EÉÈÊË]"},
    {"I", "[IÍÌÎÏ]"},
    {"O", "[OÓÒÔÖÕº]"},
    {"U", "[UÚÙÛÜ]"},
    {"C", "[CÇ]"},
}};

// "DA", "DE" and "DO" as they come out of the LIKE preparation.
constexpr std::array<std::string_view, 3> Conectivos{
    "D[AÁÀÂÄÃª]", "D[EÉÈÊË]", "D[OÓÒÔÖÕº]"};

// The characters with a meaning in a Jet LIKE pattern.
constexpr std::array<std::string_view, 6> CaracteresLike{"[", "]", "?", "*", "#", "!"};

constexpr long MaximoPalavrasFiltro = 11;

}  // namespace

std::string RemoveAcentos(const std::string& texto) {
    std::u32string caracteres = vb::ToChars(texto);
    for (char32_t& c : caracteres) c = DobraAcento(c);
    return vb::FromChars(caracteres);
}

std::string SomenteDigitos(const std::string& texto) {
    return Filtra(texto, EhDigito);
}

// Accented letters are dropped here, not folded: folding is MontaChaveBusca's business.
std::string SomenteLetrasDigitos(const std::string& texto) {
    return Filtra(texto, [](char32_t c) { return EhLetra(c) || EhDigito(c); });
}

std::string RemoveZerosEsquerda(const std::string& texto) {
    const std::size_t inicio = texto.find_first_not_of('0');
    return inicio == std::string::npos ? std::string() : texto.substr(inicio);
}

std::string NormalizaCodigoAlfanumerico(const std::string& texto) {
    return RemoveZerosEsquerda(SomenteLetrasDigitos(texto));
}

std::string NormalizaCodigoNumerico(const std::string& texto) {
    return RemoveZerosEsquerda(SomenteDigitos(texto));
}

std::string MontaChaveBusca(const std::string& texto) {
    return SomenteLetrasDigitos(RemoveAcentos(vb::UCase(texto)));
}

std::string PreparaTextoSQL(const std::string& texto, bool bLike) {
    std::string resultado = vb::Trim(texto);
    resultado = vb::Replace(resultado, "'", "''");
    // "|" separates the fields of the hand-over strings between the windows.
    resultado = vb::Replace(resultado, "|", "");
    if (bLike) {
        resultado = vb::UCase(resultado);
        for (std::string_view c : CaracteresLike) resultado = vb::Replace(resultado, c, "");
        resultado = RemoveAcentos(resultado);
        for (const ClasseAcentos& classe : ClassesAcentos)
            resultado = vb::Replace(resultado, classe.letra, classe.classe);
    }
    return resultado;
}

std::string FiltraConectivo(const std::string& palavra, long quantidade) {
    if (quantidade > 1 &&
        std::find(Conectivos.begin(), Conectivos.end(), palavra) != Conectivos.end())
        return {};
    return palavra;
}

// The count given to FiltraConectivo is that of all words, empty ones included, so a lone
// connector word is still searched for and, among several words, every one is dropped.
std::vector<std::string> SeparaPalavras(const std::string& texto) {
    std::string simples = texto;
    while (vb::InStr(simples, "  ") > 0) simples = vb::Replace(simples, "  ", " ");
    std::vector<std::string> palavras = vb::Split(simples, " ");
    const long quantidade = static_cast<long>(palavras.size());
    for (std::string& palavra : palavras) palavra = FiltraConectivo(palavra, quantidade);
    return palavras;
}

std::string MontaFiltroPalavras(const std::string& texto, const std::string& campo) {
    const std::vector<std::string> palavras = SeparaPalavras(PreparaTextoSQL(texto, true));
    const long usadas = std::min(static_cast<long>(palavras.size()), MaximoPalavrasFiltro);
    std::string filtro;
    for (long i = 0; i < usadas; ++i) {
        const std::string& palavra = palavras[static_cast<std::size_t>(i)];
        if (palavra.empty()) continue;
        if (!filtro.empty()) filtro += " AND ";
        filtro += campo + " LIKE '*" + palavra + "*'";
    }
    return filtro;
}
