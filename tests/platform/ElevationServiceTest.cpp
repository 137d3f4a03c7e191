// The elevation service's texts, and the HTTP client against the fake service: failures,
// redirections, time-outs and the proxy modes under hostile proxy variables.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/ElevationService.h"
#include "platform/HttpClient.h"
#include "FakeElevationService.h"

TEST(ElevationService, RequestAddresses) {
  EXPECT_EQ(coordinateText(0.000001), "1E-6");
  EXPECT_EQ(coordinateText(6.25), "6.25");
  EXPECT_EQ(coordinateText(-45), "-45");
  EXPECT_EQ(pointQueryAddress("http://h/", "srtm3", 45.5, 6.25), "http://h/srtm3?lat=45.5&lng=6.25");
  EXPECT_EQ(batchQueryAddress("http://h/", "45.5,45.6", "6.25,6.3"), "http://h/srtm3?lats=45.5,45.6&lngs=6.25,6.3");
}

TEST(ElevationService, NormalisesAndReadsAnswers) {
  struct Case {
    const char* body;
    const char* normal;
    size_t count;
    std::vector<std::optional<double>> values;
  } cases[] = {
      {"\r\n \n12\n13\n\n\t", "12\r\n13", 2, {12, 13}},
      {"12\r13\r\n14", "12\r\n13\r\n14", 3, {12, 13, 14}},
      {"12", "12", 3, {12, std::nullopt, std::nullopt}},           // short: the rest keep theirs
      {"12\nn/a\n-32768\n0", "12\r\nn/a\r\n-32768\r\n0", 4, {12, std::nullopt, std::nullopt, 0}},
      {"1\n\n3", "1\r\n\r\n3", 3, {1, std::nullopt, 3}},           // an empty line is no value
      {"", "", 2, {std::nullopt, std::nullopt}},
      {"5\n6\n7", "5\r\n6\r\n7", 2, {5, 6}},                       // extra lines are ignored
  };
  for (const Case& c : cases) {
    const std::string normal = normalizeElevationAnswer(c.body);
    EXPECT_EQ(normal, c.normal) << c.body;
    EXPECT_EQ(parseBatchAnswer(normal, c.count), c.values) << c.body;
  }
}

namespace {

std::string get(const std::string& url, ProxyFields proxy = {}, long timeoutMs = 120000) {
  THttpRequest r;
  r.Url = url;
  r.Accept = "text/xml";
  r.UserAgent = "Tester/1";
  r.Proxy = std::move(proxy);
  r.TimeoutMs = timeoutMs;
  return httpGet(r);
}

}  // namespace

TEST(HttpClient, FailuresAndRedirections) {
  auto& fake = FakeElevationService::instance();
  struct Case {
    std::string mode;
    long timeoutMs;
    bool fails;
  } cases[] = {
      {"", 120000, false},           {"status404/", 120000, true}, {"status500/", 120000, true},
      {"status302/", 120000, false},  // a redirection without a target is an answer
      {"redirect5/", 120000, false}, {"redirect6/", 120000, true}, {"ftp/", 120000, true},
      {"close/", 120000, true},      {"delay1500/", 300, true},
  };
  for (const Case& c : cases) {
    std::string body;
    bool failed = false;
    try {
      body = get(fake.base(c.mode) + "srtm3?lat=1&lng=2", {}, c.timeoutMs);
    } catch (const THttpError& e) {
      failed = true;
      EXPECT_NE(std::string(e.what()).find("HTTP request failed: "), std::string::npos);
    }
    EXPECT_EQ(failed, c.fails) << c.mode;
    if (!c.fails && c.mode != "status302/") EXPECT_EQ(body, "100") << c.mode;
  }
  EXPECT_THROW(get("http://127.0.0.1:1/srtm3"), THttpError);  // refused
}

