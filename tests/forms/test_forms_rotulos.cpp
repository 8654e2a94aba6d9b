// How a label shows its caption on a shown window: the lines it breaks the caption into
// within its width, the ones its height lets show, each line's alignment, and the accents
// of capitals at the top of a label of its design height.
#include "platform/forms/Colors.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "tests/support/AplicacaoTeste.h"
#include "tests/support/Ponteiro.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

namespace {

[[maybe_unused]] ::testing::Environment* const kQt =
    ::testing::AddGlobalTestEnvironment(new testsupport::AmbienteAplicacao("test_forms_rotulos"));

// A shown window holding one label, black on white, in a font of the catalogue's design.
class JanelaRotulo {
public:
    JanelaRotulo(double pontos, bool negrito) : form_("frmRotulo") {
        form_.Load();
        form_.Move(0, 0, 400, 200);
        form_.SetBackColor(vb::vbWhite);
        rotulo_ = form_.New<vb::Label>(form_, "lblRotulo");
        rotulo_->SetFont("Arial", pontos, negrito);
        rotulo_->SetBackStyle(1);
        rotulo_->SetBackColor(vb::vbWhite);
        rotulo_->SetForeColor(vb::vbBlack);
        form_.Show();
    }
    ~JanelaRotulo() { form_.Unload(); }
    JanelaRotulo(const JanelaRotulo&) = delete;
    JanelaRotulo& operator=(const JanelaRotulo&) = delete;

