// The demo server over raw sockets on loopback: the limits on a request head, its body and the
// connections held, each one past its bound, and pipelining (what it answers is held by the
// rows of tests/data/tables/server.tsv).
#include "server/serve.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "service/json_output.h"
#include "service/sky.h"

namespace {
namespace fs = std::filesystem;

struct Reply {
  int status = 0;
  std::string head;  // status line and fields
  std::string body;
  std::string Field(const std::string& name) const {
    const std::size_t at = head.find("\r\n" + name + ": ");
    if (at == std::string::npos) return "";
    const std::size_t start = at + name.size() + 4;
    return head.substr(start, head.find("\r\n", start) - start);
  }
};

// Splits what a connection received into answers, bodies by Content-Length; no_body[k] marks
// the answers to HEAD, which have none.
std::vector<Reply> Split(std::string data, const std::vector<bool>& no_body = {}) {
  std::vector<Reply> replies;
  while (!data.empty()) {
    const std::size_t end = data.find("\r\n\r\n");
    if (end == std::string::npos) break;
    Reply r;
    r.head = data.substr(0, end);
    r.status = std::atoi(r.head.c_str() + 9);
    const std::string length = r.Field("Content-Length");
    const bool head_only = replies.size() < no_body.size() && no_body[replies.size()];
    const std::size_t size = head_only || length.empty() ? 0 : std::stoul(length);
    r.body = data.substr(end + 4, size);
    data.erase(0, end + 4 + size);
    replies.push_back(r);
  }
  return replies;
}

// A socket connected to the loopback port, or -1.
int Connect(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) return fd;
  close(fd);
  return -1;
}

// Sends request on fd (a connection of its own by default), then reads until the server
// closes it.
std::string Exchange(int port, const std::string& request, int fd = -1) {
  if (fd < 0) fd = Connect(port);
  std::string received;
  if (fd >= 0) {
    for (std::size_t sent = 0; sent < request.size();) {
      const ssize_t n = send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
      if (n <= 0) break;  // the server may refuse before it has read everything
      sent += static_cast<std::size_t>(n);
    }
    char buffer[65536];
    for (ssize_t n; (n = recv(fd, buffer, sizeof buffer, 0)) > 0;) received.append(buffer, n);
  }
  close(fd);
  return received;
}

std::string Get(const std::string& target, const std::string& fields = "") {
  return "GET " + target + " HTTP/1.1\r\nHost: x\r\n" + fields + "Connection: close\r\n\r\n";
}

class ServeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bundle = fs::temp_directory_path() / ("zc-bundle-" + std::to_string(::getpid()));
    fs::create_directories(bundle / "sub");
    std::ofstream(bundle / "index.html")
        << "<!doctype html><title>demo</title><zodiac-chart at=\"2000-01-01T12:00Z\"></zodiac-chart>"
           "<zodiac-chart at=\"1990-06-15T08:30\"></zodiac-chart>";
    std::ofstream(bundle / "sub" / "el.mjs") << std::string(3000, 'x');
    std::ofstream(bundle / "sub" / "el.mjs.gz") << "gzip form";
    std::ofstream(bundle / "sub" / "el.mjs.br") << "br form";
    std::ofstream(bundle.parent_path() / "zc-secret.txt") << "secret";
    fs::create_symlink(bundle.parent_path() / "zc-secret.txt", bundle / "out.txt");
    fs::create_symlink(bundle / "index.html", bundle / "in.html");
    server = std::make_unique<Demo_Server>(bundle.string());
    port = server->Bind("127.0.0.1", 0);
    ASSERT_GT(port, 0);
    listener = std::thread([this] { server->Listen(); });
  }
  void TearDown() override {
    server->Stop();
    listener.join();
    fs::remove_all(bundle);
    fs::remove(bundle.parent_path() / "zc-secret.txt");
  }
  Reply Fetch(const std::string& request) {
    const std::vector<Reply> replies = Split(Exchange(port, request));
    return replies.size() == 1 ? replies[0] : Reply{};
  }
  fs::path bundle;
  std::unique_ptr<Demo_Server> server;
  int port = 0;
  std::thread listener;
};

