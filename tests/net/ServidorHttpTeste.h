// A tiny HTTP server for the tests, on 127.0.0.1 and an ephemeral port. Each connection
// runs on its own thread: the request head is read, logged, and handed to the test's
// handler, which writes whatever reply (or misbehaviour) the test needs; then the
// connection is closed. Stopping the server joins every thread.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

class ServidorHttpTeste {
public:
    class Conexao {
    public:
        Conexao(int fd, ServidorHttpTeste& servidor) : fd_(fd), servidor_(servidor) {}
        void Envia(const std::string& bytes) {
            std::size_t enviado = 0;
            while (enviado < bytes.size()) {
                const ssize_t n = ::send(fd_, bytes.data() + enviado, bytes.size() - enviado, MSG_NOSIGNAL);
                if (n <= 0) return;
                enviado += static_cast<std::size_t>(n);
            }
        }
        // A reply with a Content-Length.
        void Responde(int status, const std::string& corpo, const std::string& cabecalhos = {}) {
            Envia("HTTP/1.0 " + std::to_string(status) + " X\r\nContent-Length: " +
                  std::to_string(corpo.size()) + "\r\n" + cabecalhos + "\r\n" + corpo);
        }
        // Waits, but no longer than the server runs.
        void Espera(std::chrono::milliseconds tempo) { servidor_.Espera(tempo); }

    private:
        int fd_;
        ServidorHttpTeste& servidor_;
    };

    using Tratador = std::function<void(const std::string& pedido, Conexao& conexao)>;

    explicit ServidorHttpTeste(Tratador tratador) : tratador_(std::move(tratador)) {
        escuta_ = ::socket(AF_INET, SOCK_STREAM, 0);
        if (escuta_ < 0) throw std::runtime_error("socket");
        int sim = 1;
        ::setsockopt(escuta_, SOL_SOCKET, SO_REUSEADDR, &sim, sizeof sim);
        sockaddr_in endereco{};
        endereco.sin_family = AF_INET;
        endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        endereco.sin_port = 0;
        if (::bind(escuta_, reinterpret_cast<sockaddr*>(&endereco), sizeof endereco) != 0 ||
            ::listen(escuta_, 16) != 0)
            throw std::runtime_error("bind");
        socklen_t tamanho = sizeof endereco;
        ::getsockname(escuta_, reinterpret_cast<sockaddr*>(&endereco), &tamanho);
        porta_ = ntohs(endereco.sin_port);
        aceita_ = std::thread([this] { Aceita(); });
    }

    ~ServidorHttpTeste() { Para(); }

    void Para() {
        {
            std::lock_guard<std::mutex> trava(mutex_);
            if (parado_) return;
            parado_ = true;
        }
        parar_.notify_all();
        if (aceita_.joinable()) aceita_.join();
        for (std::thread& t : conexoes_) t.join();
        conexoes_.clear();
        ::close(escuta_);
    }

    std::uint16_t Porta() const { return porta_; }
    std::string Servidor() const { return "127.0.0.1:" + std::to_string(porta_); }

    std::vector<std::string> Pedidos() {
        std::lock_guard<std::mutex> trava(mutex_);
        return pedidos_;
    }

    void Espera(std::chrono::milliseconds tempo) {
        std::unique_lock<std::mutex> trava(mutex_);
        parar_.wait_for(trava, tempo, [this] { return parado_; });
    }

private:
    bool Parado() {
        std::lock_guard<std::mutex> trava(mutex_);
        return parado_;
    }

    void Aceita() {
        while (!Parado()) {
            pollfd p{escuta_, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0) continue;
            const int fd = ::accept(escuta_, nullptr, nullptr);
            if (fd < 0) continue;
            conexoes_.emplace_back([this, fd] { Atende(fd); });
        }
    }

    void Atende(int fd) {
        std::string pedido;
        char buffer[4096];
        const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (pedido.find("\r\n\r\n") == std::string::npos && std::chrono::steady_clock::now() < limite) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0) continue;
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            pedido.append(buffer, static_cast<std::size_t>(n));
        }
        if (!pedido.empty()) {
            {
                std::lock_guard<std::mutex> trava(mutex_);
                pedidos_.push_back(pedido);
            }
            Conexao conexao(fd, *this);
            tratador_(pedido, conexao);
        }
        ::shutdown(fd, SHUT_RDWR);
        ::close(fd);
    }

    Tratador tratador_;
    int escuta_ = -1;
    std::uint16_t porta_ = 0;
    std::thread aceita_;
    std::vector<std::thread> conexoes_;   // touched by the accepting thread, then by Para
    std::mutex mutex_;
    std::condition_variable parar_;
    bool parado_ = false;
    std::vector<std::string> pedidos_;
};
