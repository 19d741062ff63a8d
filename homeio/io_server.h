#pragma once
// The line protocol's server: a TCP port where boards and scripts send protocol lines
// (command.h) and read the answers. One worker thread owns the sockets (poll), reads and checks
// lines and writes answers; the panel thread applies the commands before each cycle and reports
// the watches' changes after it (protocol_client.h). The two meet only in the mailboxes, under a
// lock.
//
// A bad line is answered "error ..." and the connection stays. What closes a connection, that one
// alone: a line longer than 256 bytes or not UTF-8 text, a wrong first line when a token is asked
// for, more than kMaxWatches watches, a run of kMaxBadLines bad lines, or a reader so slow that
// kMaxBacklog bytes of answers wait for it. At most kMaxClients at once.

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "homeio/command.h"
#include "homeio/io_options.h"
#include "homeio/io_panel.h"
#include "homeio/protocol_client.h"
#include "platform/descriptor.h"
#include "platform/result.h"

namespace homeio {

inline constexpr int kMaxClients = 32;
inline constexpr int kMaxBadLines = 64;                    // in a row
inline constexpr std::size_t kMaxBacklog = 1 << 20;        // bytes of answers not yet taken
inline constexpr std::size_t kMaxWaiting = 256;            // commands read, not yet applied

struct IoStats {
    int clients = 0;
    std::uint64_t closed_hostile = 0;  // connections closed for what they sent or did not read
};

class IoServer : private IoListener {
public:
    // Listens and follows the panel's cycles until gone.
    static plat::Result<std::unique_ptr<IoServer>> start(IoPanel& panel, const IoOptions& options);
    ~IoServer() override;
    IoServer(const IoServer&) = delete;
    IoServer& operator=(const IoServer&) = delete;

    int port() const { return port_; }
    IoStats stats() const;

private:
    // What the two threads share of a connection.
    struct Mailbox {
        std::vector<Command> waiting;  // read, to apply before the next cycle
        std::string answers;           // to send
        bool left = false;             // the worker closed it: let go of what it held
        bool close = false;            // the panel thread asks it closed (past a limit)
    };
    struct Connection;

    IoServer(IoPanel& panel, IoOptions options);
    plat::Result<bool> listen();
    void before_cycle() override;
    void after_cycle() override;
    void wake();

    // The worker thread.
    void serve();
    void accept_clients();
    void read_from(Connection& c);
    void take_line(Connection& c, const std::string& line);
    bool write_to(Connection& c);
    void close_connection(Connection& c, bool hostile, const std::string& why);

    IoPanel& panel_;
    IoOptions options_;
    int port_ = 0;
    plat::Descriptor listener_, wake_;
    std::atomic<bool> stopping_{false};
    std::thread worker_;

    mutable std::mutex mutex_;
    std::map<int, Mailbox> mailboxes_;  // by connection id
    IoStats stats_;

    std::vector<std::unique_ptr<Connection>> connections_;  // the worker's
    int next_id_ = 1;

    std::map<int, ProtocolClient> clients_;  // the panel thread's, by connection id
};

}  // namespace homeio
