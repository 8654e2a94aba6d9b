// The application object of a test program: made on first use, of the kind the program needs
// (QApplication for windows, QCoreApplication for event loops and processes alone), and never
// destroyed, since Qt wants its arguments to live as long as it does and the pointer devices
// that test events leave behind must not outlive it at exit.
#pragma once

#include "platform/forms/App.h"

#include <QApplication>
#include <QCoreApplication>

#include <gtest/gtest.h>

#include <string>

namespace testsupport {

template <class Aplicacao = QApplication>
void CriaAplicacao(const char* nome = "zk_teste") {
    if (QCoreApplication::instance()) return;
    static std::string programa;
    programa = nome;
    static int argc = 1;
    static char* argv[] = {programa.data(), nullptr};
    new Aplicacao(argc, argv);
    // The faces the programs draw with (their mains do the same).
    vb::SubstituteOriginalFonts();
}

// For a program whose every test needs windows: the application made before the first one.
class AmbienteAplicacao : public ::testing::Environment {
public:
    explicit AmbienteAplicacao(const char* nome) : nome_(nome) {}
    void SetUp() override { CriaAplicacao(nome_); }

private:
    const char* nome_;
};

}  // namespace testsupport
