#include "homeio/io_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "homeio/line_reader.h"

namespace homeio {

// What the worker alone keeps of a connection.
struct IoServer::Connection {
    int id = 0;
    plat::Descriptor socket;
    LineReader reader;
    bool authorised = false;
    int bad_in_row = 0;
    std::string sending;  // answers taken from the mailbox, not yet written
    bool closed = false;
};

namespace {

std::string system_error(const std::string& what) { return what + ": " + std::strerror(errno); }

bool same_text(const std::string& a, const std::string& b) {
    // Every byte looked at, so the time taken tells nothing of where a guess went wrong.
    unsigned char diff = a.size() == b.size() ? 0 : 1;
    for (std::size_t i = 0; i < a.size(); ++i) diff |= static_cast<unsigned char>(a[i] ^ b[i % (b.size() + 1)]);
    return diff == 0;
}

// What the socket takes at once of a connection's last words; the rest is lost with it.
void send_now(int socket, const std::string& text) {
    if (::send(socket, text.data(), text.size(), MSG_NOSIGNAL | MSG_DONTWAIT) < 0) {
        // The connection is being closed for what it did; a full or broken one is no news.
    }
}

}  // namespace

plat::Result<std::unique_ptr<IoServer>> IoServer::start(IoPanel& panel, const IoOptions& options) {
    std::unique_ptr<IoServer> server(new IoServer(panel, options));
    if (auto r = server->listen(); !r) return plat::Error{r.error()};
    server->panel_.listen(server.get());
    server->worker_ = std::thread([s = server.get()] { s->serve(); });
    return server;
}

IoServer::IoServer(IoPanel& panel, IoOptions options) : panel_(panel), options_(std::move(options)) {}

IoServer::~IoServer() {
    stopping_ = true;
    wake();
    if (worker_.joinable()) worker_.join();
    panel_.listen(nullptr);
}

plat::Result<bool> IoServer::listen() {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(options_.port));
    if (inet_pton(AF_INET, options_.address.c_str(), &addr.sin_addr) != 1)
        return plat::Error{"--io: not an IPv4 address: " + options_.address};
    listener_ = plat::Descriptor(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!listener_.valid()) return plat::Error{system_error("--io: cannot make a socket")};
    const int yes = 1;
    setsockopt(listener_.get(), SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    if (bind(listener_.get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(listener_.get(), 16) != 0)
        return plat::Error{system_error("--io: cannot listen at " + options_.address + ":" + std::to_string(options_.port))};
    socklen_t len = sizeof addr;
    getsockname(listener_.get(), reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    wake_ = plat::Descriptor(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
    if (!wake_.valid()) return plat::Error{system_error("--io: cannot make an event")};
    return true;
}

IoStats IoServer::stats() const {
    std::lock_guard lock(mutex_);
    return stats_;
}

void IoServer::wake() {
    const std::uint64_t one = 1;
    if (wake_.valid() && ::write(wake_.get(), &one, sizeof one) < 0) {
        // Already woken as often as a counter counts: it will look.
    }
}

// --- The panel thread ---------------------------------------------------------------------------

void IoServer::before_cycle() {
    std::map<int, std::vector<Command>> commands;
    std::vector<int> left;
    {
        std::lock_guard lock(mutex_);
        if (mailboxes_.empty() && clients_.empty()) return;
        for (auto it = mailboxes_.begin(); it != mailboxes_.end();) {
            if (it->second.left) {
                left.push_back(it->first);
                it = mailboxes_.erase(it);
                continue;
            }
            // A client being closed for what it did gets nothing more done.
            if (!it->second.waiting.empty() && !it->second.close) commands[it->first] = std::move(it->second.waiting);
            it->second.waiting.clear();
            ++it;
        }
    }
    for (int id : left) {
        if (auto c = clients_.find(id); c != clients_.end()) {
            c->second.release_all(panel_);
            clients_.erase(c);
        }
    }
    std::map<int, std::pair<std::string, bool>> answers;
    for (auto& [id, list] : commands) {
        ProtocolClient& client = clients_[id];
        auto& [text, keep] = answers[id];
        keep = true;
        for (const Command& c : list)
            if (keep) keep = client.apply(c, panel_, text);
        if (!keep) {
            client.release_all(panel_);
            clients_.erase(id);
        }
    }
    if (answers.empty()) return;
    {
        std::lock_guard lock(mutex_);
        for (auto& [id, answer] : answers) {
            auto box = mailboxes_.find(id);
            if (box == mailboxes_.end()) continue;
            box->second.answers += answer.first;
            if (!answer.second) box->second.close = true;
        }
    }
    wake();
}

void IoServer::after_cycle() {
    if (clients_.empty()) return;
    std::vector<std::pair<int, std::string>> changes;
    for (auto& [id, client] : clients_) {
        if (client.watches() == 0) continue;
        std::string text;
        client.report_changes(panel_, text);
        if (!text.empty()) changes.emplace_back(id, std::move(text));
    }
    if (changes.empty()) return;
    {
        std::lock_guard lock(mutex_);
        for (auto& [id, text] : changes)
            if (auto box = mailboxes_.find(id); box != mailboxes_.end()) box->second.answers += text;
    }
    wake();
}

// --- The worker thread --------------------------------------------------------------------------

void IoServer::serve() {
    std::vector<pollfd> fds;
    std::vector<Connection*> polled;
    while (!stopping_) {
        fds.assign({{wake_.get(), POLLIN, 0}, {listener_.get(), POLLIN, 0}});
        polled.clear();
        {
            std::lock_guard lock(mutex_);
            for (auto& c : connections_) {
                if (c->closed) continue;
                Mailbox& box = mailboxes_[c->id];
                c->sending += box.answers;
                box.answers.clear();
                if (box.close || c->sending.size() > kMaxBacklog) {
                    // The reason, when it fits in what the socket still takes.
                    if (box.close) send_now(c->socket.get(), c->sending);
                    c->closed = true;
                    ++stats_.closed_hostile;
                    continue;
                }
                short events = 0;
                // A client whose commands wait is not read from until they are applied.
                if (box.waiting.size() < kMaxWaiting) events |= POLLIN;
                if (!c->sending.empty()) events |= POLLOUT;
                fds.push_back({c->socket.get(), events, 0});
                polled.push_back(c.get());
            }
            for (auto& c : connections_)
                if (c->closed) {
                    mailboxes_[c->id].left = true;
                    --stats_.clients;
                }
        }
        std::erase_if(connections_, [](const auto& c) { return c->closed; });
        if (::poll(fds.data(), fds.size(), 500) < 0 && errno != EINTR) break;
        if (fds[0].revents & POLLIN) {
            std::uint64_t count;
            if (::read(wake_.get(), &count, sizeof count) < 0) {
                // Another wake took it: nothing is lost, the mailboxes are looked at anyway.
            }
        }
        for (std::size_t i = 0; i < polled.size(); ++i) {
            Connection& c = *polled[i];
            const short got = fds[i + 2].revents;
            if (got & POLLIN) read_from(c);
            else if (got & (POLLERR | POLLHUP | POLLNVAL)) c.closed = true;
            if (!c.closed && (got & POLLOUT)) write_to(c);
        }
        if (fds[1].revents & POLLIN) accept_clients();
    }
}

void IoServer::accept_clients() {
    for (;;) {
        plat::Descriptor s(accept4(listener_.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
        if (!s.valid()) return;
        if (static_cast<int>(connections_.size()) >= kMaxClients) {
            send_now(s.get(), "error too many clients\n");
            continue;
        }
        auto c = std::make_unique<Connection>();
        c->id = next_id_++;
        c->socket = std::move(s);
        c->authorised = options_.token.empty();
        {
            std::lock_guard lock(mutex_);
            mailboxes_[c->id];
            ++stats_.clients;
        }
        connections_.push_back(std::move(c));
    }
}

void IoServer::read_from(Connection& c) {
    char buffer[4096];
    const ssize_t n = ::recv(c.socket.get(), buffer, sizeof buffer, 0);
    if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
        c.closed = true;
        return;
    }
    if (n < 0) return;
    std::vector<std::string> lines;
    const LineFault fault = c.reader.feed(std::string_view(buffer, static_cast<std::size_t>(n)), lines);
    for (const std::string& line : lines) {
        if (c.closed) return;
        take_line(c, line);
    }
    if (fault != LineFault::none && !c.closed) close_connection(c, true, describe(fault));
}

void IoServer::take_line(Connection& c, const std::string& line) {
    std::string why;
    auto command = parse_command(line, why);
    if (!c.authorised) {
        if (!command || command->verb != Verb::token || !same_text(command->text, options_.token))
            close_connection(c, true, "the first line must be the token");
        else
            c.authorised = true;
        return;
    }
    std::lock_guard lock(mutex_);
    Mailbox& box = mailboxes_[c.id];
    if (command) {
        c.bad_in_row = 0;
        box.waiting.push_back(std::move(*command));
        return;
    }
    box.answers += "error " + why + "\n";
    if (++c.bad_in_row >= kMaxBadLines) box.close = true;
}

bool IoServer::write_to(Connection& c) {
    const ssize_t n = ::send(c.socket.get(), c.sending.data(), c.sending.size(), MSG_NOSIGNAL);
    if (n < 0) {
        if (errno != EAGAIN && errno != EINTR) c.closed = true;
        return false;
    }
    c.sending.erase(0, static_cast<std::size_t>(n));
    return true;
}

void IoServer::close_connection(Connection& c, bool hostile, const std::string& why) {
    send_now(c.socket.get(), c.sending + "error " + why + "\n");
    c.closed = true;
    if (hostile) {
        std::lock_guard lock(mutex_);
        ++stats_.closed_hostile;
    }
}

}  // namespace homeio
