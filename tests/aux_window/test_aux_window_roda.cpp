// The wheel over the auxiliary window as the program runs it: the main window's hook moves to
// the open auxiliary window, the list under the pointer takes the notches, and the hook comes
// back to the main window when the auxiliary window closes.
#include "catalog/aux_window/frmZornak2.h"
#include "catalog/aux_window/ligacao/RegistroJanelaAuxiliar.h"
#include "catalog/startup/MSubclass.h"
#include "tests/screens_b/JanelaDemo.h"
#include "tests/support/Ponteiro.h"

#include <QTimer>

#include <functional>

namespace {

using testsupport::CentroVisivel;

class RodaAuxiliar : public JanelaDemo {
protected:
    // Runs `acao` once the condition holds, from the event loop that is running then (the
    // auxiliary window's modal one); after about ten seconds without it, closes that window so
    // that the test ends instead of waiting for ever.
    static void Quando(std::function<bool()> condicao, std::function<void()> acao, int tentativas = 1000) {
        QTimer::singleShot(10, [condicao, acao, tentativas] {
            if (condicao()) {
                acao();
            } else if (tentativas > 0) {
                Quando(condicao, acao, tentativas - 1);
            } else {
                ADD_FAILURE() << "the auxiliary window did not show its cart";
                if (frmZornak2().IsLoaded()) frmZornak2().Unload();
            }
        });
    }
};

TEST_F(RodaAuxiliar, TheWheelOverTheCartListScrollsItAndTheHookComesBackWhenTheWindowCloses) {
    RegistraJanelaAuxiliar();
    frmZornakForm& principal = Inicia();
    ASSERT_TRUE(EstadoPrograma.RodaMouseAtiva);
    QWidget* janelaPrincipal = principal.Window();
    ASSERT_EQ(ContaMensagemJanela(janelaPrincipal, WM_MOUSEWHEEL), 1);

    // More rows than the cart's list shows at once.
    dao::Recordset rs = EstadoPrograma.DbCatalogo.OpenRecordset("SELECT CodigoProduto FROM PRODUTO ORDER BY 1",
                                                                dao::dbOpenSnapshot);
    for (int n = 0; n < 30 && !rs.Eof(); ++n, rs.MoveNext()) IncluiProdutoCarrinho(rs.Fields(0).Value().ToLong(), 1);
    rs.Close();

    bool percorrido = false;
    // What the user does while the auxiliary window runs its modal loop.
    auto percorre = [&] {
        frmZornak2Form& aux = frmZornak2();
        struct Fecha {
            frmZornak2Form& j;
            ~Fecha() {
                if (j.IsLoaded()) j.Unload();
            }
        } fecha{aux};
        QWidget* w = aux.Window();
        EXPECT_EQ(ContaMensagemJanela(w, WM_MOUSEWHEEL), 1) << "the open window is hooked";
        EXPECT_EQ(ContaMensagemJanela(janelaPrincipal, WM_MOUSEWHEEL), 0) << "and only it";

        THGrid& lista = *aux.grdTHGrid1;
        ASSERT_GT(lista.LinhasPorPagina(), 4);
        const MarcadorLinha primeira = lista.RowBookmark(0), quinta = lista.RowBookmark(4);
        ASSERT_TRUE(primeira.has_value());
        const QPoint centro = CentroVisivel(lista);
        const QRect area = testsupport::RetanguloVisivel(lista);
        const QImage antes = testsupport::Captura(w).copy(area);

        // A notch towards the user scrolls four rows down, one away from the user four back.
        testsupport::Roda(w, centro, -1);
        EXPECT_EQ(EstadoPrograma.ChaveAlvoRoda, "TEL_GRID1");
        EXPECT_EQ(lista.RowBookmark(0), quinta);
        EXPECT_NE(testsupport::Captura(w).copy(area), antes) << "the list shows other rows";
        testsupport::Roda(w, centro, 1);
        EXPECT_EQ(lista.RowBookmark(0), primeira);

        // Off the list the wheel scrolls nothing and leaves the wheel without a target.
        testsupport::Roda(w, QPoint(w->width() - 60, 40), -1);
        EXPECT_EQ(lista.RowBookmark(0), primeira);
        EXPECT_TRUE(EstadoPrograma.ChaveAlvoRoda.empty());
        percorrido = true;
        testsupport::Clica(*aux.lblVoltar);   // one screen in the history: Back closes
        EXPECT_FALSE(aux.IsLoaded());
    };
    // The user acts once the screen is built.
    Quando([] { return frmZornak2().IsLoaded() && frmZornak2().TelaAtual() == 2 && frmZornak2().grdTHGrid1->Visible() &&
                       !frmZornak2().TrocandoTela; },
           percorre);
    testsupport::Clica(principal.Img("imgCarrinho"));

    EXPECT_TRUE(percorrido);
    EXPECT_FALSE(frmZornak2().IsLoaded());
    EXPECT_EQ(JanelaRodaMouse, &principal);
    EXPECT_EQ(ContaMensagemJanela(janelaPrincipal, WM_MOUSEWHEEL), 1) << "exactly one hook, on the main window again";
}

}  // namespace
