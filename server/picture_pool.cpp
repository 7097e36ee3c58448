// A fixed set of worker threads over one queue guarded by a mutex.
#include "server/picture_pool.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {
// A picture worker yields the CPU to the event loop's threads when both are ready to run.
constexpr int kWorkerNiceness = 5;
}  // namespace

Picture_Pool::Picture_Pool(unsigned workers, std::size_t queue_limit) : limit_(queue_limit) {
  for (unsigned k = 0; k < workers; ++k)
    workers_.emplace_back([this] {
      // On Linux a thread's niceness is its own: this one only.
      setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), kWorkerNiceness);
      Work();
    });
}

Picture_Pool::~Picture_Pool() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
    jobs_.clear();
  }
  ready_.notify_all();
  for (std::thread& t : workers_) t.join();
}

bool Picture_Pool::Try_Post(std::function<void()> job) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_ || jobs_.size() >= limit_) return false;
    jobs_.push_back(std::move(job));
  }
  ready_.notify_one();
  return true;
}

void Picture_Pool::Work() {
  while (true) {
    std::function<void()> job;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      ready_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
      if (stopping_) return;
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    job();
  }
}
