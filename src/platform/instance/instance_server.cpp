#include "platform/instance/instance_server.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <deque>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/instance/instance_packet.h"
#include "platform/instance/runtime_folder.h"

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

// Room for the largest packet and one byte more, which shows that a peer
// sent more than one packet.
constexpr size_t kMaxReceived = kRequestHeaderSize + kMaxChangeFrame + 1;

struct Peer {
    enum Phase { Reading, Waiting, Writing };
    int fd = -1;
    uint64_t id = 0;
    Phase phase = Reading;
    Clock::time_point deadline;
    std::string in;
    std::string out;
    size_t sent = 0;
};

// A whole packet on its way to the window thread, and the answer on its way back.
struct Arrived {
    uint64_t peer = 0;
    InstancePacketKind kind = InstancePacketKind::Activation;
    std::string request;
};
struct Answer {
    uint64_t peer = 0;
    bool drop = false;  // close without an answer
    std::string bytes;
};

void Poke(int fd)
{
    const char byte = 1;
    // A full pipe already holds a wake-up.
    [[maybe_unused]] ssize_t n = write(fd, &byte, 1);
}

void Drain(int fd)
{
    char buf[256];
    while (read(fd, buf, sizeof buf) > 0) {}
}

int MsUntil(Clock::time_point t)
{
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(t - Clock::now()).count();
    return int(std::clamp<long long>(ms + 1, 0, 60000));
}

}  // namespace

struct InstanceServer::State {
    int listenFd = -1;
    InstanceLog log;
    InstanceServerLimits limits;
    int readyPipe[2] = {-1, -1};  // the thread tells the window thread
    int wakePipe[2] = {-1, -1};   // the window thread (or the end) tells the thread
    std::thread thread;

    std::mutex mutex;  // guards the three below
    std::deque<Arrived> arrived;
    std::deque<Answer> answers;
    bool stop = false;

    // The thread's own.
    std::vector<Peer> peers;
    uint64_t nextId = 1;
    std::set<std::string> logged;
    Clock::time_point acceptPausedUntil;

    void Run();
    void Accept();
    void Read(Peer& p);
    void Write(Peer& p);
    void TakeAnswers();
    void Close(Peer& p);
    void Drop(Peer& p, const std::string& why);
    void LogOnce(const std::string& why);
    void MakeRoom();
    int Timeout() const;
};

void InstanceServer::State::LogOnce(const std::string& why)
{
    if (!logged.insert(why).second) return;
    const std::string line =
        "dropped a connection to the instance socket: " + why + " (later ones of this kind are dropped without a note)";
    if (log)
        log(line);
    else
        std::fprintf(stderr, "tevlan: %s\n", line.c_str());
}

void InstanceServer::State::Close(Peer& p)
{
    if (p.fd >= 0) close(p.fd);
    p.fd = -1;
}

void InstanceServer::State::Drop(Peer& p, const std::string& why)
{
    LogOnce(why);
    Close(p);
}

// The peer that has waited longest for its packet goes: a crowd of idle
// connections must not keep tevlanctl out.
void InstanceServer::State::MakeRoom()
{
    size_t live = 0;
    Peer* oldest = nullptr;
    for (Peer& p : peers) {
        if (p.fd < 0) continue;
        ++live;
        if (p.phase == Peer::Reading && (!oldest || p.deadline < oldest->deadline)) oldest = &p;
    }
    if (live >= limits.maxPeers && oldest) Drop(*oldest, "too many connections at once; the oldest idle one goes");
}

void InstanceServer::State::Accept()
{
    if (Clock::now() < acceptPausedUntil) return;
    for (;;) {
        const int fd = accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            if (errno != EAGAIN && errno != EWOULDBLOCK) {
                // Out of descriptors: the waiting connections stay queued
                // until idle ones time out; no busy loop meanwhile.
                LogOnce("cannot accept more connections");
                acceptPausedUntil = Clock::now() + std::chrono::milliseconds(100);
            }
            return;
        }
        if (const std::string why = CheckPeerIsOurUser(fd); !why.empty()) {
            LogOnce(why);
            close(fd);
            continue;
        }
        MakeRoom();
        Peer p;
        p.fd = fd;
        p.id = nextId++;
        p.deadline = Clock::now() + std::chrono::milliseconds(limits.packetDeadlineMs);
        peers.push_back(std::move(p));
        // A peer usually sends its packet with the connection.
        Read(peers.back());
    }
}

void InstanceServer::State::Read(Peer& p)
{
    char buf[4096];
    for (;;) {
        const size_t room = kMaxReceived - p.in.size();
        const ssize_t n = recv(p.fd, buf, std::min(room, sizeof buf), MSG_DONTWAIT);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
        if (n <= 0) return Drop(p, "the peer went away before it had sent a whole packet");
        p.in.append(buf, size_t(n));
        if (p.in.size() >= kMaxReceived) break;
    }
    const InstancePacket packet = ParseInstancePacket(p.in);
    if (packet.kind == InstancePacketKind::Incomplete) return;
    if (packet.kind == InstancePacketKind::Invalid) return Drop(p, packet.why);
    p.phase = Peer::Waiting;
    {
        std::lock_guard<std::mutex> lock(mutex);
        arrived.push_back({p.id, packet.kind, std::string(packet.request)});
    }
    p.in.clear();
    Poke(readyPipe[1]);
}

