// The settings screen: the automatic-check switch, the proxy credentials written enciphered
// by Ok, and Back leaving everything as it was.
#include "tests/aux_window/Ambiente.h"

#include "common/modTraducao.h"
#include "platform/forms/Keys.h"

#include <QDir>
#include <QFile>
#include <QPixmap>

#include <gmock/gmock.h>

namespace {

class AuxConfiguracoes : public auxteste::JanelaAuxiliarTeste {
protected:
    std::vector<std::string> Campos() {
        QFile f(QString::fromStdString(ObtemPastaConfiguracao(true) + ArquivoConfiguracao));
        if (!f.open(QIODevice::ReadOnly)) return {};
        return vb::Split(QString::fromUtf8(f.readAll()).trimmed().toStdString(), "|");
    }
};

TEST_F(AuxConfiguracoes, ShowsTheStoredValuesAndFlipsTheSwitch) {
    GravaConfiguracao("P", "1", "ana", "segredo", true);
    EstadoPrograma.VerificacaoAutomatica = true;
    auxteste::Janela& j = Abre("5");
    EXPECT_EQ(j.txtUsuario->Text(), "ana");
    EXPECT_EQ(j.txtSenha->Text(), "segredo");
    EXPECT_EQ(j.txtSenha->PasswordChar(), "*");
    EXPECT_EQ(j.lblVerificarAtualizacoesAuto->Caption(), vb::UCase(Traduz(80)));
    EXPECT_EQ(j.lblAutenticacaoProxy->Caption(), "  " + vb::UCase(Traduz(81)) + "  ");
    EXPECT_TRUE(j.lblOk->Visible());
    const std::pair<std::string, bool> passos[] = {{"1", true}, {"0", false}, {"1", true}};
    for (std::size_t i = 0; i < 3; ++i) {
        if (i > 0) j.lblVerificarAtualizacoesAuto_Click();
        EXPECT_EQ(j.lblVerificarAtualizacoesAuto->Tag(), passos[i].first);
        EXPECT_EQ((*j.imgVerificarAtualizacoesAuto)(1).Visible(), passos[i].second);
        EXPECT_EQ((*j.imgVerificarAtualizacoesAuto)(0).Visible(), !passos[i].second);
    }
    j.lblVerificarAtualizacoesAuto_Click();
    EXPECT_TRUE(EstadoPrograma.VerificacaoAutomatica) << "nothing changes before Ok";

    int esc = vb::vbKeyEscape;
    j.TeclaPress(esc);
    EXPECT_FALSE(j.IsLoaded());
    EXPECT_TRUE(EstadoPrograma.VerificacaoAutomatica);
    EXPECT_EQ(Campos().at(1), "1");
}

TEST_F(AuxConfiguracoes, OkWritesTheFlagAndTheEncipheredCredentials) {
    struct Caso {
        const char* nome;
        std::string usuario, senha;       // as typed
        std::string usuarioGuardado, senhaGuardada;
    };
    const Caso casos[] = {
        {"user trimmed, password kept as typed", "  jose  ", " p a ", "jose", " p a "},
        {"both empty", "", "", "", ""},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        GravaConfiguracao("E", "1", "antigo", "antiga", true);
        EstadoPrograma.VerificacaoAutomatica = true;
        auxteste::Janela& j = Abre("5");
        j.lblVerificarAtualizacoesAuto_Click();
        j.txtUsuario->SetText(c.usuario);
        j.txtSenha->SetText(c.senha);
        int enter = vb::vbKeyReturn;
        j.TeclaPress(enter);   // Enter is Ok on this screen
        EXPECT_EQ(enter, 0);
        EXPECT_FALSE(j.IsLoaded());
        EXPECT_FALSE(EstadoPrograma.VerificacaoAutomatica);
        const std::vector<std::string> campos = Campos();
        ASSERT_GE(campos.size(), 4u);
        EXPECT_EQ(campos[0], "E") << "the language stays";
        EXPECT_EQ(campos[1], "0");
        if (!c.usuarioGuardado.empty()) {
            EXPECT_THAT(campos[2], ::testing::Not(::testing::HasSubstr(c.usuarioGuardado))) << "enciphered";
        }
        std::string usuario = "?", senha = "?";
        LeConfiguracao("USUARIO_SENHA", usuario, senha);
        EXPECT_EQ(usuario, c.usuarioGuardado);
        EXPECT_EQ(senha, c.senhaGuardada);
    }
}

TEST_F(AuxConfiguracoes, OkDoesNothingOnAnotherScreen) {
    GravaConfiguracao("P", "1", "ana", "segredo", true);
    auxteste::Janela& j = Abre("2|0");
    j.lblOk_Click();
    EXPECT_TRUE(j.IsLoaded());
    EXPECT_EQ(Campos().at(1), "1");
}

TEST_F(AuxConfiguracoes, Screenshot) {
    GravaConfiguracao("P", "1", "ana", "segredo", true);
    EstadoPrograma.VerificacaoAutomatica = true;
    auxteste::Janela& j = Abre("5");
    auxteste::Processa();
    QDir().mkpath(ZK_SCREENSHOT_DIR);
    EXPECT_TRUE(j.Window()->grab().save(QString(ZK_SCREENSHOT_DIR) + "/aux_window_configuracoes.png"));
}

}  // namespace