TEST_F(ServeTest, RoutesRefusalsAndCaching) {
  struct Case {
    std::string request;
    int status;
    const char* type;           // prefix of the Content-Type
    const char* cache_control;  // "" for none
    const char* body_has;       // text the body holds
  };
  const std::string bad_sign = "/api/analysis?sign=%1b%5b31m%ff%00";
  const Case cases[] = {
      {Get("/"), 200, "text/html", "no-cache", "<title>demo"},
      {Get("/in.html"), 200, "text/html", "no-cache", "<title>demo"},
      {Get("/sub/el.mjs"), 200, "application/javascript", "no-cache", "xxx"},
      {Get("/sub/el.mjs", "Accept-Encoding: gzip, deflate, br\r\n"), 200, "application/javascript",
       "no-cache", "br form"},
      {Get("/sub/el.mjs", "Accept-Encoding: br;q=0, gzip\r\n"), 200, "application/javascript",
       "no-cache", "gzip form"},
      {Get("/sub/el.mjs", "Accept-Encoding: gzip;q=0\r\n"), 200, "application/javascript",
       "no-cache", "xxx"},
      {Get("/chart.svg?at=2020-12-21T18:00Z"), 200, "image/svg+xml",
       "public, max-age=31536000, immutable", "<svg"},
      {Get("/chart.svg"), 200, "image/svg+xml", "no-store", "<svg"},
      {Get("/chart.html?at=2020-12-21T18:00Z"), 200, "text/html",
       "public, max-age=31536000, immutable",
       "<zodiac-chart at=\"2020-12-21T18:00Z\"><template shadowrootmode=\"open\">"},
      {Get("/chart.html"), 200, "text/html", "no-store", "<zodiac-chart><template "},
      {Get("/chart.html?at=1582-10-10T12:00Z"), 400, "text/plain", "no-cache", ""},
      {Get("/api/positions?at=now"), 200, "application/json", "no-store", "\"bodies\""},
      {Get("/api/analysis?sign=leo&at=2000-01-01T12:00Z"), 200, "application/json",
       "public, max-age=31536000, immutable", "\"caption\""},
      // A repeated parameter: the last counts.
      {Get("/api/analysis?sign=13&at=2000-01-01T12:00Z&sign=leo"), 200, "application/json",
       "public, max-age=31536000, immutable", "\"sign\":4"},
      {Get("/chart.png?at=2005-04-15T22:00Z"), 200, "image/png",
       "public, max-age=31536000, immutable", "PNG"},
      {Get("/chart.png?scale=4&analysis=leo"), 200, "image/png", "no-store", "PNG"},
      {Get("/card.png?sign=leo"), 200, "image/png", "no-store", "PNG"},
      {Get("/chart.png?scale=0"), 400, "text/plain", "no-cache", "scale"},
      {Get("/chart.png?scale=5&at=2000-01-01T12:00Z"), 400, "text/plain", "no-cache", "'5'"},
      {Get("/chart.png?scale=1.5"), 400, "text/plain", "no-cache", "'1.5'"},
      {Get("/chart.png?scale=%001"), 400, "text/plain", "no-cache", "'\\x001'"},
      {Get("/chart.png?scale="), 400, "text/plain", "no-cache", "scale"},
      {Get("/chart.png?analysis=13"), 400, "text/plain", "no-cache", "'13'"},
      {Get("/card.png"), 400, "text/plain", "no-cache", "unknown sign"},
      {Get("/card.png?sign=leo&at=1582-10-10T12:00Z"), 400, "text/plain", "no-cache", ""},
      {Get("/api/positions?at=2000-04-31T12:00Z"), 400, "text/plain", "no-cache", "invalid"},
      {Get("/api/positions?at=9999-12-31T23:59-12:00"), 400, "text/plain", "no-cache", "0001"},
      {Get("/api/positions?at=1582-10-10T12:00Z"), 400, "text/plain", "no-cache", ""},
      {Get(bad_sign), 400, "text/plain", "no-cache", "'\\x1b[31m\\xff\\x00'"},
      {Get("/chart.svg?at=24:00"), 400, "text/plain", "no-cache", "24:00"},
      {Get("/api/positions?at=%zz"), 400, "text/plain", "no-cache", "percent"},
      {Get("/zc-secret.txt"), 404, "text/plain", "no-cache", "not found"},
      {Get("/out.txt"), 404, "text/plain", "no-cache", "not found"},
      {Get("/../zc-secret.txt"), 404, "text/plain", "no-cache", "not found"},
      {Get("/%2e%2e/zc-secret.txt"), 404, "text/plain", "no-cache", "not found"},
      {Get("/sub/..%2f..%2fzc-secret.txt"), 404, "text/plain", "no-cache", "not found"},
      {Get("/sub"), 404, "text/plain", "no-cache", "not found"},
      {Get("/sub/el.mjs.gz"), 404, "text/plain", "no-cache", "not found"},
      {"POST / HTTP/1.1\r\nHost: x\r\nContent-Length: 1\r\n\r\nx", 405, "text/plain", "no-cache",
       "GET"},
      {"DELETE / HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n", 405, "text/plain", "no-cache",
       "GET"},
      {"GET / HTTP/1.1\r\nHost: x\r\nContent-Length: 5\r\n\r\nhello", 413, "text/plain", "no-cache",
       "body"},
      {"GET\r\n\r\n", 400, "text/plain", "no-cache", "malformed"},
  };
  for (const Case& c : cases) {
    const Reply r = Fetch(c.request);
    EXPECT_EQ(r.status, c.status) << c.request;
    EXPECT_EQ(r.Field("Content-Type").rfind(c.type, 0), 0u) << c.request;
    EXPECT_EQ(r.Field("Cache-Control"), c.cache_control) << c.request;
    EXPECT_EQ(r.Field("X-Content-Type-Options"), "nosniff") << c.request;
    EXPECT_NE(r.body.find(c.body_has), std::string::npos) << c.request << "\n" << r.body;
    const bool page = r.Field("Content-Type").rfind("text/html", 0) == 0;
    EXPECT_EQ(r.Field("Content-Security-Policy") == kPageCsp, page) << c.request;
    const bool file = r.Field("Cache-Control") == "no-cache" && c.status == 200;
    EXPECT_EQ(r.Field("Access-Control-Allow-Origin") == "*", file) << c.request;
    if (c.status == 400) {
      EXPECT_EQ(r.body.find('\n'), r.body.size() - 1) << c.request;  // one line
      for (const char ch : r.body)
        EXPECT_TRUE(ch == '\n' || static_cast<unsigned char>(ch) >= 0x20) << c.request;
    }
  }
  Computed_Instant computed;
  ASSERT_TRUE(Compute_Sky("2000-01-01T12:00Z", computed).Ok());
  EXPECT_EQ(Fetch(Get("/api/positions?at=2000-01-01T12:00Z")).body,
            Positions_Json(computed) + "\n");

  // The page arrives with a zoned tag's chart in it, as /chart.html writes it; a tag of the
  // visitor's local time is left to the script.
  const std::string fragment = Fetch(Get("/chart.html?at=2000-01-01T12:00Z")).body;
  const std::size_t root = fragment.find("<template");
  ASSERT_NE(root, std::string::npos);
  const std::string page = Fetch(Get("/")).body;
  EXPECT_NE(page.find("<title>demo</title><zodiac-chart at=\"2000-01-01T12:00Z\">" +
                      fragment.substr(root, fragment.size() - 1 - root) +
                      "<zodiac-chart at=\"1990-06-15T08:30\"></zodiac-chart>"),
            std::string::npos)
      << page;

  // Revalidation: the ETag of each form (and of a fixed output) gets 304 with no body.
  for (const std::string& fields : {std::string(), std::string("Accept-Encoding: br\r\n")}) {
    for (const char* target : {"/", "/sub/el.mjs", "/api/positions?at=2000-01-01T12:00Z",
                               "/card.png?sign=leo&at=2000-01-01T12:00Z",
                               "/chart.png?at=2000-01-01T12:00Z&scale=2"}) {
      const Reply first = Fetch(Get(target, fields));
      ASSERT_FALSE(first.Field("ETag").empty()) << target;
      const Reply again =
          Fetch(Get(target, fields + "If-None-Match: W/\"0\", " + first.Field("ETag") + "\r\n"));
      EXPECT_EQ(again.status, 304) << target;
      EXPECT_EQ(again.body, "") << target;
      EXPECT_EQ(again.Field("ETag"), first.Field("ETag")) << target;
    }
  }
}

