// The small routines the windows share: pixels to twips, a field's value without Null, an
// array's bounds, the cursor over a window and the mouse wheel's target.
#include "catalog/startup/Modulo.h"

#include "platform/forms/Control.h"
#include "platform/forms/Screen.h"
#include "platform/vb/Err.h"
#include "platform/vb/Strings.h"

#include <QCursor>

#include <cstdint>
#include <limits>
#include <map>

long ConvertePixelsParaTwips(long pixels, const std::string& eixo) {
    const std::string k = vb::UCase(vb::Trim(eixo));
    const bool horizontal = k == "X" || k == "L" || k == "LEFT" || k == "W" || k == "WIDTH";
    long fator = horizontal ? EstadoPrograma.TwipsPorPixelX : EstadoPrograma.TwipsPorPixelY;
    // Before the start-up has measured the screen the columns must not shrink to nothing.
    if (fator <= 0) fator = horizontal ? vb::ScreenObject::TwipsPerPixelX : vb::ScreenObject::TwipsPerPixelY;
    long long produto = 0;
    if (__builtin_mul_overflow(static_cast<long long>(pixels), static_cast<long long>(fator), &produto) ||
        produto < std::numeric_limits<std::int32_t>::min() || produto > std::numeric_limits<std::int32_t>::max())
        vb::Raise(vb::err::Overflow);
    return static_cast<long>(produto);
}

vb::Variant ObtemValorCampo(const vb::Variant& valor, const vb::Variant& valorNulo,
                            const std::optional<vb::Variant>& valorNaoNulo) {
    if (valor.IsNull()) return valorNulo;
    return valorNaoNulo ? *valorNaoNulo : valor;
}

bool VerificaCursorSobreJanela(const vb::Control* janela) {
    if (!janela || !janela->Widget()) return false;
    // QRect::contains keeps the last pixel row and column inside, as the window's own
    // rectangle without its right and bottom edges.
    return janela->ScreenRect().contains(QCursor::pos());
}

namespace {

struct ListaRoda {
    vb::Control* janela = nullptr;
    IRolagemRoda* rolagem = nullptr;
};

// The keys that name a wheel target, and the list each stands for now.
std::map<std::string, ListaRoda>& ListasRoda() {
    static std::map<std::string, ListaRoda> listas = {{"CAT_GRID1", {}}, {"CAT_GRID2", {}}, {"CAT_COMBO1", {}},
                                                      {"CAT_COMBO2", {}}, {"TEL_GRID1", {}}, {"TEL_COMBO2", {}}};
    return listas;
}

void DefineAlvo(const ListaRoda& lista) {
    AlvoRodaJanela = lista.janela;
    AlvoRodaRolagem = lista.rolagem;
    EstadoPrograma.LinhasRoda = lista.janela && lista.rolagem ? 4 : 0;
}

}  // namespace

void RegistraListaRoda(const std::string& chave, vb::Control* janela, IRolagemRoda* rolagem) {
    const auto it = ListasRoda().find(chave);
    if (it == ListasRoda().end()) return;
    it->second = {janela, rolagem};
    // A list that goes must not stay the wheel's target.
    if (!janela && EstadoPrograma.ChaveAlvoRoda == chave) {
        DefineAlvo({});
        EstadoPrograma.ChaveAlvoRoda.clear();
    }
}

void DefineAlvoRodaMouse(const std::string& chave) {
    if (!EstadoPrograma.RodaMouseAtiva || chave == EstadoPrograma.ChaveAlvoRoda) return;
    if (chave.empty()) {
        DefineAlvo({});
    } else if (const auto it = ListasRoda().find(chave); it != ListasRoda().end()) {
        DefineAlvo(it->second);
    }
    EstadoPrograma.ChaveAlvoRoda = chave;
}
