#include "Worker.h"

#include <algorithm>

namespace corvane {

Worker::~Worker() {
  {
    std::lock_guard guard(lock_);
    stopping_ = true;
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
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
    if (next->when > now) {
      changed_.wait_until(guard, next->when);
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