// 64 pictures asked for at once (each one that no cache holds): every one is drawn or turned
// away with 503 at once, never queued without bound, and the API answers a run of requests on
// one connection while pictures are still being drawn.
TEST_F(ServeTest, PictureBurstLeavesTheApiAnswering) {
  std::vector<int> pictures;
  for (int k = 0; k < 64; ++k) {
    const int fd = Connect(port);
    ASSERT_GE(fd, 0);
    char at[24];
    std::snprintf(at, sizeof at, "2000-01-01T%02d:%02dZ", k / 60, k % 60);
    const std::string request = Get("/chart.png?scale=2&analysis=leo&at=" + std::string(at));
    ASSERT_EQ(send(fd, request.data(), request.size(), MSG_NOSIGNAL),
              static_cast<ssize_t>(request.size()));
    pictures.push_back(fd);
  }
  const int api = Connect(port);
  Computed_Instant computed;
  ASSERT_TRUE(Compute_Sky("2000-01-01T12:00Z", computed).Ok());
  const std::string keep = "GET /api/positions?at=2000-01-01T12:00Z HTTP/1.1\r\nHost: x\r\n\r\n";
  for (int k = 0; k < 5; ++k) {
    ASSERT_EQ(send(api, keep.data(), keep.size(), MSG_NOSIGNAL), static_cast<ssize_t>(keep.size()));
    std::string received;
    char buffer[4096];
    while (Split(received).empty() || Split(received)[0].body.size() <
                                          std::stoul(Split(received)[0].Field("Content-Length"))) {
      const ssize_t n = recv(api, buffer, sizeof buffer, 0);
      ASSERT_GT(n, 0);
      received.append(buffer, n);
    }
    EXPECT_EQ(Split(received)[0].body, Positions_Json(computed) + "\n");
  }
  close(api);
  // Pictures still being drawn: some connection has not had its whole answer yet.
  int unfinished = 0;
  for (const int fd : pictures) {
    pollfd p{fd, POLLIN, 0};
    unfinished += poll(&p, 1, 0) == 0;
  }
  EXPECT_GT(unfinished, 0);
  int drawn = 0, busy = 0;
  for (const int fd : pictures) {
    const std::vector<Reply> replies = Split(Exchange(port, "", fd));
    ASSERT_EQ(replies.size(), 1u);
    drawn += replies[0].status == 200 && replies[0].body.compare(1, 3, "PNG") == 0;
    busy += replies[0].status == 503 && replies[0].Field("Retry-After") == "1";
  }
  EXPECT_EQ(drawn + busy, 64);
  EXPECT_GT(drawn, 0);
}

