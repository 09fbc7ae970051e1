// A long-lived thread of the program (the input listener, the host action executor): started
// once, asked to stop through its stop token and joined. Stop, or the destructor, returns only
// once the body has returned.
#pragma once

#include <functional>
#include <stop_token>
#include <thread>
#include <utility>

class WorkerThread {
public:
    explicit WorkerThread(std::function<void(std::stop_token)> body) : body_(std::move(body)) {}
    ~WorkerThread() { Stop(); }
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // A second Start while the thread runs does nothing.
    void Start() {
        if (!thread_.joinable()) thread_ = std::jthread(body_);
    }
    void Stop() {
        if (!thread_.joinable()) return;
        thread_.request_stop();
        thread_.join();
    }

private:
    std::function<void(std::stop_token)> body_;
    std::jthread thread_;
};
