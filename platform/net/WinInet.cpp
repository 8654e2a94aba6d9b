// The WinINet-like layer over libcurl. Each request runs one curl easy handle on its own
// multi handle, driven from the calling thread: HttpSendRequest drives it until the reply's
// headers are in, InternetReadFile until the next chunk of the body is; the wait hook runs
// between the steps. The body waits in a small buffer; when that is full the transfer is
// paused, so a large body never piles up in memory. Connections to one server are shared
// between its requests (keep-alive).
#include "platform/net/WinInet.h"

#include <curl/curl.h>

#include <arpa/inet.h>
#include <strings.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

namespace net {

namespace {

using Clock = std::chrono::steady_clock;

thread_local DWORD lastError = ERROR_SUCCESS;
thread_local std::string lastErrorText;

bool Succeed() {
    lastError = ERROR_SUCCESS;
    lastErrorText.clear();
    return true;
}
bool Fail(DWORD code, std::string text = {}) {
    lastError = code;
    lastErrorText = std::move(text);
    return false;
}
HINTERNET FailHandle(DWORD code) {
    lastError = code;
    lastErrorText.clear();
    return 0;
}

// Enough for a few curl deliveries; the reader takes 4 KB at a time.
constexpr std::size_t kMaxBuffered = 64 * 1024;
// Below this many bytes a second for the whole receive time-out, a reply counts as stalled.
constexpr long kLowSpeedLimit = 100;
// Redirects one request follows before it counts as a loop.
constexpr long kMaxRedirects = 10;

enum class Kind { Session, Connection, Request };

struct Options {
    DWORD connectTimeout = 60000;
    DWORD sendTimeout = 60000;
    DWORD receiveTimeout = 60000;
    DWORD securityFlags = 0;
};

struct Object {
    explicit Object(Kind k) : kind(k) {}
    virtual ~Object() = default;
    Kind kind;
    HINTERNET parent = 0;
    std::vector<HINTERNET> children;
    Options options;
};

struct Session : Object {
    Session() : Object(Kind::Session) {}
    std::string agent;
    DWORD accessType = INTERNET_OPEN_TYPE_PRECONFIG;
    std::string proxy;
    std::string bypass;
};

struct Connection : Object {
    Connection() : Object(Kind::Connection) {}
    ~Connection() override {
        if (share) curl_share_cleanup(share);
    }
    const Session* session = nullptr;
    std::string host;
    std::uint16_t port = INTERNET_DEFAULT_HTTP_PORT;
    CURLSH* share = nullptr;
};

struct Request : Object {
    Request() : Object(Kind::Request) {}
    ~Request() override { Stop(); }

    void Stop() {
        if (easy) {
            if (multi) curl_multi_remove_handle(multi, easy);
            curl_easy_cleanup(easy);
            easy = nullptr;
        }
        if (multi) {
            curl_multi_cleanup(multi);
            multi = nullptr;
        }
        if (headerList) {
            curl_slist_free_all(headerList);
            headerList = nullptr;
        }
    }

    std::size_t Available() const { return buffer.size() - position; }

    const Connection* connection = nullptr;
    std::string verb;
    std::string url;
    DWORD flags = 0;
    std::vector<std::string> headers;
    std::string proxyUser;
    std::string proxyPassword;

