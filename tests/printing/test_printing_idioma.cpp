// The printer box is the platform's, as the message boxes and the save box are: it speaks the
// system's language whatever language the program was set to. The program is started under a
// Portuguese, a Spanish and an English system, each time in another program language, and
// asked for a printer as a printout does.
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include "tests/support/AjudanteIdioma.h"

#include <gtest/gtest.h>

namespace {

QStringList Mostra(const char* lang, const char* idiomaPrograma) {
    return testsupport::SaidaSobIdioma(AJUDANTE_IMPRESSORA, lang, {idiomaPrograma});
}

struct Sistema {
    const char* lang;
    const char* idiomaPrograma;   // never the system's
    QStringList esperadas;
};

TEST(IdiomaDaImpressora, ThePrinterBoxSpeaksTheSystemsLanguageNotTheProgramsOne) {
    const Sistema sistemas[] = {
        {"pt_BR.UTF-8", "E",
         {"titulo: Imprimir", "grupo: Impressora", "rotulo: Nome:", "impressora: Imprimir para arquivo (PDF)",
          "botao: OK", "botao: Cancelar", "arquivo: Imprimir para arquivo...", "resposta: 0"}},
        {"es_ES.UTF-8", "P",
         {"titulo: Imprimir", "grupo: Impresora", "rotulo: Nombre:", "impressora: Imprimir a archivo (PDF)",
          "botao: Aceptar", "botao: Cancelar", "arquivo: Imprimir a fichero...", "resposta: 0"}},
        {"C.UTF-8", "E",
         {"titulo: Print", "grupo: Printer", "rotulo: Name:", "impressora: Print to File (PDF)", "botao: OK",
          "botao: Cancel", "arquivo: Print To File ...", "resposta: 0"}},
    };
    for (const Sistema& s : sistemas) {
        SCOPED_TRACE(std::string(s.lang) + ", program in " + s.idiomaPrograma);
        const QStringList vistas = Mostra(s.lang, s.idiomaPrograma);
        for (const QString& e : s.esperadas)
            EXPECT_TRUE(vistas.contains(e)) << e.toStdString() << " missing from\n" << vistas.join('\n').toStdString();
        // The PDF output is the last printer offered.
        const QStringList impressoras = vistas.filter(QRegularExpression("^impressora: "));
        ASSERT_FALSE(impressoras.isEmpty());
        EXPECT_EQ(impressoras.last(), s.esperadas[3]);
    }
}

}  // namespace
