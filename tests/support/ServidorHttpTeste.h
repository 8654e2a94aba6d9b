// The tests' HTTP server: a real one on 127.0.0.1 and a port the system chooses, answering
// while the test waits for a request or for a program. Every connection runs on its own
// thread: the request head is read and kept, then handed to the test's handler, which writes
// an honest reply or plays a hostile server (a body cut short, a body without a length that
// ends when the connection closes, a body far larger than asked for, a slow or silent reply,
// a trickle of single bytes, a proxy that asks for a log-in); then the connection is closed.
// Stopping the server ends whatever a handler still sends and joins every thread.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

class ServidorHttpTeste {
public:
    struct Pedido {
        std::string texto;                               // the head as received, up to the empty line
        std::string linha;                               // "GET /catalogo/Vers2.asp HTTP/1.0"
        std::map<std::string, std::string> cabecalhos;   // names in lower case
        std::string Cabecalho(const std::string& nome) const {
            std::string chave = nome;
            for (char& c : chave) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            const auto it = cabecalhos.find(chave);
            return it == cabecalhos.end() ? std::string() : it->second;
        }
        // The object of the request line: "/catalogo/Vers2.asp", or the whole address a
        // client gives a proxy.
        std::string Objeto() const {
            const std::size_t a = linha.find(' ');
            const std::size_t b = linha.rfind(' ');
            return a == std::string::npos || b <= a ? std::string() : linha.substr(a + 1, b - a - 1);
        }
    };

    class Conexao {
    public:
        Conexao(int fd, ServidorHttpTeste& servidor) : fd_(fd), servidor_(servidor) {}

        // False once the client has gone or the server stops.
        bool Envia(const std::string& bytes) {
            std::size_t enviado = 0;
            while (enviado < bytes.size()) {
                if (servidor_.Parado()) return false;
                pollfd p{fd_, POLLOUT, 0};
                if (::poll(&p, 1, 50) <= 0) continue;
                const ssize_t n = ::send(fd_, bytes.data() + enviado, bytes.size() - enviado, MSG_NOSIGNAL);
                if (n <= 0) return false;
                enviado += static_cast<std::size_t>(n);
            }
            return true;
        }
        // An honest reply: its length announced, the connection closed after it.
        void Responde(int status, const std::string& corpo, const std::string& extras = {}) {
            Envia(Resposta(status, corpo, extras));
        }
        // HTTP/1.0 without a length: the body ends where the connection closes, so a body
        // cut short here looks complete to the client.
        void RespondeSemTamanho(int status, const std::string& corpo) {
            Envia("HTTP/1.0 " + std::to_string(status) + " X\r\nConnection: close\r\n\r\n" + corpo);
        }
        // Announces more than it sends, then closes.
        void RespondeCortado(int status, const std::string& corpo, std::size_t anunciado) {
            Envia("HTTP/1.0 " + std::to_string(status) + " X\r\nContent-Length: " + std::to_string(anunciado) +
                  "\r\nConnection: close\r\n\r\n" + corpo);
        }
        // A body of `tamanho` bytes of `byte`, sent in blocks as fast as the client takes
        // them, with or without its length; it stops early when the client goes.
        void RespondeEnorme(int status, std::uint64_t tamanho, bool comTamanho = true, char byte = '9') {
            std::string cabeca = "HTTP/1.0 " + std::to_string(status) + " X\r\n";
            if (comTamanho) cabeca += "Content-Length: " + std::to_string(tamanho) + "\r\n";
            if (!Envia(cabeca + "Connection: close\r\n\r\n")) return;
            const std::string bloco(64 * 1024, byte);
            for (std::uint64_t resta = tamanho; resta > 0;) {
                const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(resta, bloco.size()));
                if (!Envia(n == bloco.size() ? bloco : bloco.substr(0, n))) return;
                resta -= n;
            }
        }
        // A proxy that wants Basic log-in: true when the request carries this user name and
        // password; otherwise it has answered 407 and the handler is done.
        bool ExigeProxy(const std::string& usuario, const std::string& senha, const Pedido& pedido) {
            if (pedido.Cabecalho("Proxy-Authorization") == "Basic " + Base64(usuario + ":" + senha)) return true;
            Responde(407, "proxy log-in", "Proxy-Authenticate: Basic realm=\"zornak\"\r\n");
            return false;
        }
        // Waits (a slow or silent server), but no longer than the server runs.
        void Espera(std::chrono::milliseconds tempo) { servidor_.Espera(tempo); }
        // A trickle: the bytes one at a time, `intervalo` before each; false once the client
        // has gone or the server stops.
        bool Goteja(const std::string& bytes, std::chrono::milliseconds intervalo) {
            for (char byte : bytes) {
                servidor_.Espera(intervalo);
                if (!Envia(std::string(1, byte))) return false;
            }
            return true;
        }