    // The transfer of the last send.
    CURLM* multi = nullptr;
    CURL* easy = nullptr;
    curl_slist* headerList = nullptr;
    std::string body;
    bool sent = false;
    bool headersDone = false;
    bool authPending = false;   // a 401/407 block whose body may never come: curl may retry
    bool follow = false;        // redirects are followed (GET and HEAD)
    bool blockLocation = false; // the block being read names a new address
    bool redirectPending = false;   // a redirect block: curl goes on to the new address
    std::string location;       // the address of the last redirect block
    bool done = false;
    bool paused = false;
    bool connected = false;
    bool waiting = false;   // a send or read of this request is driving it
    CURLcode result = CURLE_OK;
    DWORD status = 0;
    DWORD blockStatus = 0;
    std::string buffer;
    std::size_t position = 0;
    Clock::time_point lastActivity;
};

std::map<HINTERNET, std::unique_ptr<Object>>& Table() {
    static std::map<HINTERNET, std::unique_ptr<Object>> table;
    return table;
}

HINTERNET nextHandle = 1;

HINTERNET Store(std::unique_ptr<Object> object) {
    // Handles are never reused, so a stale handle can never reach a newer object.
    const HINTERNET handle = nextHandle++;
    if (object->parent) Table().at(object->parent)->children.push_back(handle);
    Table().emplace(handle, std::move(object));
    return handle;
}

template <class T>
T* Find(HINTERNET handle, Kind kind) {
    const auto it = Table().find(handle);
    if (it == Table().end() || it->second->kind != kind) return nullptr;
    return static_cast<T*>(it->second.get());
}

Object* FindAny(HINTERNET handle) {
    const auto it = Table().find(handle);
    return it == Table().end() ? nullptr : it->second.get();
}

void CloseTree(HINTERNET handle) {
    const auto it = Table().find(handle);
    if (it == Table().end()) return;
    // Children first: a request's easy handle must go before its connection's share.
    const std::vector<HINTERNET> children = it->second->children;
    for (HINTERNET child : children) CloseTree(child);
    Table().erase(handle);
}

void GlobalInit() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

DWORD FromCurl(CURLcode code) {
    switch (code) {
    case CURLE_OK: return ERROR_SUCCESS;
    case CURLE_COULDNT_CONNECT: return ERROR_INTERNET_CANNOT_CONNECT;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY: return ERROR_INTERNET_NAME_NOT_RESOLVED;
    case CURLE_OPERATION_TIMEDOUT: return ERROR_INTERNET_TIMEOUT;
    case CURLE_URL_MALFORMAT:
    case CURLE_UNSUPPORTED_PROTOCOL: return ERROR_INTERNET_INVALID_URL;
    case CURLE_PEER_FAILED_VERIFICATION: return ERROR_INTERNET_INVALID_CA;
    case CURLE_SEND_ERROR:
    case CURLE_PARTIAL_FILE:
    case CURLE_ABORTED_BY_CALLBACK: return ERROR_INTERNET_CONNECTION_ABORTED;
    case CURLE_RECV_ERROR: return ERROR_INTERNET_CONNECTION_RESET;
    case CURLE_GOT_NOTHING:
    case CURLE_WEIRD_SERVER_REPLY: return ERROR_HTTP_INVALID_SERVER_RESPONSE;
    default: return ERROR_INTERNET_INTERNAL_ERROR;
    }
}

bool ValidHost(const std::string& host) {
    if (host.empty()) return false;
    if (host.find(':') != std::string::npos) {
        in6_addr address{};
        return ::inet_pton(AF_INET6, host.c_str(), &address) == 1;
    }
    for (unsigned char c : host)
        if (!(std::isalnum(c) || c == '-' || c == '.' || c == '_')) return false;
    return true;
}

std::string EncodeObject(std::string_view object) {
    if (!object.empty() && object.front() == '/') object.remove_prefix(1);
    static const char* hex = "0123456789ABCDEF";
    std::string out = "/";
    for (unsigned char c : object) {
        if (c <= 0x20 || c >= 0x7F || std::strchr("\"<>\\^`{|}#", c)) {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

// --- curl callbacks --------------------------------------------------------------------

std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* user) {
    auto* r = static_cast<Request*>(user);
    const std::string_view line(data, size * count);
    r->lastActivity = Clock::now();
    if (line.substr(0, 5) == "HTTP/") {
        // A new reply: an interim one, or the one after curl answered a log-in request.
        r->headersDone = false;
        r->authPending = false;
        r->redirectPending = false;
        r->blockLocation = false;
        r->blockStatus = 0;
        const std::size_t space = line.find(' ');
        if (space != std::string_view::npos) {
            DWORD code = 0;
            for (std::size_t i = space + 1; i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])); ++i)
                code = code * 10 + static_cast<DWORD>(line[i] - '0');
            r->blockStatus = code;
        }
    } else if (line == "\r\n" || line == "\n") {
        if (r->blockStatus >= 200) {
            r->status = r->blockStatus;
            // curl may answer a log-in request itself and send again, and follows a redirect
            // to its new address; such a reply is only final once its body arrives or the
            // transfer ends.
            if (r->blockStatus == 401 || r->blockStatus == 407) r->authPending = true;
            else if (r->follow && r->blockLocation && r->blockStatus >= 300 && r->blockStatus < 400)
                r->redirectPending = true;
            else r->headersDone = true;
        }
    } else if (line.size() > 9 && strncasecmp(line.data(), "Location:", 9) == 0) {
        std::string_view value = line.substr(9);
        while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
        while (!value.empty() && (value.back() == '\r' || value.back() == '\n' || value.back() == ' '))
            value.remove_suffix(1);
        r->blockLocation = !value.empty();
        // Kept for the error's words only: a server's overlong address is cut there.
        constexpr std::size_t kShown = 300;
        r->location = value.size() > kShown ? std::string(value.substr(0, kShown)) + "..." : std::string(value);
    }
    return size * count;
}

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto* r = static_cast<Request*>(user);
    if (r->Available() >= kMaxBuffered) {
        r->paused = true;
        return CURL_WRITEFUNC_PAUSE;
    }
    if (r->authPending || r->redirectPending) {
        r->authPending = r->redirectPending = false;
        r->headersDone = true;
    }
    if (r->position > 0 && r->position == r->buffer.size()) {
        r->buffer.clear();
        r->position = 0;
    }
    r->buffer.append(data, size * count);
    r->lastActivity = Clock::now();
    return size * count;
}

