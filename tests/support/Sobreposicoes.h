// What a shown window puts on the screen, control by control, as a user sees it: the
// rectangles that the controls take in the window (cut by their masks and by the containers
// above them), and the pairs of them that cover one another. Containers that hold other
// shown controls are their ground, not their neighbours; the parts inside a user control
// (a list's rows, a combo's arrow) are the control's own business and count as the control.
#pragma once

#include "platform/forms/Control.h"
#include "platform/forms/Controls.h"
#include "platform/vb/Strings.h"
#include "tests/support/Ponteiro.h"

#include <QRect>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace testsupport {

struct ControleMostrado {
    const vb::Control* controle;
    QRect area;   // in window coordinates

    std::string Nome() const {
        return controle->Index() >= 0 ? controle->Name() + "(" + std::to_string(controle->Index()) + ")"
                                      : controle->Name();
    }
};

// The control whose own widget this is (not one it merely lies inside).
inline const vb::Control* ControleProprio(const QWidget* w) {
    const vb::Control* c = vb::ControlOf(w);
    return c && c->Widget() == w ? c : nullptr;
}

// Whether a widget lies inside a user control of the window.
inline bool DentroDeControleUsuario(const QWidget* w, const QWidget* janela) {
    for (const QWidget* p = w->parentWidget(); p && p != janela; p = p->parentWidget())
        if (const vb::Control* c = ControleProprio(p); c && c->Kind() == vb::ControlKind::UserControl) return true;
    return false;
}

// Every control shown in the window that is no container of other shown controls.
inline std::vector<ControleMostrado> ControlesMostrados(QWidget* janela) {
    janela = janela->window();
    std::vector<ControleMostrado> mostrados;
    std::vector<const QWidget*> widgets;
    for (QWidget* w : janela->findChildren<QWidget*>()) {
        const vb::Control* c = ControleProprio(w);
        if (!c || !w->isVisibleTo(janela) || DentroDeControleUsuario(w, janela)) continue;
        const QRect area = RetanguloVisivel(w);
        if (area.isEmpty()) continue;
        mostrados.push_back({c, area});
        widgets.push_back(w);
    }
    std::vector<ControleMostrado> folhas;
    for (std::size_t i = 0; i < mostrados.size(); ++i) {
        const bool contem = mostrados[i].controle->Kind() != vb::ControlKind::UserControl &&
                            std::any_of(widgets.begin(), widgets.end(),
                                        [&](const QWidget* outro) { return outro != widgets[i] && widgets[i]->isAncestorOf(outro); });
        if (!contem) folhas.push_back(mostrados[i]);
    }
    return folhas;
}

// A control (by name, without index) that may cover the others named (by name; "*" any),
// and why.
struct SobreposicaoPermitida {
    std::string a;
    std::vector<std::string> b;
    std::string motivo;
};

// One table of pairs followed by another: a window's frame, then a screen's own.
inline std::vector<SobreposicaoPermitida> Com(std::vector<SobreposicaoPermitida> a,
                                              const std::vector<SobreposicaoPermitida>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline bool Permitida(const std::vector<SobreposicaoPermitida>& permitidas, const ControleMostrado& x,
                      const ControleMostrado& y) {
    const std::string& nx = x.controle->Name();
    const std::string& ny = y.controle->Name();
    auto casa = [](const std::vector<std::string>& nomes, const std::string& nome) {
        return std::any_of(nomes.begin(), nomes.end(), [&](const std::string& n) { return n == "*" || n == nome; });
    };
    return std::any_of(permitidas.begin(), permitidas.end(), [&](const SobreposicaoPermitida& p) {
        return (p.a == nx && casa(p.b, ny)) || (p.a == ny && casa(p.b, nx));
    });
}

// Every pair of shown controls that covers one another without a reason in the table.
inline ::testing::AssertionResult NadaSeSobrepoe(QWidget* janela,
                                                 const std::vector<SobreposicaoPermitida>& permitidas) {
    const std::vector<ControleMostrado> mostrados = ControlesMostrados(janela);
    std::string falhas;
    for (std::size_t i = 0; i < mostrados.size(); ++i)
        for (std::size_t k = i + 1; k < mostrados.size(); ++k) {
            const QRect comum = mostrados[i].area & mostrados[k].area;
            if (comum.isEmpty() || Permitida(permitidas, mostrados[i], mostrados[k])) continue;
            auto r = [](const QRect& q) {
                return "(" + std::to_string(q.x()) + ", " + std::to_string(q.y()) + ", " + std::to_string(q.width()) +
                       " x " + std::to_string(q.height()) + ")";
            };
            falhas += "\n  " + mostrados[i].Nome() + " " + r(mostrados[i].area) + " and " + mostrados[k].Nome() +
                      " " + r(mostrados[k].area) + " share " + r(comum);
        }
    if (falhas.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "controls cover one another:" << falhas;
}

// The shown labels of a window that do not show their whole caption (a caption wider than the
// label breaks, and a label shows only the lines its height holds), each as its name, what it
// shows and its caption; empty when every caption stands whole.
inline std::vector<std::string> LegendasCortadas(QWidget* janela) {
    std::vector<std::string> cortadas;
    for (const ControleMostrado& m : ControlesMostrados(janela)) {
        const auto* rotulo = dynamic_cast<const vb::Label*>(m.controle);
        if (!rotulo || rotulo->Caption().empty()) continue;
        std::string mostrada;
        for (const vb::LabelLine& l : rotulo->ShownLines()) mostrada += (mostrada.empty() ? "" : " ") + vb::Trim(l.text);
        std::string legenda = rotulo->Caption();
        for (const char* quebra : {"\r\n", "\n", "\r"}) legenda = vb::Replace(legenda, quebra, " ");
        if (mostrada != vb::Trim(legenda)) cortadas.push_back(m.Nome() + ": \"" + mostrada + "\" of \"" + legenda + "\"");
    }
    return cortadas;
}

}  // namespace testsupport