TEST(HttpClient, ProxyModesIgnoreTheEnvironment) {
  auto& fake = FakeElevationService::instance();
  const std::string dead = "127.0.0.1:1";
  const std::string http = std::to_string(fake.httpProxyPort()), socks = std::to_string(fake.socksPort());
  for (const char* noProxy : {"", "*", "127.0.0.1,localhost"}) {
    setenv("http_proxy", ("http://" + dead).c_str(), 1);
    setenv("all_proxy", ("socks5://" + dead).c_str(), 1);
    setenv("no_proxy", noProxy, 1);
    struct Case {
      ProxyFields proxy;
      std::string route;  // the log line before the service's own
    } cases[] = {
        {{0, "127.0.0.1", http, "127.0.0.1", socks}, ""},
        {{1, "127.0.0.1", http, "", ""}, "http-proxy "},
        {{2, "", "", "127.0.0.1", socks}, "socks5 127.0.0.1:"},
        {{7, "127.0.0.1", http, "127.0.0.1", socks}, ""},
    };
    fake.takeLog();
    for (const Case& c : cases) {
      EXPECT_EQ(get(fake.base() + "gtopo30?lat=4.5&lng=1", c.proxy), "45");
      const auto log = fake.takeLog();
      ASSERT_EQ(log.size(), c.route.empty() ? 1u : 2u) << int(c.proxy.ProxyType) << " " << noProxy;
      if (!c.route.empty()) EXPECT_EQ(log[0].rfind(c.route, 0), 0u) << log[0];
      EXPECT_EQ(log.back(), "service HTTP/1.0 ua=Tester/1 accept=text/xml /gtopo30?lat=4.5&lng=1");
    }
  }
  // A proxy that does not answer is a failure, not a silent direct request.
  EXPECT_THROW(get(fake.base() + "srtm3?lat=1&lng=1", {1, "127.0.0.1", "1", "", ""}), THttpError);
  EXPECT_THROW(get(fake.base() + "srtm3?lat=1&lng=1", {2, "", "", "127.0.0.1", "1"}), THttpError);
  for (const char* v : {"http_proxy", "all_proxy", "no_proxy"}) unsetenv(v);
}

TEST(ElevationService, OnePointDataSetsAndCredit) {
  auto& fake = FakeElevationService::instance();
  const double lat = 45.5;
  struct Case {
    uint8_t database;
    std::string mode;
    std::optional<double> value;
    int32_t cost;
    std::vector<const char*> sets;  // asked, in order
  } cases[] = {
      {0, "", fake.gtopo30(lat), 1, {"gtopo30"}},
      {1, "", fake.srtm3(lat), 2, {"srtm3"}},
      {2, "", fake.srtm3(lat), 2, {"srtm3"}},
      {9, "", fake.gtopo30(lat), 1, {"gtopo30"}},
      {1, "nodata/", std::nullopt, 2, {"srtm3"}},  // no value: the altitude stays
      {2, "nodata/", fake.gtopo30(lat), 3, {"srtm3", "gtopo30"}},
      {1, "garbage/", std::nullopt, 2, {"srtm3"}},
  };
  fake.takeLog();
  for (const Case& c : cases) {
    setElevationServiceAddress(fake.base(c.mode));
    TElevationSettings s;
    s.ElevationDatabase = c.database;
    int32_t credit = 0;
    EXPECT_EQ(queryPointElevation(s, lat, 6.25, credit), c.value) << int(c.database) << c.mode;
    EXPECT_EQ(credit, -c.cost) << int(c.database) << c.mode;
    const auto log = fake.takeLog();
    ASSERT_EQ(log.size(), c.sets.size());
    for (size_t i = 0; i < log.size(); ++i)
      EXPECT_NE(log[i].find(std::string(c.sets[i]) + "?lat=45.5&lng=6.25"), std::string::npos) << log[i];
  }
  setElevationServiceAddress(fake.base("status500/"));
  int32_t credit = 7;
  EXPECT_THROW(queryPointElevation({}, lat, 6.25, credit), THttpError);
  EXPECT_EQ(credit, 7);  // a failed request costs nothing
}