int OnConnected(void* user, char*, char*, int, int) {
    auto* r = static_cast<Request*>(user);
    r->connected = true;
    r->lastActivity = Clock::now();
    return CURL_PREREQFUNC_OK;
}

void Finish(Request& r, CURLcode code) {
    r.done = true;
    r.result = code;
    if (r.authPending) {
        r.authPending = false;
        r.headersDone = true;
    }
    // A redirect that was not followed to its end is no reply: the send fails.
    if (r.redirectPending) {
        r.redirectPending = false;
        if (code == CURLE_OK) r.headersDone = true;
    }
}

// Why a redirect could not be followed, in plain words; empty for other failures.
std::string RedirectFailure(const Request& r) {
    if (r.result == CURLE_TOO_MANY_REDIRECTS)
        return "too many redirects (more than " + std::to_string(kMaxRedirects) + "), the last to " + r.location;
    if (r.status >= 300 && r.status < 400 && !r.location.empty() &&
        (r.result == CURLE_UNSUPPORTED_PROTOCOL || r.result == CURLE_URL_MALFORMAT))
        return "redirect to an unsupported address: " + r.location;
    return {};
}

WaitHook& Hook() {
    static WaitHook hook;
    return hook;
}

// Drives the transfer until `ready` holds or it has ended. The connect time-out is curl's;
// the send and receive time-outs are the longest silence once connected (and the receive
// time-out curl's low-speed time). The wait hook runs before each short wait; false when it
// closed the request, which is gone then.
template <class Ready>
bool Drive(HINTERNET handle, Request& r, Ready ready) {
    r.waiting = true;
    while (!r.done && !ready()) {
        int running = 0;
        if (curl_multi_perform(r.multi, &running) != CURLM_OK) {
            curl_multi_remove_handle(r.multi, r.easy);
            Finish(r, CURLE_RECV_ERROR);
            break;
        }
        int queued = 0;
        while (CURLMsg* message = curl_multi_info_read(r.multi, &queued))
            if (message->msg == CURLMSG_DONE) Finish(r, message->data.result);
        if (r.done || ready()) break;
        if (r.connected && !r.paused) {
            curl_off_t uploaded = 0;
            curl_easy_getinfo(r.easy, CURLINFO_SIZE_UPLOAD_T, &uploaded);
            const bool sending = static_cast<std::size_t>(uploaded) < r.body.size();
            const DWORD limit = sending ? r.options.sendTimeout : r.options.receiveTimeout;
            if (limit > 0 && Clock::now() - r.lastActivity > std::chrono::milliseconds(limit)) {
                curl_multi_remove_handle(r.multi, r.easy);
                Finish(r, CURLE_OPERATION_TIMEDOUT);
                break;
            }
        }
        // A copy: the hook may replace itself.
        if (const WaitHook hook = Hook()) {
            hook();
            if (!Find<Request>(handle, Kind::Request)) return false;   // handles are never reused
        }
        curl_multi_poll(r.multi, nullptr, 0, 20, nullptr);
    }
    r.waiting = false;
    return true;
}