// Each limit at its bound and one byte (or field) past it; Range ignored; pipelined requests
// answered in order; HEAD without a body.
TEST_F(ServeTest, HeadLimitsRangesAndPipelining) {
  const auto padded = [](std::size_t head_size) {
    const std::string start = "GET / HTTP/1.1\r\nHost: x\r\nConnection: close\r\nX-Pad: ";
    return start + std::string(head_size - start.size() - 4, 'p') + "\r\n\r\n";
  };
  std::string fields100 = "GET / HTTP/1.1\r\nConnection: close\r\n";
  for (int k = 0; k < 99; ++k) fields100 += "X-F" + std::to_string(k) + ": v\r\n";
  struct Case {
    std::string request;
    int status;
    std::size_t body_size;  // 0: any
  };
  const std::size_t page_size = Fetch(Get("/")).body.size();  // the page with its chart rendered
  ASSERT_GT(page_size, fs::file_size(bundle / "index.html"));
  const Case cases[] = {
      {padded(8192), 200, page_size},
      {padded(8193), 431, 0},
      {"GET /" + std::string(8200, 'a'), 414, 0},  // no line end in sight
      {fields100 + "\r\n", 200, page_size},
      {fields100 + "X-F100: v\r\n\r\n", 431, 0},
      {Get("/", "Content-Length: 0\r\n"), 200, page_size},  // a GET takes no body
      {Get("/", "Content-Length: 1\r\n") + "x", 413, 0},
      {Get("/", "Range: bytes=0-9\r\n"), 200, page_size},
      {Get("/", "Range: bytes=" + [] {  // 3,900 ranges in an 8 KB head
         std::string ranges = "-";
         for (int k = 1; k < 3900; ++k) ranges += ",-";
         return ranges;
       }() + "\r\n"),
       200, page_size},
  };
  for (const Case& c : cases) {
    const std::vector<Reply> replies = Split(Exchange(port, c.request));
    ASSERT_EQ(replies.size(), 1u) << c.request.substr(0, 80);
    EXPECT_EQ(replies[0].status, c.status) << c.request.substr(0, 80);
    if (c.body_size) {
      EXPECT_EQ(replies[0].body.size(), c.body_size) << c.request.substr(0, 80);
    }
    EXPECT_EQ(replies[0].Field("Content-Range"), "");
  }

  // Three requests in one packet: three answers, in order, the HEAD one without a body.
  const std::string keep = "GET /api/positions?at=2000-01-01T12:00Z HTTP/1.1\r\nHost: x\r\n\r\n";
  const std::string pipelined = keep + "HEAD /sub/el.mjs HTTP/1.1\r\nHost: x\r\n\r\n" +
                                Get("/chart.svg?at=24:00");
  const std::vector<Reply> replies = Split(Exchange(port, pipelined), {false, true, false});
  ASSERT_EQ(replies.size(), 3u);
  Computed_Instant computed;
  ASSERT_TRUE(Compute_Sky("2000-01-01T12:00Z", computed).Ok());
  EXPECT_EQ(replies[0].body, Positions_Json(computed) + "\n");
  EXPECT_EQ(replies[1].status, 200);
  EXPECT_EQ(replies[1].Field("Content-Length"), "3000");
  EXPECT_EQ(replies[2].status, 400);
  EXPECT_NE(replies[2].body.find("24:00"), std::string::npos);
}
// The connections a server holds open are bounded by the files it may open (32 at 96): the
// last one within the bound is served, one past it gets 503 at once.
TEST_F(ServeTest, ConnectionsPastTheLimitAreTurnedAway) {
  rlimit files{};
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &files), 0);
  const rlimit low{96, files.rlim_max};
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &low), 0);
  Demo_Server small(bundle.string());
  setrlimit(RLIMIT_NOFILE, &files);
  const int small_port = small.Bind("127.0.0.1", 0);
  ASSERT_GT(small_port, 0);
  std::thread serving([&] { small.Listen(); });
  std::vector<int> held;
  for (int k = 0; k < 32; ++k) held.push_back(Connect(small_port));
  const std::vector<Reply> turned_away = Split(Exchange(small_port, ""));
  const std::vector<Reply> last_within = Split(Exchange(small_port, Get("/"), held.back()));
  held.pop_back();
  for (const int fd : held) close(fd);
  small.Stop();
  serving.join();
  ASSERT_EQ(turned_away.size(), 1u);
  EXPECT_EQ(turned_away[0].status, 503);
  ASSERT_EQ(last_within.size(), 1u);
  EXPECT_EQ(last_within[0].status, 200);
}
}  // namespace

