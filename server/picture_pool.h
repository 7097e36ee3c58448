// The threads that draw pictures, apart from the event loop: a burst of picture requests
// waits here (a bounded queue) instead of holding the threads that answer the page, its files
// and the API, and a full queue refuses at once instead of growing.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class Picture_Pool {
 public:
  // workers threads, run at a lower scheduling priority than the caller's; at most
  // queue_limit jobs wait for one.
  Picture_Pool(unsigned workers, std::size_t queue_limit);
  // Finishes the job each worker runs, drops those waiting, joins the workers.
  ~Picture_Pool();
  Picture_Pool(const Picture_Pool&) = delete;
  Picture_Pool& operator=(const Picture_Pool&) = delete;

  // Queues job; false (and job dropped) when queue_limit jobs already wait.
  bool Try_Post(std::function<void()> job);

 private:
  void Work();

  const std::size_t limit_;
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::function<void()>> jobs_;
  bool stopping_ = false;
  std::vector<std::thread> workers_;
};