    private:
        int fd_;
        ServidorHttpTeste& servidor_;
    };

    using Tratador = std::function<void(const Pedido&, Conexao&)>;
    // The simple form: the whole reply (status line, headers, body) as text.
    using Responde = std::function<std::string(const Pedido&)>;

    // A reply with a status, a body and optional extra header lines (each ending "\r\n").
    static std::string Resposta(int status, const std::string& corpo, const std::string& extras = {}) {
        return "HTTP/1.0 " + std::to_string(status) + " X\r\nContent-Length: " + std::to_string(corpo.size()) +
               "\r\nConnection: close\r\n" + extras + "\r\n" + corpo;
    }

    static std::string Base64(const std::string& texto) {
        static const char* tabela = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        std::string saida;
        std::size_t i = 0;
        for (; i + 2 < texto.size(); i += 3) {
            const unsigned v = (static_cast<unsigned char>(texto[i]) << 16) |
                               (static_cast<unsigned char>(texto[i + 1]) << 8) | static_cast<unsigned char>(texto[i + 2]);
            for (int k = 18; k >= 0; k -= 6) saida += tabela[(v >> k) & 63];
        }
        if (i < texto.size()) {
            unsigned v = static_cast<unsigned char>(texto[i]) << 16;
            if (i + 1 < texto.size()) v |= static_cast<unsigned char>(texto[i + 1]) << 8;
            saida += tabela[(v >> 18) & 63];
            saida += tabela[(v >> 12) & 63];
            saida += i + 1 < texto.size() ? tabela[(v >> 6) & 63] : '=';
            saida += '=';
        }
        return saida;
    }

    // A port on 127.0.0.1 where nothing listens.
    static std::uint16_t PortaFechada() {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in endereco{};
        endereco.sin_family = AF_INET;
        endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd, reinterpret_cast<sockaddr*>(&endereco), sizeof endereco);
        socklen_t tamanho = sizeof endereco;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&endereco), &tamanho);
        ::close(fd);
        return ntohs(endereco.sin_port);
    }

    explicit ServidorHttpTeste(Tratador tratador) : tratador_(std::move(tratador)) { Abre(); }
    explicit ServidorHttpTeste(Responde responde)
        : tratador_([responde = std::move(responde)](const Pedido& p, Conexao& c) { c.Envia(responde(p)); }) {
        Abre();
    }
    ~ServidorHttpTeste() { Para(); }
    ServidorHttpTeste(const ServidorHttpTeste&) = delete;
    ServidorHttpTeste& operator=(const ServidorHttpTeste&) = delete;

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

    std::vector<Pedido> Pedidos() {
        std::lock_guard<std::mutex> trava(mutex_);
        return pedidos_;
    }

    void Espera(std::chrono::milliseconds tempo) {
        std::unique_lock<std::mutex> trava(mutex_);
        parar_.wait_for(trava, tempo, [this] { return parado_; });
    }

private:
    void Abre() {
        escuta_ = ::socket(AF_INET, SOCK_STREAM, 0);
        if (escuta_ < 0) throw std::runtime_error("socket");
        int sim = 1;
        ::setsockopt(escuta_, SOL_SOCKET, SO_REUSEADDR, &sim, sizeof sim);
        sockaddr_in endereco{};
        endereco.sin_family = AF_INET;
        endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::bind(escuta_, reinterpret_cast<sockaddr*>(&endereco), sizeof endereco) != 0 || ::listen(escuta_, 32) != 0)
            throw std::runtime_error("bind");
        socklen_t tamanho = sizeof endereco;
        ::getsockname(escuta_, reinterpret_cast<sockaddr*>(&endereco), &tamanho);
        porta_ = ntohs(endereco.sin_port);
        aceita_ = std::thread([this] { Aceita(); });
    }

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

    static Pedido Interpreta(const std::string& cabeca) {
        Pedido pedido;
        pedido.texto = cabeca;
        std::size_t inicio = 0;
        bool primeira = true;
        while (inicio < cabeca.size()) {
            std::size_t fim = cabeca.find('\n', inicio);
            if (fim == std::string::npos) fim = cabeca.size();
            std::string l = cabeca.substr(inicio, fim - inicio);
            inicio = fim + 1;
            while (!l.empty() && (l.back() == '\r' || l.back() == ' ')) l.pop_back();
            if (primeira) {
                pedido.linha = l;
                primeira = false;
                continue;
            }
            const std::size_t dois = l.find(':');
            if (dois == std::string::npos) continue;
            std::string nome = l.substr(0, dois);
            for (char& c : nome) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            std::string valor = l.substr(dois + 1);
            valor.erase(0, valor.find_first_not_of(' '));
            pedido.cabecalhos[nome] = valor;
        }
        return pedido;
    }

    void Atende(int fd) {
        std::string recebido;
        char buffer[4096];
        const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (recebido.find("\r\n\r\n") == std::string::npos && std::chrono::steady_clock::now() < limite &&
               !Parado()) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0) continue;
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            recebido.append(buffer, static_cast<std::size_t>(n));
        }
        const std::size_t fim = recebido.find("\r\n\r\n");
        if (fim != std::string::npos) {
            const Pedido pedido = Interpreta(recebido.substr(0, fim + 4));
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
    std::vector<Pedido> pedidos_;
};

}  // namespace testsupport
