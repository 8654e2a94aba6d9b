// A throw-away home for the tests of the shared module: HOME, XDG_CONFIG_HOME and the
// program folder point into a temporary folder, and the program state starts fresh.
#pragma once

#include "common/Modulo.h"
#include "platform/os/Folders.h"
#include "tests/support/AplicacaoTeste.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

namespace testecomum {

inline void Grava(const std::string& caminho, const std::string& bytes) {
    std::ofstream arquivo(caminho, std::ios::binary | std::ios::trunc);
    arquivo << bytes;
}

inline std::optional<std::string> Conteudo(const std::string& caminho) {
    std::ifstream arquivo(caminho, std::ios::binary);
    if (!arquivo) return std::nullopt;
    return std::string((std::istreambuf_iterator<char>(arquivo)), std::istreambuf_iterator<char>());
}

class AmbienteComum : public ::testing::Test {
protected:
    void SetUp() override {
        // QProcess and the event loops need an application object.
        testsupport::CriaAplicacao<QCoreApplication>("test_common");
        ASSERT_TRUE(dir_.isValid());
        raiz_ = dir_.path().toStdString();
        std::filesystem::create_directories(raiz_ + "/home");
        std::filesystem::create_directories(raiz_ + "/program");
        oldHome_ = Env("HOME");
        oldXdg_ = Env("XDG_CONFIG_HOME");
        setenv("HOME", (raiz_ + "/home").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (raiz_ + "/home/.config").c_str(), 1);
        os::SetProgramFolderForTesting(raiz_ + "/program");
        EstadoPrograma = TEstadoPrograma{};
        EstadoPrograma.CaminhoDados = raiz_ + "/program/";
    }
    void TearDown() override {
        os::SetProgramFolderForTesting("");
        Restore("HOME", oldHome_);
        Restore("XDG_CONFIG_HOME", oldXdg_);
        EstadoPrograma = TEstadoPrograma{};
    }

    std::string Raiz() const { return raiz_; }
    std::string PastaPrograma() const { return raiz_ + "/program/"; }
    std::string PastaUsuario() const { return raiz_ + "/home/.config/VelmoSistemas/"; }

private:
    static std::optional<std::string> Env(const char* nome) {
        const char* v = std::getenv(nome);
        return v ? std::optional<std::string>(v) : std::nullopt;
    }
    static void Restore(const char* nome, const std::optional<std::string>& v) {
        if (v) setenv(nome, v->c_str(), 1);
        else unsetenv(nome);
    }

    QTemporaryDir dir_;
    std::string raiz_;
    std::optional<std::string> oldHome_, oldXdg_;
};

}  // namespace testecomum
