// The toolkit's own windows speak the system's language: the program started under a
// Portuguese, a Spanish and an English system shows its question box, save box and proxy
// log-in with the texts of that language.
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include "tests/support/AjudanteIdioma.h"

#include <gtest/gtest.h>

#include <string>

namespace {

QStringList Mostra(const char* lang, const char* modo) {
    return testsupport::SaidaSobIdioma(AJUDANTE_IDIOMA, lang, {modo});
}

struct Sistema {
    const char* lang;
    QStringList pergunta, arquivo, login;
};

TEST(IdiomaDoSistema, ToolkitWindowsSpeakTheSystemsLanguage) {
    const Sistema sistemas[] = {
        {"pt_BR.UTF-8",
         {"botao: Sim", "botao: Não", "resposta: 7"},
         {"rotulo: Procurar em:", "rotulo: Nome do arquivo:", "botao: Salvar", "botao: Cancelar"},
         {"rotulo: Usuário:", "rotulo: Senha:", "botao: OK", "botao: Cancelar", "resposta: cancelado"}},
        {"es_ES.UTF-8",
         {"botao: Sí", "botao: No", "resposta: 7"},
         {"rotulo: Ver en:", "rotulo: Nombre de fichero:", "botao: Guardar", "botao: Cancelar"},
         {"rotulo: Usuario:", "rotulo: Seña:", "botao: Aceptar", "botao: Cancelar", "resposta: cancelado"}},
        {"C.UTF-8",
         {"botao: Yes", "botao: No", "resposta: 7"},
         {"rotulo: Look in:", "rotulo: File name:", "botao: Save", "botao: Cancel"},
         {"rotulo: UserName:", "rotulo: Password:", "botao: OK", "botao: Cancel", "resposta: cancelado"}},
    };
    for (const Sistema& s : sistemas) {
        SCOPED_TRACE(s.lang);
        for (const auto& [modo, esperadas] :
             {std::pair{"pergunta", s.pergunta}, std::pair{"arquivo", s.arquivo}, std::pair{"login", s.login}}) {
            const QStringList vistas = Mostra(s.lang, modo);
            for (const QString& e : esperadas)
                EXPECT_TRUE(vistas.contains(e)) << modo << ": " << e.toStdString() << " missing from\n"
                                                << vistas.join('\n').toStdString();
        }
    }
}

}  // namespace
