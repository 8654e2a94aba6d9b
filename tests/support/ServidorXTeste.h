// An X server of a test's own (a private Xvfb on the display number it picks itself, with
// -displayfd, so that parallel runs never meet) and, when asked, a window manager on it.
// Both go with the test, even when the test dies.
#pragma once

#include <QStandardPaths>
#include <QString>

#include <csignal>
#include <string>

#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

class ServidorXTeste {
public:
    ~ServidorXTeste() { Para(); }

    // False when there is no Xvfb or it did not start. `tela` is Xvfb's "WxHxD".
    bool Inicia(const char* tela = "800x600x24") {
        const QString xvfb = QStandardPaths::findExecutable("Xvfb");
        if (xvfb.isEmpty()) return false;
        int fds[2];
        if (pipe(fds) != 0) return false;
        servidor_ = fork();
        if (servidor_ == 0) {
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            const std::string path = xvfb.toStdString();
            execl(path.c_str(), "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", tela, "-nolisten", "tcp",
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        if (servidor_ < 0) {
            close(fds[0]);
            return false;
        }
        std::string numero;
        char c;
        while (read(fds[0], &c, 1) == 1 && c != '\n') numero += c;
        close(fds[0]);
        if (numero.empty()) return false;
        display_ = ":" + numero;
        return true;
    }

    // Starts the window manager `programa` on the display; false when it is not installed.
    // Whether it has taken the screen yet is for the caller to see.
    bool IniciaGerenciador(const char* programa) {
        const QString caminho = QStandardPaths::findExecutable(programa);
        if (caminho.isEmpty() || display_.empty()) return false;
        gerenciador_ = fork();
        if (gerenciador_ == 0) {
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            setenv("DISPLAY", display_.c_str(), 1);
            const std::string path = caminho.toStdString();
            execl(path.c_str(), programa, static_cast<char*>(nullptr));
            _exit(127);
        }
        return gerenciador_ > 0;
    }

    void Para() {
        for (pid_t* p : {&gerenciador_, &servidor_}) {
            if (*p <= 0) continue;
            kill(*p, SIGTERM);
            waitpid(*p, nullptr, 0);
            *p = -1;
        }
    }

    const std::string& Display() const { return display_; }

private:
    pid_t servidor_ = -1;
    pid_t gerenciador_ = -1;
    std::string display_;
};

}  // namespace testsupport