void SplitHeaders(const std::string& text, std::vector<std::string>& into, bool replace) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        start = end + 1;
        const std::size_t colon = line.find(':');
        if (line.empty() || colon == std::string::npos || colon == 0) continue;
        if (replace) {
            const std::string name = line.substr(0, colon + 1);
            into.erase(std::remove_if(into.begin(), into.end(),
                                      [&](const std::string& h) {
                                          return h.size() >= name.size() &&
                                                 strncasecmp(h.c_str(), name.c_str(), name.size()) == 0;
                                      }),
                       into.end());
        }
        into.push_back(line);
    }
}

bool HasHeader(const std::vector<std::string>& headers, const char* name) {
    const std::size_t n = std::strlen(name);
    return std::any_of(headers.begin(), headers.end(), [&](const std::string& h) {
        return h.size() > n && h[n] == ':' && strncasecmp(h.c_str(), name, n) == 0;
    });
}

ProxyLoginDialog& LoginDialog();

}  // namespace

// The Qt dialog is in its own file, so that this one stays free of widgets.
namespace {
ProxyLoginDialog& LoginDialog() {
    static ProxyLoginDialog dialog = DefaultProxyLoginDialog;
    return dialog;
}
}  // namespace

DWORD GetLastError() { return lastError; }

std::string InternetGetLastResponseInfo() { return lastErrorText; }

HINTERNET InternetOpen(const std::string& agent, DWORD accessType, const std::string& proxy,
                       const std::string& proxyBypass, DWORD /*flags*/) {
    if (accessType != INTERNET_OPEN_TYPE_PRECONFIG && accessType != INTERNET_OPEN_TYPE_DIRECT &&
        accessType != INTERNET_OPEN_TYPE_PROXY)
        return FailHandle(ERROR_INVALID_PARAMETER);
    if (accessType == INTERNET_OPEN_TYPE_PROXY && proxy.empty())
        return FailHandle(ERROR_INVALID_PARAMETER);
    GlobalInit();
    auto session = std::make_unique<Session>();
    session->agent = agent;
    session->accessType = accessType;
    session->proxy = proxy;
    session->bypass = proxyBypass;
    const HINTERNET handle = Store(std::move(session));
    Succeed();
    return handle;
}

HINTERNET InternetConnect(HINTERNET session, const std::string& serverName, std::uint16_t port,
                          const std::string& /*userName*/, const std::string& /*password*/,
                          DWORD service, DWORD /*flags*/, std::uintptr_t /*context*/) {
    Session* s = Find<Session>(session, Kind::Session);
    if (!s) return FailHandle(ERROR_INVALID_HANDLE);
    if (service != INTERNET_SERVICE_HTTP) return FailHandle(ERROR_INVALID_PARAMETER);
    if (!ValidHost(serverName)) return FailHandle(ERROR_INTERNET_INVALID_URL);
    auto connection = std::make_unique<Connection>();
    connection->parent = session;
    connection->session = s;
    connection->options = s->options;
    connection->host = serverName;
    connection->port = port == 0 ? INTERNET_DEFAULT_HTTP_PORT : port;
    connection->share = curl_share_init();
    if (connection->share) curl_share_setopt(connection->share, CURLSHOPT_SHARE, CURL_LOCK_DATA_CONNECT);
    const HINTERNET handle = Store(std::move(connection));
    Succeed();
    return handle;
}

