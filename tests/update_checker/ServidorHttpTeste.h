// A small HTTP server for the tests, on 127.0.0.1 and a port the system chooses, in a
// thread of its own so that it answers while the test waits for a program. Each request's
// line and headers are kept; the answer comes from the test's function.
#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QSemaphore>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace testsupport {

class ServidorHttpTeste {
public:
    struct Pedido {
        std::string linha;                               // "GET /catalogo/Vers2.asp HTTP/1.0"
        std::map<std::string, std::string> cabecalhos;   // names in lower case
    };
    // The whole reply (status line, headers, body) for a request.
    using Responde = std::function<std::string(const Pedido&)>;

    // A reply with a status, a body and optional extra header lines (each ending "\r\n").
    static std::string Resposta(int status, const std::string& corpo, const std::string& extras = {}) {
        return "HTTP/1.0 " + std::to_string(status) + " X\r\nContent-Length: " + std::to_string(corpo.size()) +
               "\r\nConnection: close\r\n" + extras + "\r\n" + corpo;
    }

    explicit ServidorHttpTeste(Responde responde) : linha_(new Linha(*this)), responde_(std::move(responde)) {
        linha_->start();
        pronto_.acquire();
    }
    ~ServidorHttpTeste() {
        linha_->quit();
        linha_->wait();
    }
    ServidorHttpTeste(const ServidorHttpTeste&) = delete;
    ServidorHttpTeste& operator=(const ServidorHttpTeste&) = delete;

    quint16 Porta() const { return porta_; }
    std::vector<Pedido> Pedidos() const {
        std::lock_guard<std::mutex> trava(mutex_);
        return pedidos_;
    }

    // A port on 127.0.0.1 where nothing listens.
    static quint16 PortaFechada() {
        QTcpServer servidor;
        servidor.listen(QHostAddress::LocalHost, 0);
        const quint16 porta = servidor.serverPort();
        servidor.close();
        return porta;
    }

private:
    class Linha : public QThread {
    public:
        explicit Linha(ServidorHttpTeste& dono) : dono_(dono) {}

    protected:
        void run() override {
            QTcpServer servidor;
            servidor.listen(QHostAddress::LocalHost, 0);
            dono_.porta_ = servidor.serverPort();
            QObject::connect(&servidor, &QTcpServer::newConnection, &servidor, [this, &servidor] {
                while (QTcpSocket* s = servidor.nextPendingConnection()) {
                    auto recebido = std::make_shared<QByteArray>();
                    QObject::connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
                    QObject::connect(s, &QTcpSocket::readyRead, s, [this, s, recebido] {
                        recebido->append(s->readAll());
                        const qsizetype fim = recebido->indexOf("\r\n\r\n");
                        if (fim < 0) return;
                        Pedido pedido;
                        const QList<QByteArray> linhas = recebido->left(fim).split('\n');
                        pedido.linha = linhas.value(0).trimmed().toStdString();
                        for (qsizetype i = 1; i < linhas.size(); ++i) {
                            const qsizetype dois = linhas[i].indexOf(':');
                            if (dois < 0) continue;
                            pedido.cabecalhos[linhas[i].left(dois).trimmed().toLower().toStdString()] =
                                linhas[i].mid(dois + 1).trimmed().toStdString();
                        }
                        recebido->clear();
                        {
                            std::lock_guard<std::mutex> trava(dono_.mutex_);
                            dono_.pedidos_.push_back(pedido);
                        }
                        s->write(QByteArray::fromStdString(dono_.responde_(pedido)));
                        s->disconnectFromHost();
                    });
                }
            });
            dono_.pronto_.release();
            exec();
        }

    private:
        ServidorHttpTeste& dono_;
    };

    std::unique_ptr<Linha> linha_;
    Responde responde_;
    QSemaphore pronto_;
    quint16 porta_ = 0;
    mutable std::mutex mutex_;
    std::vector<Pedido> pedidos_;
};

}  // namespace testsupport
