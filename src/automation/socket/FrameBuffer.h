#pragma once

#include <QByteArray>

#include <optional>
#include <sys/types.h>
#include <vector>

namespace automation::socket {

// Cuts a byte stream into length-prefixed frames.
//
// Taking a frame moves a read position instead of shifting the rest down, and the socket's
// bytes are received straight into the buffer: a round trip costs no copy of the stream.
class FrameBuffer {
public:
    void append(const QByteArray& bytes) { append(bytes.constData(), bytes.size()); }
    void append(const char* data, qsizetype size);

    // One recv() of whatever the descriptor holds into the buffer, with recv()'s result and
    // errno. *requested, when given, is how many bytes were asked for: fewer means the socket
    // had no more at that moment.
    ssize_t receive(int descriptor, int flags, qsizetype* requested = nullptr);

    // The next complete frame's payload, or nothing while it is still incomplete. Throws
    // ProtocolError when the announced length exceeds maxFrameSize; the stream cannot be
    // resynchronised after that.
    std::optional<QByteArray> takeFrame();

    bool empty() const { return head_ == tail_; }

    static QByteArray frame(const QByteArray& payload);

private:
    // Makes room for at least `size` more bytes after the tail.
    void reserveTail(size_t size);

    std::vector<char> bytes_;
    size_t head_ = 0;  // the first byte not yet taken
    size_t tail_ = 0;  // the end of what was received
};

// Sends as much of the bytes as the socket takes now, without waiting and without SIGPIPE.
// The count sent (fewer than `size` when the socket is full), or -1 when the peer is gone or
// the socket failed.
qsizetype sendAvailable(int descriptor, const char* data, qsizetype size);

}  // namespace automation::socket