HINTERNET HttpOpenRequest(HINTERNET connection, const std::string& verb,
                          const std::string& objectName, const std::string& /*version*/,
                          const std::string& /*referrer*/, DWORD flags, std::uintptr_t /*context*/) {
    Connection* c = Find<Connection>(connection, Kind::Connection);
    if (!c) return FailHandle(ERROR_INVALID_HANDLE);
    auto request = std::make_unique<Request>();
    request->parent = connection;
    request->connection = c;
    request->options = c->options;
    request->verb = verb.empty() ? "GET" : verb;
    const std::string host = c->host.find(':') != std::string::npos ? "[" + c->host + "]" : c->host;
    request->url = "http://" + host + ":" + std::to_string(c->port) + EncodeObject(objectName);
    request->flags = flags;
    const HINTERNET handle = Store(std::move(request));
    Succeed();
    return handle;
}

bool HttpAddRequestHeaders(HINTERNET request, const std::string& headers, DWORD modifiers) {
    Request* r = Find<Request>(request, Kind::Request);
    if (!r) return Fail(ERROR_INVALID_HANDLE);
    SplitHeaders(headers, r->headers, (modifiers & HTTP_ADDREQ_FLAG_REPLACE) != 0);
    return Succeed();
}

bool InternetSetOption(HINTERNET handle, DWORD option, DWORD value) {
    Object* o = FindAny(handle);
    if (!o) return Fail(ERROR_INVALID_HANDLE);
    switch (option) {
    case INTERNET_OPTION_CONNECT_TIMEOUT: o->options.connectTimeout = value; break;
    case INTERNET_OPTION_SEND_TIMEOUT: o->options.sendTimeout = value; break;
    case INTERNET_OPTION_RECEIVE_TIMEOUT: o->options.receiveTimeout = value; break;
    case INTERNET_OPTION_SECURITY_FLAGS:
        if (o->kind != Kind::Request) return Fail(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
        o->options.securityFlags = value;
        break;
    default: return Fail(ERROR_INTERNET_INVALID_OPTION);
    }
    return Succeed();
}

bool InternetSetOptionStr(HINTERNET handle, DWORD option, const std::string& value) {
    Object* o = FindAny(handle);
    if (!o) return Fail(ERROR_INVALID_HANDLE);
    if (option != INTERNET_OPTION_PROXY_USERNAME && option != INTERNET_OPTION_PROXY_PASSWORD)
        return Fail(ERROR_INTERNET_INVALID_OPTION);
    if (o->kind != Kind::Request) return Fail(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
    auto* r = static_cast<Request*>(o);
    (option == INTERNET_OPTION_PROXY_USERNAME ? r->proxyUser : r->proxyPassword) = value;
    return Succeed();
}

bool HttpSendRequest(HINTERNET request, const std::string& headers, const void* optional,
                     std::size_t optionalLength) {
    Request* r = Find<Request>(request, Kind::Request);
    if (!r) return Fail(ERROR_INVALID_HANDLE);
    if (r->waiting) return Fail(ERROR_INTERNET_INCORRECT_HANDLE_STATE);

    r->Stop();
    r->sent = true;
    r->headersDone = r->authPending = r->redirectPending = r->blockLocation = r->done = r->paused = r->connected = false;
    r->location.clear();
    r->result = CURLE_OK;
    r->status = r->blockStatus = 0;
    r->buffer.clear();
    r->position = 0;
    if (optional && optionalLength > 0) r->body.assign(static_cast<const char*>(optional), optionalLength);
    else r->body.clear();

    r->easy = curl_easy_init();
    r->multi = curl_multi_init();
    if (!r->easy || !r->multi) {
        r->Stop();
        return Fail(ERROR_INTERNET_INTERNAL_ERROR);
    }
    CURL* e = r->easy;
    const Session* s = r->connection->session;
    curl_easy_setopt(e, CURLOPT_URL, r->url.c_str());
    // Only http is asked for; a redirect may lead to https.
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(e, CURLOPT_USERAGENT, s->agent.c_str());
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, OnHeader);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, r);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, r);
    curl_easy_setopt(e, CURLOPT_PREREQFUNCTION, OnConnected);
    curl_easy_setopt(e, CURLOPT_PREREQDATA, r);
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(r->options.connectTimeout));
    if (r->options.receiveTimeout > 0) {
        // Bytes that trickle in keep the silence short, not the reply alive.
        curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, kLowSpeedLimit);
        curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME, static_cast<long>((r->options.receiveTimeout + 999) / 1000));
    }
    if (r->connection->share) curl_easy_setopt(e, CURLOPT_SHARE, r->connection->share);

    // Redirects are followed for the verbs that send no body, to http or https only, as
    // WinINet follows them without being asked.
    r->follow = r->verb == "GET" || r->verb == "HEAD";
    if (r->follow) {
        curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(e, CURLOPT_MAXREDIRS, kMaxRedirects);
        curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    }
    if (r->verb == "GET") {
        curl_easy_setopt(e, CURLOPT_HTTPGET, 1L);
    } else if (r->verb == "HEAD") {
        curl_easy_setopt(e, CURLOPT_NOBODY, 1L);
    } else {
        if (r->verb == "POST") curl_easy_setopt(e, CURLOPT_POST, 1L);
        else curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, r->verb.c_str());
        curl_easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(r->body.size()));
        curl_easy_setopt(e, CURLOPT_POSTFIELDS, r->body.data());
    }

    std::vector<std::string> all = r->headers;
    SplitHeaders(headers, all, false);
    if ((r->flags & INTERNET_FLAG_PRAGMA_NOCACHE) && !HasHeader(all, "Pragma"))
        all.push_back("Pragma: no-cache");
    if ((r->flags & INTERNET_FLAG_KEEP_CONNECTION) && !HasHeader(all, "Connection"))
        all.push_back("Connection: Keep-Alive");
    for (const std::string& h : all) r->headerList = curl_slist_append(r->headerList, h.c_str());
    if (r->headerList) curl_easy_setopt(e, CURLOPT_HTTPHEADER, r->headerList);

    if (s->accessType == INTERNET_OPEN_TYPE_DIRECT) {
        curl_easy_setopt(e, CURLOPT_PROXY, "");
    } else if (s->accessType == INTERNET_OPEN_TYPE_PROXY) {
        curl_easy_setopt(e, CURLOPT_PROXY, s->proxy.c_str());
        curl_easy_setopt(e, CURLOPT_NOPROXY, s->bypass.c_str());
    }
    // Otherwise curl reads http_proxy and no_proxy: the system's settings.
    if (!r->proxyUser.empty() || !r->proxyPassword.empty()) {
        curl_easy_setopt(e, CURLOPT_PROXYUSERNAME, r->proxyUser.c_str());
        curl_easy_setopt(e, CURLOPT_PROXYPASSWORD, r->proxyPassword.c_str());
        curl_easy_setopt(e, CURLOPT_PROXYAUTH, static_cast<long>(CURLAUTH_ANY));
    }
    if (r->options.securityFlags & SECURITY_FLAG_IGNORE_UNKNOWN_CA)
        curl_easy_setopt(e, CURLOPT_SSL_VERIFYPEER, 0L);

    r->lastActivity = Clock::now();
    if (curl_multi_add_handle(r->multi, e) != CURLM_OK) {
        r->Stop();
        return Fail(ERROR_INTERNET_INTERNAL_ERROR);
    }
    if (!Drive(request, *r, [r] { return r->headersDone; })) return Fail(ERROR_INTERNET_OPERATION_CANCELLED);
    if (r->headersDone) return Succeed();
    if (std::string why = RedirectFailure(*r); !why.empty()) return Fail(ERROR_HTTP_REDIRECT_FAILED, std::move(why));
    return Fail(r->result == CURLE_OK ? ERROR_HTTP_INVALID_SERVER_RESPONSE : FromCurl(r->result));
}

