// The demo server's connections on Boost.Asio: one event loop run by two threads per core, so a
// connection holds no thread while it waits. Each connection gets the head deadline to send a
// whole request head (counted from the end of the previous answer, so it is also the idle
// keep-alive timeout) and the write deadline to take an answer (Server_Deadlines); at most
// Connection_Limit() are open, and one more is answered 503 and closed.
#include "server/serve.h"

#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/strand.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <chrono>
#include <thread>
#include <vector>

#include "server/http_exchange.h"
#include "server/picture_pool.h"

namespace {
namespace net = boost::asio;
using tcp = net::ip::tcp;
using boost::beast::error_code;

constexpr auto kDrainTime = std::chrono::seconds(2);
constexpr std::size_t kDrainBytes = 65536;
constexpr const char kBusy[] =
    "HTTP/1.1 503 Service Unavailable\r\nContent-Type: text/plain; charset=utf-8\r\n"
    "X-Content-Type-Options: nosniff\r\nRetry-After: 1\r\nContent-Length: 18\r\n"
    "Connection: close\r\n\r\ntoo many requests\n";

// The picture requests that may wait for a worker; one more is answered 503.
constexpr std::size_t kPictureQueue = 32;
constexpr const char kBusyHead[] =
    "HTTP/1.1 503 Service Unavailable\r\nContent-Type: text/plain; charset=utf-8\r\n"
    "X-Content-Type-Options: nosniff\r\nCache-Control: no-store\r\nRetry-After: 1\r\n"
    "Content-Length: 26\r\nConnection: close\r\n\r\n";
constexpr const char kBusyBody[] = "too many picture requests\n";

// One picture worker per core: a picture holds its core for tens of milliseconds, at a lower
// priority than the event loop.
unsigned Picture_Workers() { return std::clamp(std::thread::hardware_concurrency(), 1u, 8u); }

// Up to 1,000 connections, fewer when the process may open fewer files.
int Connection_Limit() {
  rlimit files{};
  if (getrlimit(RLIMIT_NOFILE, &files) != 0 || files.rlim_cur == RLIM_INFINITY) return 1000;
  return static_cast<int>(std::clamp<rlim_t>(files.rlim_cur, 96, 1064) - 64);
}

class Connection : public std::enable_shared_from_this<Connection> {
 public:
  Connection(tcp::socket socket, const Demo_Site& site, std::atomic<int>& open,
             Picture_Pool& pictures, Server_Deadlines deadlines)
      : stream_(std::move(socket)), site_(site), open_(open), pictures_(pictures),
        deadlines_(deadlines) {}
  ~Connection() { --open_; }

  void Start() {
    deadline_ = std::chrono::steady_clock::now() + deadlines_.head;
    Serve_Next();
  }

 private:
  // Answers the next request already received, or reads more of it.
  void Serve_Next() {
    // A picture is drawn by the pool; nothing else touches this connection meanwhile (no read
    // is pending), and the answer is sent from the connection's own strand.
    if (Next_Is_Picture(received_)) {
      auto self = shared_from_this();
      const bool queued = pictures_.Try_Post([self] {
        std::optional<Wire_Answer> answer = Next_Answer(self->site_, self->received_);
        net::post(self->stream_.get_executor(), [self, answer = std::move(answer)]() mutable {
          if (answer) self->Send(std::move(*answer));
        });
      });
      if (!queued) Send({kBusyHead, std::make_shared<const std::string>(kBusyBody), true});
      return;
    }
    if (std::optional<Wire_Answer> answer = Next_Answer(site_, received_))
      return Send(std::move(*answer));
    stream_.expires_at(deadline_);
    const std::size_t room = kMaxHeadBytes + 1 - received_.size();
    stream_.async_read_some(net::buffer(chunk_.data(), std::min(room, chunk_.size())),
                            [self = shared_from_this()](error_code ec, std::size_t n) {
                              if (ec) return self->stream_.close();
                              self->received_.append(self->chunk_.data(), n);
                              self->Serve_Next();
                            });
  }

  void Send(Wire_Answer answer) {
    answer_ = std::move(answer);
    std::array<net::const_buffer, 2> buffers = {net::buffer(answer_.head), net::const_buffer()};
    if (answer_.body) buffers[1] = net::buffer(*answer_.body);
    stream_.expires_after(deadlines_.write);
    net::async_write(stream_, buffers, [self = shared_from_this()](error_code ec, std::size_t) {
      if (ec) return self->stream_.close();
      if (self->answer_.close) return self->Close();
      self->answer_ = {};
      self->deadline_ = std::chrono::steady_clock::now() + self->deadlines_.head;
      self->Serve_Next();
    });
  }