    vb::Label& Rotulo() { return *rotulo_; }
    // The label as the window shows it.
    QImage Imagem() {
        const QImage tela = testsupport::Captura(rotulo_->Widget());
        return tela.copy(QRect(testsupport::PontoDe(*rotulo_, QPoint(0, 0)), rotulo_->Widget()->size()));
    }
    int Largura(const std::string& texto) const {
        return QFontMetrics(rotulo_->Font()).horizontalAdvance(QString::fromStdString(texto));
    }
    int Linha() const { return QFontMetrics(rotulo_->Font()).lineSpacing(); }
    int Ascendente() const { return QFontMetrics(rotulo_->Font()).ascent(); }

private:
    vb::Form form_;
    vb::Label* rotulo_ = nullptr;
};

bool Tinta(QRgb p) { return qGray(p) < 160; }

// The columns and rows that hold ink within rows [de, ate) of an image; an empty rectangle
// when there is none.
QRect TintaEntre(const QImage& img, int de, int ate) {
    QRect r;
    for (int y = std::max(0, de); y < std::min(ate, img.height()); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (Tinta(img.pixel(x, y))) r |= QRect(x, y, 1, 1);
    return r;
}

std::vector<std::string> Textos(const std::vector<vb::LabelLine>& linhas) {
    std::vector<std::string> t;
    for (const auto& l : linhas) t.push_back(l.text);
    return t;
}

TEST(LabelLines, CaptionBreaksAtWordsWithinTheWidthAndShowsTheLinesWhoseLettersStandAboveTheBottom) {
    JanelaRotulo j(9, true);   // the list and figure titles' font
    const int linha = j.Linha();
    const std::string titulo = "CÂMBIO: CÂMBIO RZ-73 DE 6 MARCHAS FABRICANTE ONDARRA";
    // Where the first line stands (below the room of the capitals' accents).
    j.Rotulo().Move(10, 10, 200, linha);
    j.Rotulo().SetCaption("A");
    const int primeiro = j.Rotulo().ShownLines().at(0).top;
    struct Caso {
        const char* nome;
        std::string legenda;
        int largura, altura, alinhamento;
        std::vector<std::string> linhas;
    };
    const Caso casos[] = {
        {"exactly as wide as its text", "VERIFICAR ATUALIZAÇÕES", j.Largura("VERIFICAR ATUALIZAÇÕES"), linha, 0,
         {"VERIFICAR ATUALIZAÇÕES"}},
        {"a pixel too narrow: the last word goes down", "VERIFICAR ATUALIZAÇÕES",
         j.Largura("VERIFICAR ATUALIZAÇÕES") - 1, 2 * linha, 0, {"VERIFICAR", "ATUALIZAÇÕES"}},
        {"breaks at the last word that fits", titulo, j.Largura("CÂMBIO: CÂMBIO RZ-73 DE 6 MARCHAS") + 3, 2 * linha,
         0, {"CÂMBIO: CÂMBIO RZ-73 DE 6 MARCHAS", "FABRICANTE ONDARRA"}},
        {"one line high: the second does not show", titulo, j.Largura("CÂMBIO: CÂMBIO RZ-73 DE 6 MARCHAS") + 3,
         linha, 0, {"CÂMBIO: CÂMBIO RZ-73 DE 6 MARCHAS"}},
        {"a line of which only the tops would show stays out", titulo, j.Largura("CÂMBIO: CÂMBIO RZ-73") + 3,
         2 * linha + 4, 0, {"CÂMBIO: CÂMBIO RZ-73", "DE 6 MARCHAS"}},
        {"a line whose letters stand above the bottom shows, its descenders cut", titulo,
         j.Largura("CÂMBIO: CÂMBIO RZ-73") + 3, primeiro + 2 * linha + j.Ascendente(), 0,
         {"CÂMBIO: CÂMBIO RZ-73", "DE 6 MARCHAS", "FABRICANTE ONDARRA"}},
        {"lower than one line: the line shows, cut", "24 SET", 60, linha / 2, 0, {"24 SET"}},
        {"a word wider than the label breaks at the width", "0123456789", j.Largura("01234") + 1, 3 * linha, 0,
         {"01234", "56789"}},
        {"the caption's own line breaks, in every form", "A\r\nB\nC\rD", 200, 4 * linha, 0, {"A", "B", "C", "D"}},
        {"an empty line of the caption keeps its place", "A\r\n\r\nB", 200, 3 * linha, 0, {"A", "", "B"}},
        {"blanks at a break take no place", "INICIO   SAIR", j.Largura("INICIO  "), 2 * linha, 2, {"INICIO", "SAIR"}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        vb::Label& l = j.Rotulo();
        l.SetAlignment(c.alinhamento);
        l.Move(10, 10, c.largura, c.altura);
        l.SetCaption(c.legenda);
        const std::vector<vb::LabelLine> mostradas = l.ShownLines();
        EXPECT_EQ(Textos(mostradas), c.linhas);
        for (std::size_t i = 1; i < mostradas.size(); ++i) EXPECT_EQ(mostradas[i].top - mostradas[i - 1].top, linha);
        for (const auto& m : mostradas) {
            const int largura = j.Largura(m.text);
            const int esquerda = c.alinhamento == vb::vbCenter ? (c.largura - largura) / 2 : 0;
            EXPECT_EQ(m.left, esquerda) << m.text;
        }
    }
}

TEST(LabelLines, AlignmentPlacesEachLineOnItsOwn) {
    JanelaRotulo j(9, true);
    vb::Label& l = j.Rotulo();
    const int largura = j.Largura("CÂMBIO RZ-73 DE 6") + 20;
    l.Move(10, 10, largura, 2 * j.Linha());
    l.SetCaption("CÂMBIO RZ-73 DE 6 MARCHAS");
    for (int alinhamento : {vb::vbLeftJustify, vb::vbRightJustify, vb::vbCenter}) {
        SCOPED_TRACE(alinhamento);
        l.SetAlignment(alinhamento);
        const QImage img = j.Imagem();
        const int topo2 = l.ShownLines().at(1).top;
        const std::tuple<int, int, std::string> linhas[] = {{0, topo2, "CÂMBIO RZ-73 DE 6"},
                                                            {topo2, img.height(), "MARCHAS"}};
        for (const auto& [de, ate, texto] : linhas) {
            const QRect tinta = TintaEntre(img, de, ate);
            ASSERT_FALSE(tinta.isEmpty()) << texto;
            const int livre = largura - j.Largura(texto);
            // The ink lies within its text's advance, a pixel of side bearing either way.
            const int esperado = alinhamento == vb::vbLeftJustify    ? 0
                                 : alinhamento == vb::vbRightJustify ? livre
                                                                     : livre / 2;
            EXPECT_NEAR(tinta.left(), esperado, 2) << texto;
            EXPECT_NEAR(tinta.right() + 1, esperado + j.Largura(texto), 2) << texto;
        }
    }
}

// What a user saw: one line cut in the middle of a word. The label shows the words that fit
// whole on its first line and the rest on the next.
TEST(LabelLines, TheWindowShowsTheCaptionWrappedNotCutInAWord) {
    JanelaRotulo j(7.5, true);   // the header's information line
    vb::Label& l = j.Rotulo();
    const int largura = j.Largura("ULTIMA ACTUALIZACION:") + 6;
    l.Move(10, 10, largura, 2 * j.Linha() + 2);
    l.SetCaption("ULTIMA ACTUALIZACION: 15-OCT-2026 - 27");
    const QImage img = j.Imagem();
    const QRect primeira = TintaEntre(img, 0, j.Linha());
    const QRect segunda = TintaEntre(img, j.Linha() + 1, img.height());
    ASSERT_FALSE(primeira.isEmpty());
    EXPECT_LT(primeira.right(), largura - 4) << "the first line ends with a whole word, short of the edge";
    ASSERT_FALSE(segunda.isEmpty()) << "the rest of the caption shows on the second line";
    EXPECT_NEAR(segunda.width(), j.Largura("15-OCT-2026 - 27"), 2);
}

// The 14-pixel labels of the header and the screens show the accents of their capitals whole:
// every pixel the caption draws with nothing above it is in the label too.
TEST(LabelLines, AccentsOfCapitalsShowInALabelOfItsDesignHeight) {
    struct Caso {
        double pontos;
        bool negrito;
        int altura;
        const char* legenda;
    };
    const Caso casos[] = {
        {7.5, true, 14, "ÚLTIMA ATUALIZAÇÃO: 15-OUT-2026"},
        {7.5, true, 14, "VERIFICAR ATUALIZAÇÕES"},
        {7.5, true, 14, "DESCRIPCIÓN"},
        {8, true, 14, "Nº REFERÊNCIA"},
        {9, true, 16, "CÂMBIO: CÂMBIO RZ-73 DE 6 MARCHAS"},
        {8, false, 13, "Junta do Cabeçote de Aço Ó"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.legenda);
        JanelaRotulo j(c.pontos, c.negrito);
        vb::Label& l = j.Rotulo();
        const QString texto = QString::fromUtf8(c.legenda);
        l.Move(10, 10, j.Largura(c.legenda) + 4, c.altura);
        l.SetCaption(c.legenda);
        ASSERT_EQ(l.ShownLines().size(), 1u);
        // The caption drawn alone, with room all round.
        const QFontMetrics metricas(l.Font());
        QImage sozinha(l.Width() + 8, c.altura + 20, QImage::Format_RGB32);
        sozinha.fill(Qt::white);
        QPainter p(&sozinha);
        p.setFont(l.Font());
        p.setPen(Qt::black);
        p.drawText(QPoint(0, 10 + metricas.ascent()), texto);
        p.end();
        const QRect inteira = TintaEntre(sozinha, 0, sozinha.height());
        const QImage img = j.Imagem();
        const QRect mostrada = TintaEntre(img, 0, img.height());
        EXPECT_EQ(mostrada.height(), inteira.height()) << "the label cuts part of its caption away";
        EXPECT_TRUE(img.copy(mostrada) == sozinha.copy(inteira)) << "the label draws its caption otherwise";
    }
}

}  // namespace