bool HttpQueryInfo(HINTERNET request, DWORD infoLevel, DWORD& value) {
    Request* r = Find<Request>(request, Kind::Request);
    if (!r) return Fail(ERROR_INVALID_HANDLE);
    if (infoLevel == (HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER)) {
        if (!r->headersDone || !r->easy) return Fail(ERROR_HTTP_HEADER_NOT_FOUND);
        curl_off_t length = -1;   // -1: the reply gave none
        if (curl_easy_getinfo(r->easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) != CURLE_OK || length < 0 ||
            length > static_cast<curl_off_t>(UINT32_MAX))
            return Fail(ERROR_HTTP_HEADER_NOT_FOUND);
        value = static_cast<DWORD>(length);
        return Succeed();
    }
    if (infoLevel != (HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER))
        return Fail(ERROR_INVALID_PARAMETER);
    if (!r->headersDone) return Fail(ERROR_HTTP_HEADER_NOT_FOUND);
    value = r->status;
    return Succeed();
}

bool InternetReadFile(HINTERNET request, void* buffer, DWORD toRead, DWORD& bytesRead) {
    bytesRead = 0;
    Request* r = Find<Request>(request, Kind::Request);
    if (!r) return Fail(ERROR_INVALID_HANDLE);
    if (!r->headersDone || r->waiting) return Fail(ERROR_INTERNET_INCORRECT_HANDLE_STATE);
    if (toRead == 0) return Succeed();
    if (r->Available() == 0 && !r->done) {
        if (r->paused) {
            r->paused = false;
            curl_easy_pause(r->easy, CURLPAUSE_CONT);
        }
        if (!Drive(request, *r, [r] { return r->Available() > 0; }))
            return Fail(ERROR_INTERNET_OPERATION_CANCELLED);
    }
    if (r->Available() > 0) {
        const std::size_t n = std::min<std::size_t>(toRead, r->Available());
        std::memcpy(buffer, r->buffer.data() + r->position, n);
        r->position += n;
        bytesRead = static_cast<DWORD>(n);
        return Succeed();
    }
    // The end: complete, or cut short.
    if (r->result == CURLE_OK) return Succeed();
    return Fail(FromCurl(r->result));
}

