// The HTTP client both programs use to fetch files from the update server: one session and
// one connection at a time, any number of GET requests on it, each reply body streamed to a
// file and handed back as that file's path or as its text.
//
// Failures reach the caller as vb::Error with two numbers only: -100 from
// AbreConexaoInternet and -104 from ExecutaRequisicaoHTTP. The description names the step
// that failed: "step:code" (code = the last system error code of the network layer), or
// "step:code;number;description" when an inner error was raised (-101, -102, -103, -105,
// -106, -107 or a file error), for example "HttpQueryInfo:0;-103;Status=404".
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/net/WinInet.h"

// The module's state. The catalogue keeps these two handles for the whole update; they
// live here rather than in the program-wide state so that both programs share one module.
struct TEstadoInternet {
    net::HINTERNET SessaoInternet = 0;    // from InternetOpen
    net::HINTERNET ConexaoInternet = 0;   // from InternetConnect; used by every request
};
extern TEstadoInternet EstadoInternet;

// sServidor is the host name of the update address; a ":port" after it is honoured
// (port 80 otherwise). Raises -100 after closing whatever it opened.
void AbreConexaoInternet(const std::string& sServidor);

// Closes the connection, then the session; ignores every failure and never closes a
// handle twice.
void FechaConexaoInternet();

// One request on the open connection. sModo "D" downloads with GET; any other mode asks for
// an upload, which is refused (-107 inside -104). sObjeto is the path on the server (a
// leading "/" is optional). With sRetornaTexto the body comes back as text (UTF-8 when
// valid, else Windows-1252) and the file is deleted; otherwise the file's path. An empty
// sArquivoLocal means a new unique ".tmp" file in the data folder; a given file is replaced.
// sInterativo allows the proxy log-in dialog. A limit above 0 keeps at most that many bytes
// of the body and leaves the rest unread (a reply known to be short cannot flood the
// caller); 0 takes the whole body. sTamanhoAnunciado, when given, becomes True when the reply
// announced its body's length and all of the body was read: it is then whole, since a body
// short of its length fails the request. A body without a length ends where the server
// closes the connection, which a cut connection does too. Every wait for the server lets
// pending window events run. Raises -104.
std::string ExecutaRequisicaoHTTP(const std::string& sModo, bool sInterativo,
                                  const std::string& sObjeto, bool sRetornaTexto,
                                  const std::string& sArquivoLocal,
                                  const std::string& sArquivoUpload1,
                                  const std::string& sArquivoUpload2,
                                  const std::string& sUsuarioProxy,
                                  const std::string& sSenhaProxy,
                                  std::size_t sLimiteBytes = 0,
                                  bool* sTamanhoAnunciado = nullptr);

// Uploads are not allowed: always raises -107 "Não é Permitido UPLOAD".
[[noreturn]] std::string CorpoUploadArquivo(const std::string& sArquivoUpload1,
                                            const std::string& sArquivoUpload2);

// Called once per received chunk with its size in bytes. It runs the installed progress
// hook; without one (the update checker) it does nothing. An error the hook raises ends
// the request like any other failure of the read loop.
void AtualizaProgressoDownload(std::int32_t sBytes);

// The catalogue's update screen installs its progress display here (it looks at its own
// progress stage marker, "P2" while it downloads the listed files). Returns the hook it
// replaces; an empty function means none.
using GanchoProgressoDownload = std::function<void(std::int32_t sBytes)>;
GanchoProgressoDownload DefineGanchoProgressoDownload(GanchoProgressoDownload gancho);

// The update address of UMREGISTRO: the host (a ":port" stays with it) and the base path
// (ending with "/", or empty) that the server's file names follow. Only "http://" is cut
// off the front, in any case.
struct EnderecoAtualizacao {
    std::string Servidor;
    std::string CaminhoBase;
};
EnderecoAtualizacao LeEnderecoAtualizacao(const std::string& url);
// The catalogue's one row of update facts: UrlAtualizacao and the installed Versao.
std::string ConsultaEnderecoAtualizacao();

// The connect, send and receive time-out of every request, in milliseconds (60000 unless
// changed; tests shorten it). A reply that trickles in slower than about 100 bytes a second
// for that long ends as the time-out (12002) too. Returns the value it replaces.
std::uint32_t DefineTempoLimiteInternet(std::uint32_t milissegundos);

// The proxy log-in dialog's labels from the message table (82 user name, 83 password) in the
// system's language, as the original's dialog, the system's own, followed the system:
// Portuguese, Spanish, and English for any other. Both programs call it at start.
void TraduzDialogoProxy();
