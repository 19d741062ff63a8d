#pragma once
// A stand-in X-Plane on a local UDP port, written from the documented packet layouts: it answers
// RREF subscriptions from its own dataref table and RPOS with the position's doubles, takes DREF writes and CMND
// commands (recording them), flies a simple aircraft that turns toward the heading dial while the
// servos and the heading mode are on, and can stop and start again on the same port.

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class FakeXPlane {
public:
    FakeXPlane();
    ~FakeXPlane();

    int port() const { return port_; }
    void set(const std::string& dataref, float value);
    float value(const std::string& dataref) const;
    // A byte-array dataref, one byte an element.
    void set_text(const std::string& dataref, const std::string& text);
    // The position, kept as doubles for RPOS (the RREF values are its floats).
    void set_position(double latitude, double longitude);
    std::vector<std::string> commands() const;
    std::vector<std::pair<std::string, float>> writes() const;
    std::size_t subscriptions() const;  // live ones
    // Goes quiet (as X-Plane quitting) and comes back with no subscriptions (as a new aircraft).
    void stop();
    void start();
    void forget_subscriptions();

private:
    void serve();
    void handle(const std::string& packet, const struct sockaddr_in& from);
    void fly(double seconds);
    void reply();

    int fd_ = -1;
    int port_ = 0;
    std::atomic<bool> quit_{false}, running_{true};
    mutable std::mutex mutex_;
    std::map<std::string, float> values_;
    std::map<int, std::string> subscribed_;  // RREF index -> path
    int rpos_rate_ = 0;
    std::atomic<int> rate_hz_{20};  // the replies' rate: the highest a subscription asked for
    double latitude_ = 0, longitude_ = 0;
    std::vector<std::string> commands_;
    std::vector<std::pair<std::string, float>> writes_;
    struct sockaddr_in* client_ = nullptr;
    std::thread thread_;
};