bool InternetCloseHandle(HINTERNET handle) {
    Object* o = FindAny(handle);
    if (!o) return Fail(ERROR_INVALID_HANDLE);
    if (o->parent) {
        if (Object* parent = FindAny(o->parent)) {
            auto& siblings = parent->children;
            siblings.erase(std::remove(siblings.begin(), siblings.end(), handle), siblings.end());
        }
    }
    CloseTree(handle);
    return Succeed();
}

DWORD InternetErrorDlg(std::uintptr_t /*parentWindow*/, HINTERNET request, DWORD /*error*/,
                       DWORD flags, void** /*data*/) {
    Request* r = Find<Request>(request, Kind::Request);
    if (!r) {
        lastError = ERROR_INVALID_HANDLE;
        return ERROR_INVALID_HANDLE;
    }
    lastError = ERROR_SUCCESS;
    if (!r->headersDone || r->status != 407) return ERROR_SUCCESS;
    const Session* s = r->connection->session;
    std::string proxy = s->accessType == INTERNET_OPEN_TYPE_PROXY ? s->proxy : std::string();
    if (proxy.empty() && s->accessType == INTERNET_OPEN_TYPE_PRECONFIG) {
        if (const char* env = std::getenv("http_proxy")) proxy = env;
    }
    std::string user = r->proxyUser;
    std::string password = r->proxyPassword;
    const ProxyLoginDialog dialog = LoginDialog();
    if (!dialog || !dialog(proxy, user, password)) return ERROR_CANCELLED;
    if (flags & FLAGS_ERROR_UI_FLAGS_CHANGE_OPTIONS) {
        r->proxyUser = user;
        r->proxyPassword = password;
    }
    return ERROR_INTERNET_FORCE_RETRY;
}

WaitHook SetWaitHook(WaitHook hook) {
    WaitHook previous = std::move(Hook());
    Hook() = std::move(hook);
    return previous;
}

ProxyLoginDialog SetProxyLoginDialog(ProxyLoginDialog dialog) {
    ProxyLoginDialog previous = std::move(LoginDialog());
    LoginDialog() = std::move(dialog);
    return previous;
}

}  // namespace net