  // Ends the connection after an answer. What the client still sends (the rest of a refused
  // head) is read and dropped for a while, up to kDrainBytes: closing with unread data would
  // reset the connection and could destroy the answer before the client reads it.
  void Close() {
    error_code ignored;
    stream_.socket().shutdown(tcp::socket::shutdown_send, ignored);
    stream_.expires_after(kDrainTime);
    Drain(0);
  }

  void Drain(std::size_t drained) {
    if (drained > kDrainBytes) return stream_.close();
    stream_.async_read_some(net::buffer(chunk_), [self = shared_from_this(), drained](
                                                     error_code ec, std::size_t n) {
      if (ec) return self->stream_.close();
      self->Drain(drained + n);
    });
  }

  boost::beast::tcp_stream stream_;
  const Demo_Site& site_;
  std::atomic<int>& open_;
  Picture_Pool& pictures_;
  const Server_Deadlines deadlines_;
  std::string received_;
  std::array<char, 4096> chunk_;
  Wire_Answer answer_;
  std::chrono::steady_clock::time_point deadline_;
};
}  // namespace

struct Demo_Server::Impl {
  Impl(const std::string& bundle_dir, Server_Deadlines deadlines)
      : site(bundle_dir), deadlines(deadlines) {}

  void Accept() {
    acceptor.async_accept(net::make_strand(context), [this](error_code ec, tcp::socket socket) {
      if (!acceptor.is_open()) return;
      if (ec) {  // out of files, most likely: wait for connections to close
        pause.expires_after(std::chrono::milliseconds(50));
        pause.async_wait([this](error_code) { Accept(); });
        return;
      }
      if (open.load() >= limit) {
        error_code ignored;
        socket.non_blocking(true, ignored);
        socket.send(net::buffer(kBusy, sizeof kBusy - 1), tcp::socket::message_flags(), ignored);
        socket.close(ignored);
      } else {
        ++open;
        socket.set_option(tcp::no_delay(true), ec);  // small answers leave at once
        std::make_shared<Connection>(std::move(socket), site, open, pictures, deadlines)
            ->Start();
      }
      Accept();
    });
  }

  // Declared before the loop: connections still open when it goes refer to them.
  Demo_Site site;
  const Server_Deadlines deadlines;
  std::atomic<int> open{0};
  net::io_context context;
  tcp::acceptor acceptor{context};
  net::steady_timer pause{context};
  const int limit = Connection_Limit();
  // Declared after the loop: its workers are joined first and post no more to it.
  Picture_Pool pictures{Picture_Workers(), kPictureQueue};
};

Demo_Server::Demo_Server(const std::string& bundle_dir, Server_Deadlines deadlines)
    : impl_(std::make_unique<Impl>(bundle_dir, deadlines)) {}

Demo_Server::~Demo_Server() = default;

std::size_t Demo_Server::File_Count() const { return impl_->site.File_Count(); }

int Demo_Server::Bind(const std::string& host, int port) {
  if (host.empty()) return -1;
  error_code ec;
  tcp::resolver resolver(impl_->context);
  const auto flags = tcp::resolver::passive | tcp::resolver::numeric_service;
  const auto endpoints = resolver.resolve(host, std::to_string(port), flags, ec);
  if (ec) return -1;
  tcp::acceptor& acceptor = impl_->acceptor;
  for (const auto& entry : endpoints) {
    acceptor.close(ec);
    acceptor.open(entry.endpoint().protocol(), ec);
    if (ec) continue;
    acceptor.set_option(tcp::acceptor::reuse_address(true), ec);
    acceptor.bind(entry.endpoint(), ec);
    if (ec) continue;
    acceptor.listen(net::socket_base::max_listen_connections, ec);
    if (ec) continue;
    return acceptor.local_endpoint().port();
  }
  acceptor.close(ec);
  return -1;
}

bool Demo_Server::Listen() {
  if (!impl_->acceptor.is_open()) return false;
  impl_->Accept();
  // Two threads per core: a chart being drawn on one leaves another free for the next answer.
  const unsigned threads = 2 * std::max(2u, std::thread::hardware_concurrency());
  std::vector<std::thread> helpers;
  for (unsigned k = 1; k < threads; ++k) helpers.emplace_back([this] { impl_->context.run(); });
  impl_->context.run();
  for (std::thread& t : helpers) t.join();
  return true;
}

void Demo_Server::Stop() { impl_->context.stop(); }
