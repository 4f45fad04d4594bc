#include "Worker.h"

#include <algorithm>

namespace corvane {

Worker::~Worker() {
  std::unique_lock guard(lock_);
  stopping_ = true;
  changed_.notify_all();
  if (!thread_.joinable()) return;
  const bool ownThread = thread_.get_id() == std::this_thread::get_id();
  guard.unlock();
  if (!ownThread) {
    thread_.join();
    return;
  }
  // The process ends from inside one of the jobs (a host whose sink exits): the loop that ran it never
  // gets back to the jobs left, so they run here.
  thread_.detach();
  Run();
}

void Worker::PostAt(Clock::time_point when, const void* owner, Job job) {
  {
    std::lock_guard guard(lock_);
    jobs_.push_back({when, owner, std::move(job)});
    if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
  }
  changed_.notify_all();
}

void Worker::Cancel(const void* owner) {
  std::unique_lock guard(lock_);
  jobs_.remove_if([owner](const Entry& entry) { return entry.owner == owner; });
  // On the worker's own thread the job that runs is the caller's own (the process ends from inside it).
  if (thread_.get_id() == std::this_thread::get_id()) return;
  changed_.wait(guard, [&] { return !running_ || runningOwner_ != owner; });
}

void Worker::Run() {
  std::unique_lock guard(lock_);
  for (;;) {
    const auto next = std::min_element(jobs_.begin(), jobs_.end(),
                                       [](const Entry& a, const Entry& b) { return a.when < b.when; });
    const Clock::time_point now = Clock::now();
    if (next == jobs_.end() || (stopping_ && next->when > now)) {
      if (stopping_) return;
      changed_.wait(guard);
      continue;
    }
    // A copy: the entry may be cancelled while the worker waits for it.
    if (const Clock::time_point when = next->when; when > now) {
      changed_.wait_until(guard, when);
      continue;
    }
    Job job = std::move(next->job);
    runningOwner_ = next->owner;
    running_ = true;
    jobs_.erase(next);
    guard.unlock();
    job();
    guard.lock();
    running_ = false;
    runningOwner_ = nullptr;
    changed_.notify_all();
  }
}

}  // namespace corvane