namespace {
// The head deadline, shortened to 1 s: a silent connection is closed without an answer, and
// the deadline starts again after each answer, so a keep-alive connection that asks again
// within it is served however long it has been open; idle, it is closed.
TEST_F(ServeTest, HeadDeadlinePassesAndRestartsAfterEachAnswer) {
  Demo_Server quick(bundle.string(), {std::chrono::milliseconds(1000), std::chrono::seconds(30)});
  const int quick_port = quick.Bind("127.0.0.1", 0);
  ASSERT_GT(quick_port, 0);
  std::thread serving([&] { quick.Listen(); });
  const int silent = Connect(quick_port), asking = Connect(quick_port);
  const timeval limit{10, 0};  // a deadline that never passes fails the test, not hangs it
  for (const int fd : {silent, asking}) setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  const std::string request = "GET /sub/el.mjs HTTP/1.1\r\nHost: x\r\n\r\n";
  std::string received;
  char buffer[4096];
  for (std::size_t k = 1; k <= 3; ++k) {  // at 0, 0.7 and 1.4 s after the opening
    if (k > 1) std::this_thread::sleep_for(std::chrono::milliseconds(700));
    send(asking, request.data(), request.size(), MSG_NOSIGNAL);
    for (ssize_t n = 1; n > 0 && Split(received).size() < k;)
      if ((n = recv(asking, buffer, sizeof buffer, 0)) > 0) received.append(buffer, n);
    EXPECT_EQ(Split(received).size(), k);
  }
  const ssize_t silent_end = recv(silent, buffer, sizeof buffer, 0);
  const ssize_t idle_end = recv(asking, buffer, sizeof buffer, 0);
  close(silent);
  close(asking);
  quick.Stop();
  serving.join();
  EXPECT_EQ(silent_end, 0);  // closed, nothing sent
  EXPECT_EQ(idle_end, 0);
  for (const Reply& r : Split(received)) EXPECT_EQ(r.status, 200);
}
}  // namespace
