// The elevation service's texts, and the HTTP client against the fake service: failures,
// redirections, time-outs and the proxy modes under hostile proxy variables.
#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>

#include "FakeElevationService.h"
#include "platform/ElevationService.h"
#include "platform/HttpClient.h"

TEST(ElevationService, RequestAddresses) {
  EXPECT_EQ(pointQueryAddress("http://h/", "srtm3", 0.000001, 6.25), "http://h/srtm3?lat=1E-6&lng=6.25");
  EXPECT_EQ(pointQueryAddress("http://h/", "gtopo30", -45, 0), "http://h/gtopo30?lat=-45&lng=0");
  // Plain down to 0.00001, near the equator and the prime meridian as anywhere else.
  EXPECT_EQ(pointQueryAddress("http://h/", "srtm3", 0.00001, -0.000015), "http://h/srtm3?lat=0.00001&lng=-0.000015");
  EXPECT_EQ(batchQueryAddress("http://h/", "45.5,45.6", "6.25,6.3"), "http://h/srtm3?lats=45.5,45.6&lngs=6.25,6.3");
}

TEST(ElevationService, NormalisesAndReadsAnswers) {
  const std::optional<double> none;
  struct Case { const char* body; const char* normal; size_t count; std::vector<std::optional<double>> values; };
  const Case cases[] = {
      {"\r\n \n12\n13\n\n\t", "12\r\n13", 2, {12, 13}},
      {"12\r13\r\n14", "12\r\n13\r\n14", 3, {12, 13, 14}},
      {"12", "12", 3, {12, none, none}},  // short: the rest keep their altitudes
      {"12\nn/a\n-32768\n0", "12\r\nn/a\r\n-32768\r\n0", 4, {12, none, none, 0}},
      {"1\n\n3", "1\r\n\r\n3", 3, {1, none, 3}},
      {"", "", 2, {none, none}},
      {"5\n6\n7", "5\r\n6\r\n7", 2, {5, 6}},
      // What the Earth does not hold is no value either.
      {"1E308\n-12000\n12000\n12000.5\n-12001", "1E308\r\n-12000\r\n12000\r\n12000.5\r\n-12001", 5,
       {none, -12000, 12000, none, none}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(normalizeElevationAnswer(c.body), c.normal) << c.body;
    EXPECT_EQ(parseBatchAnswer(c.normal, c.count), c.values) << c.body;
  }
}

static std::string get(const std::string& url, ProxyFields proxy = {}, long timeoutMs = 120000) {
  return httpGet({url, "text/xml", "Tester/1", std::move(proxy), 20000, timeoutMs});
}

TEST(HttpClient, FailuresAndRedirections) {
  auto& fake = FakeElevationService::instance();
  struct Case { std::string mode; bool fails; long timeoutMs = 120000; };
  const Case cases[] = {{"", false},           {"status404/", true}, {"status500/", true},
                        {"redirect5/", false}, {"redirect6/", true}, {"ftp/", true},
                        {"close/", true},      {"delay1500/", true, 300}};
  for (const Case& c : cases) {
    if (c.fails)
      EXPECT_THROW(get(fake.base(c.mode) + "srtm3?lat=1&lng=2", {}, c.timeoutMs), THttpError) << c.mode;
    else
      EXPECT_EQ(get(fake.base(c.mode) + "srtm3?lat=1&lng=2"), "100") << c.mode;
  }
  EXPECT_THROW(get("http://127.0.0.1:1/srtm3"), THttpError);  // refused
}

TEST(HttpClient, ProxyModesIgnoreTheEnvironment) {
  auto& fake = FakeElevationService::instance();
  const std::string http = fake.port(1), socks = fake.port(2);
  setenv("http_proxy", "http://127.0.0.1:1", 1);
  setenv("all_proxy", "socks5://127.0.0.1:1", 1);
  struct Case { ProxyFields proxy; std::string route; };  // route: the proxy's log line, first
  const Case cases[] = {{{0, "127.0.0.1", http, "127.0.0.1", socks}, ""},
                        {{1, "127.0.0.1", http, "", ""}, "http-proxy "},
                        {{2, "", "", "127.0.0.1", socks}, "socks5 127.0.0.1:"},
                        {{7, "127.0.0.1", http, "127.0.0.1", socks}, ""}};
  for (const char* noProxy : {"", "*", "127.0.0.1"}) {
    setenv("no_proxy", noProxy, 1);
    fake.takeLog();
    for (const Case& c : cases) {
      EXPECT_EQ(get(fake.base() + "gtopo30?lat=4.5&lng=1", c.proxy), "45");
      const auto log = fake.takeLog();
      ASSERT_EQ(log.size(), c.route.empty() ? 1u : 2u) << int(c.proxy.ProxyType) << noProxy;
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
  const double lat = 45.5, srtm3 = fake.srtm3(lat), gtopo30 = fake.gtopo30(lat);
  struct Case { uint8_t database; std::string mode; std::optional<double> value; int32_t cost; size_t requests; };
  const Case cases[] = {
      {0, "", gtopo30, 1, 1}, {1, "", srtm3, 2, 1},   {2, "", srtm3, 2, 1},
      {9, "", gtopo30, 1, 1}, {1, "garbage/", {}, 2, 1},
      {1, "nodata/", {}, 2, 1},  // no value: the altitude stays as it is
      {2, "nodata/", gtopo30, 3, 2},
      {2, "absurd/", {}, 2, 1},  // out of range: no value, and no second request
      {1, "long1048576/", srtm3, 2, 1},  // an answer of 1 MiB is still read
  };
  fake.takeLog();
  for (const Case& c : cases) {
    setElevationServiceAddress(fake.base(c.mode));
    int32_t credit = 0;
    EXPECT_EQ(queryPointElevation({{}, c.database, ""}, lat, 6.25, credit), c.value) << int(c.database) << c.mode;
    EXPECT_EQ(credit, -c.cost) << int(c.database) << c.mode;
    const auto log = fake.takeLog();
    ASSERT_EQ(log.size(), c.requests);
    const char* first = c.cost == 1 ? "gtopo30" : "srtm3";
    EXPECT_NE(log[0].find(std::string(first) + "?lat=45.5&lng=6.25"), std::string::npos) << log[0];
    if (c.requests == 2) EXPECT_NE(log[1].find("gtopo30?lat=45.5&lng=6.25"), std::string::npos);
  }
  const std::string tooLong = "The elevation service's answer is longer than 1 MiB";
  const std::pair<std::string, std::string> failures[] = {
      {"status500/", "HTTP request failed: The requested URL returned error: 500"},
      {"endless/", tooLong},
      {"long1048577/", tooLong}};  // the length is declared: nothing of the body is read
  for (const auto& [mode, message] : failures) {
    setElevationServiceAddress(fake.base(mode));
    int32_t credit = 7;
    std::string error;
    try {
      queryPointElevation({}, lat, 6.25, credit);
    } catch (const THttpError& e) {
      error = e.what();
    }
    EXPECT_EQ(error, message) << mode;
    EXPECT_EQ(credit, 7);  // a failed request costs nothing
  }
  setElevationServiceAddress(fake.base("nodata/"));
  int32_t credit = std::numeric_limits<int32_t>::min() + 1;
  queryPointElevation({}, lat, 6.25, credit);
  EXPECT_EQ(credit, std::numeric_limits<int32_t>::min());
}
