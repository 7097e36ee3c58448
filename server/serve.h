// The demo server: the web bundle (the element, its module and artwork, the demo page) and
// the command line's outputs over HTTP (see Demo_Site for what it answers), safe to expose:
// every connection's memory and time are bounded.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "server/http_message.h"  // kPageCsp

// How long a connection may take: head, to send a whole request head, counted from its
// opening or from the end of the previous answer (so also the idle keep-alive timeout);
// write, to take an answer.
struct Server_Deadlines {
  std::chrono::milliseconds head{10000};
  std::chrono::milliseconds write{30000};
};

class Demo_Server {
 public:
  // Serves the regular files found under bundle_dir now (read into memory; restart after
  // rebuilding the bundle) and the routes of Demo_Site, GET and HEAD only.
  explicit Demo_Server(const std::string& bundle_dir, Server_Deadlines deadlines = {});
  ~Demo_Server();

  // Number of bundle files found.
  std::size_t File_Count() const;
  // Binds host:port, port 0 for any free one; returns the port, or -1 when it cannot bind.
  int Bind(const std::string& host, int port);
  // Serves until Stop (from another thread or a signal handler's thread); false on failure.
  bool Listen();
  void Stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
