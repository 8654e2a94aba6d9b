// Stand-ins for the desktop's helper programs (xdg-open, xdg-email): scripts in a temporary
// folder that comes first on the PATH while the object lives. Each notes its arguments, one a
// line, then ends with the exit code it was given, or first keeps running until released (a
// browser started in the foreground).
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <set>
#include <string>

namespace testsupport {

// Lets window events and deferred deletions run until the condition holds or the time is up.
inline bool EsperaComEventos(const std::function<bool()>& condicao, int milissegundos = 10000) {
    QDeadlineTimer prazo(milissegundos);
    while (!condicao()) {
        if (prazo.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QThread::msleep(5);
    }
    return true;
}

// Events go on for this long, whatever happens meanwhile.
inline void DeixaCorrer(int milissegundos) {
    EsperaComEventos([] { return false; }, milissegundos);
}

class AjudantesDesktop {
public:
    AjudantesDesktop() {
        EXPECT_TRUE(dir_.isValid());
        pasta_ = dir_.path().toStdString();
        const char* path = std::getenv("PATH");
        pathAntigo_ = path ? path : "";
        setenv("PATH", (pasta_ + ":" + pathAntigo_).c_str(), 1);
    }
    // Sleepers are released and every run waited for: a script must not outlive its folder.
    ~AjudantesDesktop() {
        for (const std::string& nome : programas_) Solta(nome);
        EsperaComEventos([this] {
            for (const std::string& nome : programas_)
                if (Iniciou(nome) && !Terminou(nome)) return false;
            return true;
        });
        setenv("PATH", pathAntigo_.c_str(), 1);
    }
    AjudantesDesktop(const AjudantesDesktop&) = delete;
    AjudantesDesktop& operator=(const AjudantesDesktop&) = delete;

    // The stand-in named nome: notes its arguments, then, with espera, runs until Solta(nome),
    // and ends with the code.
    void Programa(const std::string& nome, int codigo, bool espera = false) {
        const std::string base = pasta_ + "/" + nome;
        // Written aside and renamed: a run still reading the old script keeps it whole.
        std::ofstream script(base + ".novo", std::ios::trunc);
        script << "#!/bin/sh\n"
               << "printf '%s\\n' \"$@\" > '" << base << "'.$$\n"
               << "mv '" << base << "'.$$ '" << base << ".args'\n";
        if (espera) script << "while [ ! -e '" << base << ".solta' ]; do sleep 0.02; done\n";
        script << "touch '" << base << ".fim'\n"
               << "exit " << codigo << "\n";
        script.close();
        std::filesystem::permissions(base + ".novo", std::filesystem::perms::owner_all);
        std::filesystem::rename(base + ".novo", base);
        // A fresh stand-in: the runs of an earlier one are forgotten.
        std::filesystem::remove(base + ".fim");
        std::filesystem::remove(base + ".solta");
        programas_.insert(nome);
        iniciados_.erase(nome);
    }
    // The PATH holds the stand-ins' folder alone: no real helper is found.
    void SoAjudantes() { setenv("PATH", pasta_.c_str(), 1); }
    void Remove(const std::string& nome) { std::filesystem::remove(pasta_ + "/" + nome); }

    // The arguments of its last run, one a line, once it has noted them (waiting with events
    // running); nullopt when it never ran. The note is taken, so the next run makes a new one.
    std::optional<std::string> Argumentos(const std::string& nome, int milissegundos = 10000) {
        const std::string nota = pasta_ + "/" + nome + ".args";
        if (!EsperaComEventos([&] { return std::filesystem::exists(nota); }, milissegundos))
            return std::nullopt;
        std::ifstream f(nota, std::ios::binary);
        std::string texto((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
        f.close();
        std::filesystem::remove(nota);
        iniciados_.insert(nome);
        return texto;
    }
    bool Iniciou(const std::string& nome) const {
        return iniciados_.count(nome) || std::filesystem::exists(pasta_ + "/" + nome + ".args");
    }
    bool Terminou(const std::string& nome) const {
        return std::filesystem::exists(pasta_ + "/" + nome + ".fim");
    }
    std::string Pasta() const { return pasta_; }
    void Solta(const std::string& nome) { std::ofstream(pasta_ + "/" + nome + ".solta").close(); }

private:
    QTemporaryDir dir_;
    std::string pasta_;
    std::string pathAntigo_;
    std::set<std::string> programas_;
    std::set<std::string> iniciados_;
};

}  // namespace testsupport
