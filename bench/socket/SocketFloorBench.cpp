// The floor under the socket transport: two processes bounce frames over a local stream
// socket and do nothing else (no encoding, no event loop, no objects). A round trip of the
// transport cannot cost less than this one; bench.sh runs both side by side, pinned to one
// core and unpinned, since a wake-up across cores is most of either.
//
// Arguments: request bytes, answer bytes. Counter: us_per_round_trip.

#include <benchmark/benchmark.h>

#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

bool readFully(int fd, char* data, size_t size)
{
    while (size > 0) {
        const ssize_t got = ::read(fd, data, size);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        data += got;
        size -= static_cast<size_t>(got);
    }
    return true;
}

bool writeFully(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t put = ::write(fd, data, size);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        data += put;
        size -= static_cast<size_t>(put);
    }
    return true;
}

// A second process that answers every request of `request` bytes with `answer` bytes until
// the socket closes.
class EchoProcess {
public:
    EchoProcess(size_t request, size_t answer)
    {
        int ends[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ends[0]);
            std::vector<char> buffer(std::max(request, answer), 'a');
            while (readFully(ends[1], buffer.data(), request) && writeFully(ends[1], buffer.data(), answer)) {
            }
            ::_exit(0);
        }
        ::close(ends[1]);
        fd_ = pid_ > 0 ? ends[0] : -1;
        if (pid_ < 0)
            ::close(ends[0]);
    }
    ~EchoProcess()
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (pid_ > 0)
            ::waitpid(pid_, nullptr, 0);
    }
    EchoProcess(const EchoProcess&) = delete;
    EchoProcess& operator=(const EchoProcess&) = delete;

    int fd() const { return fd_; }

private:
    pid_t pid_ = -1;
    int fd_ = -1;
};

void BM_SocketPingPong(benchmark::State& state)
{
    const auto request = static_cast<size_t>(state.range(0));
    const auto answer = static_cast<size_t>(state.range(1));
    EchoProcess peer(request, answer);
    if (peer.fd() < 0) {
        state.SkipWithError("no second process");
        return;
    }
    std::vector<char> out(request, 'q');
    std::vector<char> in(answer);
    int64_t roundTrips = 0;
    for (auto _ : state) {
        if (!writeFully(peer.fd(), out.data(), request) || !readFully(peer.fd(), in.data(), answer)) {
            state.SkipWithError("the second process went away");
            break;
        }
        ++roundTrips;
    }
    state.counters["us_per_round_trip"] = benchmark::Counter(static_cast<double>(roundTrips) * 1e-6,
                                                             benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
// The frames of the transport's member accesses: 50 to 64 bytes asked, 26 to 40 answered.
BENCHMARK(BM_SocketPingPong)->Args({64, 40})->Args({120, 40})->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
