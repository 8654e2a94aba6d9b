// The per-user settings file: what each content gives and what the file holds afterwards.
#include "common/MRijndael.h"
#include "common/Modulo.h"
#include "platform/vb/Err.h"
#include "tests/common/AmbienteComum.h"

#include <QRegularExpression>
#include <QString>
#include <gtest/gtest.h>

#include <filesystem>

using testecomum::AmbienteComum;
using testecomum::Conteudo;
using testecomum::Grava;

namespace {

class ConfiguracaoTeste : public AmbienteComum {
protected:
    std::string Arquivo() const { return PastaUsuario() + ArquivoConfiguracao; }
    std::string ArquivoAntigo() const { return PastaPrograma() + ArquivoConfiguracao; }

    // Puts the file in place (nullopt: none) in the per-user and the old system folder.
    void Prepara(const std::optional<std::string>& usuario,
                 const std::optional<std::string>& sistema) {
        std::filesystem::remove_all(PastaUsuario());
        std::filesystem::remove(ArquivoAntigo());
        if (usuario) {
            std::filesystem::create_directories(PastaUsuario());
            Grava(Arquivo(), *usuario);
        }
        if (sistema) Grava(ArquivoAntigo(), *sistema);
    }
};

TEST_F(ConfiguracaoTeste, SettingsFolderIsCreatedUnderTheUsersConfigFolder) {
    EXPECT_EQ(ObtemPastaConfiguracao(true), PastaUsuario());
    EXPECT_EQ(ObtemPastaConfiguracao(false), Raiz() + "/home/.config/VelmoSistemas");
    EXPECT_TRUE(std::filesystem::is_directory(PastaUsuario()));
    // A fresh account has no configuration folder yet.
    std::filesystem::remove_all(Raiz() + "/home/.config");
    EXPECT_EQ(ObtemPastaConfiguracao(true), PastaUsuario());
    EXPECT_TRUE(std::filesystem::is_directory(PastaUsuario()));
}

// A folder of the same name in another case is a different folder here: the settings still
// get their own, and the start-up can read them.
TEST_F(ConfiguracaoTeste, AFolderOfAnotherCaseDoesNotStandInForTheSettingsFolder) {
    std::filesystem::remove_all(PastaUsuario());
    std::filesystem::create_directories(Raiz() + "/home/.config/velmosistemas");
    EXPECT_EQ(ObtemPastaConfiguracao(true), PastaUsuario());
    EXPECT_TRUE(std::filesystem::is_directory(PastaUsuario()));
    std::string u, s;
    ASSERT_NO_THROW(LeConfiguracao("IDIOMA_VERIFICACAOAUTOMATICA", u, s));
    EXPECT_EQ(Conteudo(Arquivo()), "P|1||");
    EXPECT_TRUE(std::filesystem::is_empty(Raiz() + "/home/.config/velmosistemas"));
}

// A settings file that cannot be written nor read: writing reports nothing and leaves what
// is there, reading raises the file error to the start-up.
TEST_F(ConfiguracaoTeste, ASettingsFileThatCannotBeReadRaisesAndWritingStaysQuiet) {
    Prepara(std::nullopt, std::nullopt);
    std::filesystem::create_directories(Arquivo() + "/dentro");   // a folder in its place
    EXPECT_NO_THROW(GravaConfiguracao("E", "0", "u", "s", true));
    EXPECT_TRUE(std::filesystem::is_directory(Arquivo() + "/dentro"));
    const auto entradas = std::distance(std::filesystem::directory_iterator(PastaUsuario()),
                                        std::filesystem::directory_iterator());
    EXPECT_EQ(entradas, 1) << "a half-written copy was left behind";
    std::string u, s;
    try {
        LeConfiguracao("IDIOMA_VERIFICACAOAUTOMATICA", u, s);
        ADD_FAILURE() << "no error";
    } catch (const vb::Error& e) {
        EXPECT_EQ(e.Number(), vb::err::PathFileAccessError) << e.Description();
    }
    EXPECT_TRUE(std::filesystem::is_directory(Arquivo() + "/dentro"));
}

TEST_F(ConfiguracaoTeste, LanguageAndCheckFlagFromEachKindOfFile) {
    struct Caso {
        const char* nome;
        std::optional<std::string> usuario, sistema;
        const char* idioma;
        bool verificacao;
        std::string depois;   // the per-user file afterwards
    };
    const Caso casos[] = {
        {"no file anywhere", std::nullopt, std::nullopt, "P", true, "P|1||"},
        {"lower-case e, check off", "e|0||", std::nullopt, "E", false, "e|0||"},
        {"unknown letter is repaired", "X|1||", std::nullopt, "P", true, "P|1||"},
        {"empty language is repaired", "|0|AB|CD", std::nullopt, "P", false, "P|0|AB|CD"},
        {"blanks around the letter", " i |1||", std::nullopt, "I", true, " i |1||"},
        {"three fields are enough", "P|1|", std::nullopt, "P", true, "P|1|"},
        {"check other than 1 is off", "I|yes||", std::nullopt, "I", false, "I|yes||"},
        // One field: the language stays English in the repaired file too.
        {"only the language", "I", std::nullopt, "I", true, "I|1||"},
        {"empty file", "", std::nullopt, "P", true, "P|1||"},
        {"line end after the check flag", "I|1\r\n", std::nullopt, "I", true, "I|1\r\n"},
        {"line end after the last field", "E|0||\n", std::nullopt, "E", false, "E|0||\n"},
        {"old copy in the system folder", std::nullopt, "E|0||", "E", false, "E|0||"},
        {"per-user file wins over the old copy", "I|1||", "E|0||", "I", true, "I|1||"},
    };
    for (const Caso& c : casos) {
        Prepara(c.usuario, c.sistema);
        EstadoPrograma.Idioma = "?";
        EstadoPrograma.VerificacaoAutomatica = !c.verificacao;
        std::string u = "unchanged", s = "unchanged";
        LeConfiguracao("IDIOMA_VERIFICACAOAUTOMATICA", u, s);
        EXPECT_EQ(EstadoPrograma.Idioma, c.idioma) << c.nome;
        EXPECT_EQ(EstadoPrograma.VerificacaoAutomatica, c.verificacao) << c.nome;
        EXPECT_EQ(Conteudo(Arquivo()), c.depois) << c.nome;
        EXPECT_EQ(u, "unchanged") << c.nome;
        EXPECT_EQ(s, "unchanged") << c.nome;
        if (c.sistema) {
            EXPECT_EQ(Conteudo(ArquivoAntigo()), c.sistema) << c.nome;
        }
    }
}

TEST_F(ConfiguracaoTeste, OtherSelectorsOnlyCreateTheFile) {
    Prepara(std::nullopt, std::nullopt);
    std::string u = "u", s = "s";
    LeConfiguracao("OUTRO", u, s);
    EXPECT_EQ(Conteudo(Arquivo()), "P|1||");
    EXPECT_EQ(EstadoPrograma.Idioma, "P");
    EXPECT_EQ(u, "u");
    EXPECT_EQ(s, "s");
}

TEST_F(ConfiguracaoTeste, CredentialsFromEachKindOfFile) {
    const std::string usuario = ProcessaCriptografia("joao", true);
    const std::string senha = ProcessaCriptografia("s3nha", true);
    struct Caso {
        const char* nome;
        std::string conteudo;
        const char* usuario;
        const char* senha;
        std::string depois;
    };
    const Caso casos[] = {
        {"both present", "E|0|" + usuario + "|" + senha, "joao", "s3nha",
         "E|0|" + usuario + "|" + senha},
        {"lower-case hex digits", "E|0|" + QString::fromStdString(usuario).toLower().toStdString() + "|",
         "joao", "", "E|0|" + QString::fromStdString(usuario).toLower().toStdString() + "|"},
        {"no password field", "P|1|", "", "", "P|1||"},
        {"bad user cipher text", "I|0|ZZ|" + senha, "", "s3nha", "I|0||" + senha},
        {"only the language", "I", "", "", "I|1||"},
        {"line end after the password", "E|1|" + usuario + "|" + senha + "\r\n", "joao", "s3nha",
         "E|1|" + usuario + "|" + senha + "\r\n"},
    };
    for (const Caso& c : casos) {
        Prepara(c.conteudo, std::nullopt);
        std::string u = "x", s = "x";
        LeConfiguracao("USUARIO_SENHA", u, s);
        EXPECT_EQ(u, c.usuario) << c.nome;
        EXPECT_EQ(s, c.senha) << c.nome;
        EXPECT_EQ(Conteudo(Arquivo()), c.depois) << c.nome;
    }
}

TEST_F(ConfiguracaoTeste, WrittenCredentialsReadBackAndOtherFieldsStay) {
    Prepara("I|0||", std::nullopt);
    GravaConfiguracao("", "1", "proxy user", "pässwörd|1", true);
    const auto linha = Conteudo(Arquivo());
    ASSERT_TRUE(linha);
    const auto campos = QString::fromStdString(*linha).split('|');
    ASSERT_EQ(campos.size(), 4);
    EXPECT_EQ(campos[0], "I");
    EXPECT_EQ(campos[1], "1");
    for (int i : {2, 3}) {
        EXPECT_FALSE(campos[i].isEmpty());
        EXPECT_EQ(campos[i].toUpper(), campos[i]);
        EXPECT_TRUE(QRegularExpression("^[0-9A-F]+$").match(campos[i]).hasMatch()) << i;
    }
    std::string u, s;
    LeConfiguracao("USUARIO_SENHA", u, s);
    EXPECT_EQ(u, "proxy user");
    EXPECT_EQ(s, "pässwörd|1");
    EXPECT_EQ(Conteudo(Arquivo()), linha);   // nothing to repair

    // An empty password is an empty field; the language switch rewrites field 0 only.
    GravaConfiguracao("", "0", "proxy user", "", true);
    GravaConfiguracao("E", "", "", "", false);
    LeConfiguracao("USUARIO_SENHA", u, s);
    EXPECT_EQ(u, "proxy user");
    EXPECT_EQ(s, "");
    const auto depois = QString::fromStdString(*Conteudo(Arquivo())).split('|');
    ASSERT_EQ(depois.size(), 4);
    EXPECT_EQ(depois[0], "E");
    EXPECT_EQ(depois[1], "0");
    EXPECT_EQ(depois[2], campos[2]);
    EXPECT_EQ(depois[3], "");
}

TEST_F(ConfiguracaoTeste, StoringIntoAShortLineKeepsWhatItHas) {
    const std::pair<std::string, std::string> casos[] = {
        {"I", "I|0||"}, {"", "P|0||"}, {"E|1", "E|0||"}, {"E|1|AB|CD|extra", "E|0|AB|CD|extra"}};
    for (const auto& [antes, depois] : casos) {
        Prepara(antes, std::nullopt);
        GravaConfiguracao("", "0", "", "", false);
        EXPECT_EQ(Conteudo(Arquivo()), depois) << antes;
    }
    Prepara(std::nullopt, std::nullopt);
    GravaConfiguracao("I", "", "", "", false);
    EXPECT_EQ(Conteudo(Arquivo()), "I|1||");
}

}  // namespace
