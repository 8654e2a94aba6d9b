#include "catalog/startup/MSubclass.h"

#include "platform/forms/Events.h"
#include "platform/vb/Err.h"

#include <QApplication>
#include <QWheelEvent>
#include <QWidget>

#include <cstdint>
#include <string>

namespace {

// The bookkeeping lives in properties of the window itself, as numbers; 0 removes one.
std::string Handle(QWidget* janela) { return std::to_string(reinterpret_cast<std::uintptr_t>(janela)); }

long long LeNumero(QWidget* janela, const std::string& nome) {
    return janela->property(nome.c_str()).toLongLong();
}

void GravaNumero(QWidget* janela, const std::string& nome, long long valor) {
    if (valor == 0) janela->setProperty(nome.c_str(), QVariant());
    else janela->setProperty(nome.c_str(), QVariant(valor));
}

std::string NomeContagem(QWidget* j) { return "C" + Handle(j); }
std::string NomeClasses(QWidget* j, long m) { return Handle(j) + "#" + std::to_string(m) + "C"; }
std::string NomeClasse(QWidget* j, long m, long i) {
    return Handle(j) + "#" + std::to_string(m) + "#" + std::to_string(i);
}

[[noreturn]] void LevantaErro(long numero, const char* descricao) {
    vb::Raise(numero, descricao, "CatalogoZORNAK.WindowProc");
}

// The dispatcher, on each subclassed window: it sees the wheel when it reaches the window,
// either there or handed up by a child that did not use it, as the window procedure did.
class Despachante : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* alvo, QEvent* evento) override {
        if (evento->type() != QEvent::Wheel) return false;
        auto* janela = qobject_cast<QWidget*>(alvo);
        if (!janela || !janela->isWindow()) return false;
        auto* roda = static_cast<QWheelEvent*>(evento);
        const long long quantos = LeNumero(janela, NomeClasses(janela, WM_MOUSEWHEEL));
        if (quantos <= 0) return false;
        const int delta = roda->angleDelta().y();
        const long wParam = static_cast<long>(static_cast<std::int32_t>(static_cast<std::uint32_t>(delta) << 16));
        const QPoint p = roda->globalPosition().toPoint();
        const long lParam = static_cast<long>(static_cast<std::int32_t>(
            (static_cast<std::uint32_t>(p.y()) << 16) | (static_cast<std::uint32_t>(p.x()) & 0xFFFF)));
        for (long long i = quantos; i >= 1; --i) {
            auto* handler = reinterpret_cast<ISubclass*>(
                static_cast<std::uintptr_t>(LeNumero(janela, NomeClasse(janela, WM_MOUSEWHEEL, static_cast<long>(i)))));
            if (!handler) continue;
            vb::RunEvent([&] { handler->WindowProc(janela, WM_MOUSEWHEEL, wParam, lParam); });
        }
        return false;
    }
};

Despachante& ODespachante() {
    static Despachante* despachante = new Despachante(QCoreApplication::instance());
    return *despachante;
}

}  // namespace

void AdicionaMensagemJanela(ISubclass& handler, QWidget* janela, long mensagem) {
    if (!janela || !janela->isWindow()) LevantaErro(ErroJanelaInvalida, "Invalid window");
    const long long identidade = static_cast<long long>(reinterpret_cast<std::uintptr_t>(&handler));
    const long long quantos = LeNumero(janela, NomeClasses(janela, mensagem));
    for (long long i = 1; i <= quantos; ++i)
        if (LeNumero(janela, NomeClasse(janela, mensagem, static_cast<long>(i))) == identidade)
            LevantaErro(ErroMensagemJaTratada, "Message already handled by another class");
    GravaNumero(janela, NomeClasses(janela, mensagem), quantos + 1);
    GravaNumero(janela, NomeClasse(janela, mensagem, static_cast<long>(quantos + 1)), identidade);
    const long long anexos = LeNumero(janela, NomeContagem(janela));
    GravaNumero(janela, NomeContagem(janela), anexos + 1);
    if (anexos == 0) janela->installEventFilter(&ODespachante());
}

void RemoveMensagemJanela(ISubclass& handler, QWidget* janela, long mensagem) {
    if (!janela) return;
    const long long quantos = LeNumero(janela, NomeClasses(janela, mensagem));
    if (quantos <= 0) return;
    const long long identidade = static_cast<long long>(reinterpret_cast<std::uintptr_t>(&handler));
    long long achado = 0;
    for (long long i = 1; i <= quantos && achado == 0; ++i)
        if (LeNumero(janela, NomeClasse(janela, mensagem, static_cast<long>(i))) == identidade) achado = i;
    if (achado == 0) return;
    for (long long i = achado; i < quantos; ++i)
        GravaNumero(janela, NomeClasse(janela, mensagem, static_cast<long>(i)),
                    LeNumero(janela, NomeClasse(janela, mensagem, static_cast<long>(i + 1))));
    GravaNumero(janela, NomeClasse(janela, mensagem, static_cast<long>(quantos)), 0);
    GravaNumero(janela, NomeClasses(janela, mensagem), quantos - 1);
    const long long anexos = LeNumero(janela, NomeContagem(janela));
    // The last detachment gives the window back its own handling.
    if (anexos == 1) janela->removeEventFilter(&ODespachante());
    GravaNumero(janela, NomeContagem(janela), anexos - 1);
}

int ContaMensagemJanela(QWidget* janela, long mensagem) {
    if (!janela) return 0;
    return static_cast<int>(LeNumero(janela, NomeClasses(janela, mensagem)));
}
