// A small HTTP layer with the handles, calls, option numbers and error codes of WinINet,
// over libcurl: a session (agent and proxy settings), a connection (host and port) and
// requests on it (verb, object, headers, options, send, status, reading the body in
// chunks). Requests go out over plain HTTP; a GET or HEAD follows the server's redirects
// (at most 10, to http or https only), so a redirect may reach a TLS layer, where the
// certificate options apply.
//
// Every call sets the last error code (GetLastError): 0 after success, one of the codes
// below after a failure. The handles belong to the one thread that uses them (the
// user-interface thread); the calls are not meant to be made from several threads at once.
// A send or a read waits for the network in short steps and runs the wait hook between them
// (SetWaitHook), so that the caller's windows stay alive during every wait.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace net {

using DWORD = std::uint32_t;
using HINTERNET = std::uint32_t;   // 0 = no handle

// InternetOpen access types.
constexpr DWORD INTERNET_OPEN_TYPE_PRECONFIG = 0;   // the system's proxy settings (http_proxy, no_proxy)
constexpr DWORD INTERNET_OPEN_TYPE_DIRECT = 1;
constexpr DWORD INTERNET_OPEN_TYPE_PROXY = 3;

constexpr std::uint16_t INTERNET_DEFAULT_HTTP_PORT = 80;
constexpr DWORD INTERNET_SERVICE_HTTP = 3;

// HttpOpenRequest flags.
constexpr DWORD INTERNET_FLAG_RELOAD = 0x80000000;
constexpr DWORD INTERNET_FLAG_NO_CACHE_WRITE = 0x04000000;
constexpr DWORD INTERNET_FLAG_KEEP_CONNECTION = 0x00400000;
constexpr DWORD INTERNET_FLAG_PRAGMA_NOCACHE = 0x00000100;

// HttpAddRequestHeaders modifiers.
constexpr DWORD HTTP_ADDREQ_FLAG_ADD = 0x20000000;
constexpr DWORD HTTP_ADDREQ_FLAG_REPLACE = 0x80000000;

// InternetSetOption options.
constexpr DWORD INTERNET_OPTION_CONNECT_TIMEOUT = 2;
constexpr DWORD INTERNET_OPTION_SEND_TIMEOUT = 5;
constexpr DWORD INTERNET_OPTION_RECEIVE_TIMEOUT = 6;
constexpr DWORD INTERNET_OPTION_SECURITY_FLAGS = 31;
constexpr DWORD INTERNET_OPTION_PROXY_USERNAME = 43;
constexpr DWORD INTERNET_OPTION_PROXY_PASSWORD = 44;
constexpr DWORD SECURITY_FLAG_IGNORE_UNKNOWN_CA = 0x100;

// HttpQueryInfo.
constexpr DWORD HTTP_QUERY_CONTENT_LENGTH = 5;
constexpr DWORD HTTP_QUERY_STATUS_CODE = 19;
constexpr DWORD HTTP_QUERY_FLAG_NUMBER = 0x20000000;

// InternetErrorDlg flags.
constexpr DWORD FLAGS_ERROR_UI_FILTER_FOR_ERRORS = 0x01;
constexpr DWORD FLAGS_ERROR_UI_FLAGS_CHANGE_OPTIONS = 0x02;
constexpr DWORD FLAGS_ERROR_UI_FLAGS_GENERATE_DATA = 0x04;

// Error codes.
constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD ERROR_INVALID_HANDLE = 6;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
constexpr DWORD ERROR_CANCELLED = 1223;
constexpr DWORD ERROR_INTERNET_TIMEOUT = 12002;
constexpr DWORD ERROR_INTERNET_INTERNAL_ERROR = 12004;
constexpr DWORD ERROR_INTERNET_INVALID_URL = 12005;
constexpr DWORD ERROR_INTERNET_NAME_NOT_RESOLVED = 12007;
constexpr DWORD ERROR_INTERNET_INVALID_OPTION = 12009;
constexpr DWORD ERROR_INTERNET_INCORRECT_PASSWORD = 12014;
constexpr DWORD ERROR_INTERNET_OPERATION_CANCELLED = 12017;
constexpr DWORD ERROR_INTERNET_INCORRECT_HANDLE_TYPE = 12018;
constexpr DWORD ERROR_INTERNET_INCORRECT_HANDLE_STATE = 12019;
constexpr DWORD ERROR_INTERNET_CANNOT_CONNECT = 12029;
constexpr DWORD ERROR_INTERNET_CONNECTION_ABORTED = 12030;
constexpr DWORD ERROR_INTERNET_CONNECTION_RESET = 12031;
constexpr DWORD ERROR_INTERNET_FORCE_RETRY = 12032;
constexpr DWORD ERROR_INTERNET_INVALID_CA = 12045;
constexpr DWORD ERROR_HTTP_HEADER_NOT_FOUND = 12150;
constexpr DWORD ERROR_HTTP_INVALID_SERVER_RESPONSE = 12152;
constexpr DWORD ERROR_HTTP_REDIRECT_FAILED = 12156;   // too many redirects, or one to another scheme

