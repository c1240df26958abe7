#pragma once

#include <chrono>
#include <future>
#include <memory>
#include <optional>
#include <thread>
#include <utility>

namespace quenlix::testing {

// Runs work on a thread of its own and waits at most limit for its result.
// A call that hangs is left behind on that thread (the process ends it), so
// a hang fails the test that caused it instead of stalling the whole run.
template <typename Work>
auto ResultWithin(std::chrono::milliseconds limit, Work work) -> std::optional<decltype(work())> {
    using Result = decltype(work());
    auto promise = std::make_shared<std::promise<Result>>();
    std::future<Result> result = promise->get_future();
    std::thread([promise, work = std::move(work)]() mutable { promise->set_value(work()); }).detach();
    if (result.wait_for(limit) != std::future_status::ready) return std::nullopt;
    return result.get();
}

}  // namespace quenlix::testing
