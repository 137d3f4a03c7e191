// Proxy settings: the pair's parse and format, and the environment as its source.
#include "platform/ProxyStore.h"

#include <cstdlib>

#include "base/NumberText.h"

namespace {

// "host:port" -> host and port. A bracketed IPv6 host keeps its colons; an entry without a
// port gives the whole text as host and an empty port.
void splitHostPort(std::string_view rest, std::string& host, std::string& port) {
  size_t from = 0;
  if (!rest.empty() && rest.front() == '[') {
    size_t close = rest.find(']');
    if (close != std::string_view::npos) from = close;
  }
  size_t colon = rest.find(':', from);
  if (colon == std::string_view::npos) {
    host = std::string(rest);
    port.clear();
    return;
  }
  host = std::string(rest.substr(0, colon));
  port = std::string(rest.substr(colon + 1));
}

}  // namespace

void parseProxySettings(const ProxyRegistryValues& values, ProxyFields& fields) {
  if (!values.HasEnable || values.ProxyEnable == 0) {
    fields.ProxyType = 0;
    return;
  }
  const std::string& server = values.ProxyServer;
  size_t pos = 0;
  while (pos <= server.size()) {
    size_t end = server.find_first_of("; \t", pos);
    if (end == std::string::npos) end = server.size();
    std::string entry = toLowerAscii(std::string_view(server).substr(pos, end - pos));
    pos = end + 1;
    if (entry.rfind("http=", 0) == 0) {
      fields.ProxyType = 1;
      splitHostPort(std::string_view(entry).substr(5), fields.HttpIP, fields.HttpPort);
    } else if (entry.rfind("socks=", 0) == 0) {
      fields.ProxyType = 2;
      splitHostPort(std::string_view(entry).substr(6), fields.SocksIP, fields.SocksPort);
    }
  }
}

void formatProxySettings(const ProxyFields& fields, ProxyRegistryValues& values) {
  values.HasEnable = true;
  switch (fields.ProxyType) {
    case 1:
      values.ProxyEnable = 1;
      values.ProxyServer = "http=" + fields.HttpIP + ":" + fields.HttpPort;
      break;
    case 2:
      values.ProxyEnable = 1;
      values.ProxyServer = "socks=" + fields.SocksIP + ":" + fields.SocksPort;
      break;
    default:
      values.ProxyEnable = 0;
      break;
  }
}

std::string proxyHostPort(std::string_view url) {
  std::string_view s = url;
  size_t scheme = s.find("://");
  if (scheme != std::string_view::npos) s.remove_prefix(scheme + 3);
  size_t slash = s.find('/');
  if (slash != std::string_view::npos) s = s.substr(0, slash);
  size_t at = s.rfind('@');
  if (at != std::string_view::npos) s.remove_prefix(at + 1);
  std::string hostPort = trim(s);
  if (hostPort.empty()) return {};
  std::string host, port;
  splitHostPort(hostPort, host, port);
  if (host.empty()) return {};
  return host + ":" + (port.empty() ? "1080" : port);
}

ProxyRegistryValues proxyValuesFromEnvironment(
    const std::function<const char*(const char*)>& getEnv) {
  auto firstSet = [&](const char* a, const char* b) -> std::string {
    for (const char* name : {a, b}) {
      const char* v = getEnv(name);
      if (v && *v) return trim(v);
    }
    return {};
  };
  ProxyRegistryValues values;
  values.HasEnable = true;
  std::string entries;
  std::string all = firstSet("all_proxy", "ALL_PROXY");
  if (toLowerAscii(all).rfind("socks", 0) == 0) {
    std::string hp = proxyHostPort(all);
    if (!hp.empty()) entries = "socks=" + hp;
  }
  std::string http = firstSet("http_proxy", "HTTP_PROXY");
  if (!http.empty()) {
    std::string hp = proxyHostPort(http);
    if (!hp.empty()) entries += (entries.empty() ? "" : ";") + std::string("http=") + hp;
  }
  values.ProxyEnable = entries.empty() ? 0 : 1;
  values.ProxyServer = entries;
  return values;
}

ProxyStore::ProxyStore()
    : values_(proxyValuesFromEnvironment([](const char* n) { return std::getenv(n); })) {}