DWORD GetLastError();
// What the last failure was, in plain words, where the code alone does not tell it (which of
// the causes of ERROR_HTTP_REDIRECT_FAILED, and the address); empty otherwise.
std::string InternetGetLastResponseInfo();

HINTERNET InternetOpen(const std::string& agent, DWORD accessType, const std::string& proxy,
                       const std::string& proxyBypass, DWORD flags);
// Checks the server name and port; no network traffic happens before a request is sent.
HINTERNET InternetConnect(HINTERNET session, const std::string& serverName, std::uint16_t port,
                          const std::string& userName, const std::string& password,
                          DWORD service, DWORD flags, std::uintptr_t context);
// The object is the path on the server; a leading "/" is optional, unsafe characters are
// percent-encoded.
HINTERNET HttpOpenRequest(HINTERNET connection, const std::string& verb,
                          const std::string& objectName, const std::string& version,
                          const std::string& referrer, DWORD flags, std::uintptr_t context);
// One or more "Name: value" lines (CR LF between them).
bool HttpAddRequestHeaders(HINTERNET request, const std::string& headers, DWORD modifiers);
// The receive time-out also bounds a reply that arrives but hardly moves: one that stays
// below 100 bytes a second for that long (whole seconds, at least one) ends as
// ERROR_INTERNET_TIMEOUT, however steadily its bytes trickle in.
bool InternetSetOption(HINTERNET handle, DWORD option, DWORD value);
bool InternetSetOptionStr(HINTERNET handle, DWORD option, const std::string& value);
// Sends the request and waits until the reply's status line and headers have arrived (or
// the transfer failed). A request may be sent again; the earlier reply is dropped. A
// redirect (3xx with a Location) of a GET or HEAD is followed, with the request's headers
// and proxy credentials; the status and body are then those of the last address. A loop,
// more than 10 redirects, or one to a scheme other than http or https fails with
// ERROR_HTTP_REDIRECT_FAILED.
bool HttpSendRequest(HINTERNET request, const std::string& headers, const void* optional,
                     std::size_t optionalLength);
// Only HTTP_QUERY_STATUS_CODE and HTTP_QUERY_CONTENT_LENGTH, each with HTTP_QUERY_FLAG_NUMBER,
// are known. A reply without a length (its body ends where the connection closes) gives
// False and ERROR_HTTP_HEADER_NOT_FOUND; so does a length beyond 32 bits.
bool HttpQueryInfo(HINTERNET request, DWORD infoLevel, DWORD& value);
// Reads up to toRead bytes of the body. True with 0 bytes only at the complete end of the
// body: a body cut short (fewer bytes than the server announced, a reset, a time-out)
// makes the read fail.
bool InternetReadFile(HINTERNET request, void* buffer, DWORD toRead, DWORD& bytesRead);
// Closing a session or connection closes what was opened on it. An unknown or already
// closed handle gives False and ERROR_INVALID_HANDLE. A request closed (with what it was
// opened on) from inside the wait hook ends its waiting send or read with False and
// ERROR_INTERNET_OPERATION_CANCELLED; a send or read of a request that is already waiting
// gives False and ERROR_INTERNET_INCORRECT_HANDLE_STATE.
bool InternetCloseHandle(HINTERNET handle);

// Runs between the short steps of every wait of a send or a read (at most about 20 ms
// apart while nothing arrives). None by default. Returns the hook it replaces.
using WaitHook = std::function<void()>;
WaitHook SetWaitHook(WaitHook hook);

// The proxy log-in dialog. With FLAGS_ERROR_UI_FLAGS_CHANGE_OPTIONS the answers become the
// request's proxy user name and password. Returns ERROR_INTERNET_FORCE_RETRY when the user
// confirmed, ERROR_CANCELLED when cancelled, ERROR_SUCCESS when the request's last reply
// asked for no proxy log-in (status other than 407).
DWORD InternetErrorDlg(std::uintptr_t parentWindow, HINTERNET request, DWORD error, DWORD flags,
                       void** data);

// The dialog behind InternetErrorDlg: gets the proxy's name and the current user name and
// password, may change them, and answers True for OK. The default is a small Qt dialog
// (cancelled at once when no QApplication runs). Returns the seam it replaces.
using ProxyLoginDialog =
    std::function<bool(const std::string& proxy, std::string& userName, std::string& password)>;
ProxyLoginDialog SetProxyLoginDialog(ProxyLoginDialog dialog);
bool DefaultProxyLoginDialog(const std::string& proxy, std::string& userName, std::string& password);
// The labels of the default dialog's two boxes, in the system's language (the original's
// dialog was the system's own); "User:" and "Password:" until set. Its buttons are Qt's.
void SetProxyLoginTexts(const std::string& userLabel, const std::string& passwordLabel);

}  // namespace net
