// The libcurl GET: a multi handle polled in short slices, with the Qt events dispatched
// between them, rather than a blocking call that would freeze every window.
#include "platform/HttpClient.h"

#include <utility>

#include <curl/curl.h>

#include <QCoreApplication>

#include "base/Translate.h"

namespace {

// Slice of waiting between two rounds of event dispatching.
constexpr int kPumpIntervalMs = 20;

bool requestRunning = false;

struct Body {
  std::string Text;
  size_t Max;
  bool TooLong = false;
};

size_t collectBody(char* data, size_t size, size_t count, void* user) {
  Body& body = *static_cast<Body*>(user);
  const size_t n = size * count;
  if (n > body.Max - body.Text.size()) {
    body.TooLong = true;
    return 0;  // anything short of n ends the transfer
  }
  body.Text.append(data, n);
  return n;
}

void initialiseOnce() {
  static const bool done = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  if (!done) throw THttpError(_("HTTP request failed") + ": curl_global_init");
}

std::string proxyAddress(const std::string& host, const std::string& port) {
  if (host.empty()) return {};
  return port.empty() ? host : host + ":" + port;
}

// Every mode sets the proxy, an empty one included: libcurl then ignores http_proxy and
// all_proxy; an empty no-proxy list keeps no_proxy from bypassing a chosen proxy.
void applyProxy(CURL* h, const ProxyFields& p) {
  std::string address;
  if (p.ProxyType == 1) {
    address = proxyAddress(p.HttpIP, p.HttpPort);
    curl_easy_setopt(h, CURLOPT_PROXYTYPE, static_cast<long>(CURLPROXY_HTTP));
  } else if (p.ProxyType == 2) {
    address = proxyAddress(p.SocksIP, p.SocksPort);
    curl_easy_setopt(h, CURLOPT_PROXYTYPE, static_cast<long>(CURLPROXY_SOCKS5));
  }
  curl_easy_setopt(h, CURLOPT_PROXY, address.c_str());
  if (p.ProxyType == 1 || p.ProxyType == 2) curl_easy_setopt(h, CURLOPT_NOPROXY, "");
}

struct Handles {
  CURL* easy = curl_easy_init();
  CURLM* multi = curl_multi_init();
  curl_slist* headers = nullptr;
  ~Handles() {
    if (multi && easy) curl_multi_remove_handle(multi, easy);
    if (multi) curl_multi_cleanup(multi);
    if (easy) curl_easy_cleanup(easy);
    curl_slist_free_all(headers);
  }
};

class RunningFlag {
public:
  RunningFlag() {
    if (requestRunning) throw THttpError(_("Another HTTP request is still running"));
    requestRunning = true;
  }
  ~RunningFlag() { requestRunning = false; }
};

void dispatchEvents() {
  if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::AllEvents, kPumpIntervalMs);
}

}  // namespace

std::string httpGet(const THttpRequest& request) {
  initialiseOnce();
  RunningFlag running;
  Handles hs;
  if (!hs.easy || !hs.multi) throw THttpError(_("HTTP request failed") + ": curl_easy_init");
  CURL* h = hs.easy;
  Body body{{}, request.MaxBodyBytes};
  char errorText[CURL_ERROR_SIZE] = {};
  const std::string accept = "Accept: " + request.Accept;
  hs.headers = curl_slist_append(nullptr, accept.c_str());

  curl_easy_setopt(h, CURLOPT_URL, request.Url.c_str());
  curl_easy_setopt(h, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
  curl_easy_setopt(h, CURLOPT_HTTPHEADER, hs.headers);
  curl_easy_setopt(h, CURLOPT_USERAGENT, request.UserAgent.c_str());
  curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(h, CURLOPT_MAXREDIRS, request.MaxRedirects);
  curl_easy_setopt(h, CURLOPT_FAILONERROR, 1L);
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, request.ConnectTimeoutMs);
  curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, request.TimeoutMs);
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorText);
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, collectBody);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, &body);
  // A declared length past the limit fails before any of the body is read.
  curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(request.MaxBodyBytes));
  applyProxy(h, request.Proxy);

  curl_multi_add_handle(hs.multi, h);
  int active = 1;
  while (active) {
    if (curl_multi_perform(hs.multi, &active) != CURLM_OK) break;
    if (!active) break;
    curl_multi_poll(hs.multi, nullptr, 0, kPumpIntervalMs, nullptr);
    dispatchEvents();
  }
  CURLcode result = CURLE_FAILED_INIT;
  int left = 0;
  while (CURLMsg* message = curl_multi_info_read(hs.multi, &left))
    if (message->msg == CURLMSG_DONE) result = message->data.result;
  if (body.TooLong || result == CURLE_FILESIZE_EXCEEDED)
    throw THttpBodyTooLong(_("HTTP request failed") + ": " + curl_easy_strerror(CURLE_FILESIZE_EXCEEDED));
  if (result != CURLE_OK) {
    const std::string detail = errorText[0] ? errorText : curl_easy_strerror(result);
    throw THttpError(_("HTTP request failed") + ": " + detail);
  }
  return std::move(body.Text);
}