void InstanceServer::State::Write(Peer& p)
{
    while (p.sent < p.out.size()) {
        const ssize_t n = send(p.fd, p.out.data() + p.sent, p.out.size() - p.sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
        if (n <= 0) return Close(p);  // the peer gave up waiting: nothing to tell
        p.sent += size_t(n);
    }
    Close(p);
}

void InstanceServer::State::TakeAnswers()
{
    std::deque<Answer> taken;
    {
        std::lock_guard<std::mutex> lock(mutex);
        taken.swap(answers);
    }
    for (Answer& a : taken) {
        auto it = std::find_if(peers.begin(), peers.end(), [&](const Peer& p) { return p.id == a.peer && p.fd >= 0; });
        if (it == peers.end()) continue;
        if (a.drop) {
            Close(*it);
            continue;
        }
        it->phase = Peer::Writing;
        it->out = std::move(a.bytes);
        it->deadline = Clock::now() + std::chrono::milliseconds(limits.answerDeadlineMs);
        Write(*it);
    }
}

int InstanceServer::State::Timeout() const
{
    int timeout = -1;
    for (const Peer& p : peers)
        if (p.fd >= 0 && p.phase != Peer::Waiting)
            timeout = timeout < 0 ? MsUntil(p.deadline) : std::min(timeout, MsUntil(p.deadline));
    if (Clock::now() < acceptPausedUntil)
        timeout = timeout < 0 ? MsUntil(acceptPausedUntil) : std::min(timeout, MsUntil(acceptPausedUntil));
    return timeout;
}

void InstanceServer::State::Run()
{
    std::vector<pollfd> fds;
    for (;;) {
        // Out of descriptors, the listening socket stays readable: it is not
        // watched until the pause ends, or the thread would spin.
        const short listenEvents = Clock::now() < acceptPausedUntil ? 0 : POLLIN;
        fds.assign({{wakePipe[0], POLLIN, 0}, {listenFd, listenEvents, 0}});
        for (const Peer& p : peers)
            fds.push_back({p.fd, short(p.phase == Peer::Reading ? POLLIN : p.phase == Peer::Writing ? POLLOUT : 0), 0});
        if (poll(fds.data(), nfds_t(fds.size()), Timeout()) < 0 && errno != EINTR) break;
        if (fds[0].revents) {
            Drain(wakePipe[0]);
            std::lock_guard<std::mutex> lock(mutex);
            if (stop) break;
        }
        const Clock::time_point now = Clock::now();
        const size_t known = fds.size() - 2;
        for (size_t i = 0; i < known; ++i) {
            Peer& p = peers[i];
            const short r = fds[i + 2].revents;
            if (p.fd < 0) continue;
            if (p.phase == Peer::Reading && (r & (POLLIN | POLLHUP | POLLERR)))
                Read(p);
            else if (p.phase == Peer::Writing && (r & (POLLOUT | POLLHUP | POLLERR)))
                Write(p);
            else if (p.phase == Peer::Waiting && (r & (POLLHUP | POLLERR)))
                Close(p);  // its answer has nobody to go to
            if (p.fd >= 0 && p.phase == Peer::Reading && now >= p.deadline)
                Drop(p, "the peer did not send a whole packet in time");
            else if (p.fd >= 0 && p.phase == Peer::Writing && now >= p.deadline)
                Close(p);
        }
        TakeAnswers();
        if (fds[1].revents || (listenEvents == 0 && Clock::now() >= acceptPausedUntil)) Accept();
        peers.erase(std::remove_if(peers.begin(), peers.end(), [](const Peer& p) { return p.fd < 0; }), peers.end());
    }
}

InstanceServer::InstanceServer(int listenFd, InstanceLog log, InstanceServerLimits limits)
    : state_(std::make_unique<State>())
{
    State& s = *state_;
    s.listenFd = listenFd;
    s.log = std::move(log);
    s.limits = limits;
    if (pipe2(s.readyPipe, O_CLOEXEC | O_NONBLOCK) != 0 || pipe2(s.wakePipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    s.thread = std::thread([&s] { s.Run(); });
}

InstanceServer::~InstanceServer()
{
    State& s = *state_;
    if (s.thread.joinable()) {
        {
            std::lock_guard<std::mutex> lock(s.mutex);
            s.stop = true;
        }
        Poke(s.wakePipe[1]);
        s.thread.join();
    }
    for (Peer& p : s.peers) s.Close(p);
    for (int fd : {s.listenFd, s.readyPipe[0], s.readyPipe[1], s.wakePipe[0], s.wakePipe[1]})
        if (fd >= 0) close(fd);
}

bool InstanceServer::Running() const { return state_->thread.joinable(); }

int InstanceServer::ReadyFd() const { return state_->readyPipe[0]; }

void InstanceServer::ProcessPending(const ActivationHandler& onActivation, const RequestHandler& onRequest)
{
    State& s = *state_;
    if (s.readyPipe[0] < 0) return;
    Drain(s.readyPipe[0]);
    std::deque<Arrived> taken;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        taken.swap(s.arrived);
    }
    if (taken.empty()) return;
    std::deque<Answer> answers;
    for (Arrived& a : taken) {
        Answer answer{a.peer, false, {}};
        if (a.kind == InstancePacketKind::Activation) {
            if (onActivation) onActivation();
            answer.bytes.assign(1, kActivationAnswer);
        } else if (onRequest) {
            answer.bytes = EncodeAnswerFrame(onRequest(a.request));
        } else {
            answer.drop = true;
        }
        answers.push_back(std::move(answer));
    }
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        for (Answer& a : answers) s.answers.push_back(std::move(a));
    }
    Poke(s.wakePipe[1]);
}

}  // namespace platform
