// The demo server over real HTTP on loopback: the bundle's files and nothing outside it, the
// strict CSP on the page, the outputs of the other commands, and refusals.
#include "cli/serve.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "cli/json_output.h"
#include "cli/sky.h"

namespace {
namespace fs = std::filesystem;

class ServeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bundle = fs::temp_directory_path() / ("zc-bundle-" + std::to_string(::getpid()));
    fs::create_directories(bundle / "sub");
    std::ofstream(bundle / "index.html") << "<!doctype html><title>demo</title>";
    std::ofstream(bundle / "sub" / "el.mjs") << "export {};";
    std::ofstream(bundle.parent_path() / "zc-secret.txt") << "secret";
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
  fs::path bundle;
  std::unique_ptr<Demo_Server> server;
  int port = 0;
  std::thread listener;
};

TEST_F(ServeTest, BundleRoutesAndRefusals) {
  httplib::Client client("127.0.0.1", port);
  struct Case {
    const char* path;
    int status;
    const char* type;  // prefix of the Content-Type
    bool page_csp;
  };
  const Case cases[] = {
      {"/", 200, "text/html", true},
      {"/sub/el.mjs", 200, "application/javascript", false},
      {"/chart.svg?at=2020-12-21T18:00Z", 200, "image/svg+xml", false},
      {"/api/positions?at=2000-01-01T12:00Z", 200, "application/json", false},
      {"/api/analysis?sign=leo&at=2000-01-01T12:00Z", 200, "application/json", false},
      {"/api/positions?at=2000-04-31T12:00Z", 400, "text/plain", false},
      {"/api/positions?at=1582-10-10T12:00Z", 400, "text/plain", false},
      {"/api/analysis?sign=13", 400, "text/plain", false},
      {"/chart.svg?at=24:00", 400, "text/plain", false},
      {"/zc-secret.txt", 404, "text/plain", false},
      {"/../zc-secret.txt", 404, "text/plain", false},
      {"/%2e%2e/zc-secret.txt", 404, "text/plain", false},
      {"/sub/..%2f..%2fzc-secret.txt", 404, "text/plain", false},
      {"/sub", 404, "text/plain", false},
  };
  for (const Case& c : cases) {
    const auto res = client.Get(c.path);
    ASSERT_TRUE(res) << c.path;
    EXPECT_EQ(res->status, c.status) << c.path;
    EXPECT_EQ(res->get_header_value("Content-Type").rfind(c.type, 0), 0u) << c.path;
    EXPECT_EQ(res->get_header_value("Content-Security-Policy") == kPageCsp, c.page_csp) << c.path;
    if (c.status == 400) {
      EXPECT_EQ(res->body.find('\n'), res->body.size() - 1) << c.path;  // one line
    }
  }
  Sky sky;
  ASSERT_EQ(Compute_Sky("2000-01-01T12:00Z", sky).status, kExitOk);
  EXPECT_EQ(client.Get("/api/positions?at=2000-01-01T12:00Z")->body, Positions_Json(sky) + "\n");
  EXPECT_EQ(client.Head("/")->status, 200);
  const auto post = client.Post("/", "x", "text/plain");
  ASSERT_TRUE(post);
  EXPECT_EQ(post->status, 405);
}
}  // namespace
