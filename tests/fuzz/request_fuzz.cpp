// The server's request handling without a socket: the input is what a connection received.
// Every answer is a well-formed head (status line, fields without stray line breaks), its
// body is a file of the bundle or a generated output, never anything outside the bundle, and
// a refusal's reason is one printable line; a picture is a PNG that the server knew it would
// draw before it did.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "server/http_exchange.h"
#include "tests/fuzz/fuzz_checks.h"

namespace {
namespace fs = std::filesystem;

constexpr const char kPage[] = "<!doctype html><title>demo</title>";

// A small bundle beside a secret file, made once per run.
const Demo_Site& Site() {
  static const Demo_Site site = [] {
    const fs::path dir = fs::temp_directory_path() / ("zc-fuzz-" + std::to_string(getpid()));
    fs::create_directories(dir / "bundle" / "sub");
    std::ofstream(dir / "secret.txt") << "SECRET";
    std::ofstream(dir / "bundle" / "index.html") << kPage;
    std::ofstream(dir / "bundle" / "sub" / "a.js") << std::string(200, 'a');
    std::ofstream(dir / "bundle" / "sub" / "a.js.gz") << "gz";
    std::ofstream(dir / "bundle" / "sub" / "a.js.br") << "br";
    std::error_code ec;
    fs::create_symlink(dir / "secret.txt", dir / "bundle" / "out.txt", ec);
    Demo_Site made((dir / "bundle").string());
    fs::remove_all(dir, ec);
    return made;
  }();
  return site;
}

void Check_Head(const std::string& head) {
  if (head.rfind("HTTP/1.1 ", 0) != 0 || head.size() < 16 ||
      head.compare(head.size() - 4, 4, "\r\n\r\n") != 0)
    Fuzz_Failure("a malformed status line or head end");
  const int status = std::atoi(head.c_str() + 9);
  static const std::set<int> kStatuses = {200, 304, 400, 404, 405, 413, 414, 431, 500};
  if (!kStatuses.count(status)) Fuzz_Failure("an unexpected status");
  for (std::size_t k = 0; k + 4 < head.size(); ++k) {
    const char c = head[k];
    if ((c == '\r') != (head[k + 1] == '\n')) Fuzz_Failure("a line break inside a field");
    if (c != '\r' && c != '\n' && static_cast<unsigned char>(c) < 0x20)
      Fuzz_Failure("a control character in the head");
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string received(reinterpret_cast<const char*>(data), std::min(size, kMaxHeadBytes + 1));
  while (true) {
    const std::size_t before = received.size();
    const bool picture = Next_Is_Picture(received);
    const std::optional<Wire_Answer> answer = Next_Answer(Site(), received);
    if (!answer) break;
    Check_Head(answer->head);
    // A drawn picture is a PNG, and the server knew before drawing it (so the pool draws it).
    if (answer->head.find("Content-Type: image/png\r\n") != std::string::npos) {
      if (!picture) Fuzz_Failure("a picture the server did not see coming");
      if (answer->body && answer->body->compare(0, 8, "\x89PNG\r\n\x1a\n") != 0)
        Fuzz_Failure("a picture that is not a PNG");
    }
    if (answer->body) {
      const std::string& body = *answer->body;
      // A bundle file (not an output, not a reason) is one of the bundle's forms.
      const bool output = answer->head.find("Cache-Control: no-cache\r\n") == std::string::npos;
      const bool file = answer->head.rfind("HTTP/1.1 200", 0) == 0 && !output;
      static const std::set<std::string> kForms = {kPage, std::string(200, 'a'), "gz", "br"};
      if (file && !kForms.count(body)) Fuzz_Failure("a file outside the bundle");
      if (answer->head.find("text/plain") != std::string::npos &&
          (!Is_Printable_Text(body) || body.find('\n') != body.size() - 1))
        Fuzz_Failure("a reason that is not one printable line");
    }
    if (answer->close) break;
    if (received.size() >= before) Fuzz_Failure("an answer that took no bytes");
  }
  return 0;
}
