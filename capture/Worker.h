// Work the library does behind its caller's back: finishing rotated files and ending cameras that no
// start took over, so that a stop or a rotation returns to the caller at once.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <list>
#include <mutex>
#include <thread>

namespace corvane {

class Worker {
 public:
  using Clock = std::chrono::steady_clock;
  using Job = std::function<void()>;

  Worker() = default;
  Worker(const Worker&) = delete;
  Worker& operator=(const Worker&) = delete;
  // Runs every job that waits for no time; jobs set for later are dropped (their owners cancel them).
  // May run on the worker's own thread, when the process ends from inside a job.
  ~Worker();

  void Post(Job job) { PostAt(Clock::now(), nullptr, std::move(job)); }
  // owner names whose job it is, for Cancel; null for jobs that hold everything they need.
  void PostAt(Clock::time_point when, const void* owner, Job job);
  // Drops the owner's waiting jobs and waits until its running one, if any, is done; on the worker's own
  // thread, where that job is the caller, it does not wait.
  void Cancel(const void* owner);

 private:
  struct Entry {
    Clock::time_point when;
    const void* owner;
    Job job;
  };

  void Run();

  std::mutex lock_;
  std::condition_variable changed_;
  std::list<Entry> jobs_;
  const void* runningOwner_ = nullptr;
  bool running_ = false;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace corvane
