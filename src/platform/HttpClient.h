// One HTTP GET at a time over libcurl. The proxy is always set from the caller's fields, so
// the environment's proxy variables never decide; while the request waits, the window's
// events keep being dispatched, so windows repaint and timers fire.
#pragma once
#include <cstddef>
#include <stdexcept>
#include <string>

#include "platform/ProxyStore.h"

struct THttpRequest {
  std::string Url;  // http or https only, redirections included
  std::string Accept;
  std::string UserAgent;
  ProxyFields Proxy;  // mode 1 HTTP proxy, 2 SOCKS 5 proxy, any other value none
  long ConnectTimeoutMs = 20000;
  long TimeoutMs = 120000;
  long MaxRedirects = 5;
  size_t MaxBodyBytes = 1024 * 1024;  // a longer body fails the request (THttpBodyTooLong)
};

// A failed request: no connection, a proxy failure, a time-out, a status of 400 or more,
// too many redirections, another protocol. The message is ready for the error box.
class THttpError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// The body grew past the request's limit: the transfer was cut off there, so an endless
// answer cannot fill the memory.
class THttpBodyTooLong : public THttpError {
public:
  using THttpError::THttpError;
};

// The whole response body. Throws THttpError; a second request while one runs is refused.
std::string httpGet(const THttpRequest& request);
