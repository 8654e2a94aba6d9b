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
