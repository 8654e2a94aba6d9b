#include "catalog/controls/EspecificacaoColunas.h"

#include "platform/forms/Screen.h"
#include "platform/vb/Err.h"
#include "platform/vb/Strings.h"

#include <cmath>

namespace {

long Numero(const std::string& campo, const std::string& item, const char* nome) {
    const std::string t = vb::Trim(campo);
    if (!vb::IsNumeric(t))
        vb::Raise(vb::err::TypeMismatch, std::string("Type mismatch: the ") + nome + " of column item '" + item +
                                             "' is not a number");
    return vb::CLng(t);
}

}  // namespace

ColunaEspecificada LeColunaEspecificada(const std::string& item) {
    const std::vector<std::string> f = vb::Split(item, "|");
    if (f.size() < 4)
        vb::Raise(vb::err::SubscriptOutOfRange,
                  "Subscript out of range: column item '" + item + "' has fewer than 4 fields");
    ColunaEspecificada c;
    c.Campo = f[0];
    c.Alinhamento = static_cast<int>(Numero(f[1], item, "alignment"));
    c.Largura = Numero(f[2], item, "width");
    c.Tipo = f[3];
    if (c.EhFigura()) {
        if (f.size() < 6)
            vb::Raise(vb::err::SubscriptOutOfRange,
                      "Subscript out of range: picture column item '" + item + "' has fewer than 6 fields");
        c.Dica = f[4];
        c.Ponteiro = static_cast<int>(Numero(f[5], item, "mouse pointer"));
        if (f.size() >= 7) {
            c.TemLegenda = true;
            c.LarguraLegenda = Numero(f[6], item, "legend width");
        }
    }
    return c;
}

std::vector<ColunaEspecificada> LeEspecificacaoColunas(const std::vector<std::string>& itens) {
    std::vector<ColunaEspecificada> colunas;
    colunas.reserve(itens.size());
    for (const std::string& item : itens) colunas.push_back(LeColunaEspecificada(item));
    return colunas;
}

ImagensLinha LeImagensGrid(const std::string& texto, int posicoesI) {
    ImagensLinha r;
    r.Mostra.assign(static_cast<std::size_t>(std::max(0, posicoesI)), false);
    for (int k = 0; k < posicoesI && k < static_cast<int>(texto.size()); ++k)
        r.Mostra[static_cast<std::size_t>(k)] = texto[static_cast<std::size_t>(k)] == ' ';
    const std::size_t ponto = texto.find('.');
    if (ponto != std::string::npos) r.Legendas = vb::Split(texto.substr(ponto + 1) + " ", "-");
    return r;
}

int TwipsParaPixels(long twips) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / vb::ScreenObject::TwipsPerPixelX));
}
