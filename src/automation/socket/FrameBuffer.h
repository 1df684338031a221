#pragma once

#include <QByteArray>

#include <optional>

namespace automation::socket {

// Cuts a byte stream into length-prefixed frames.
class FrameBuffer {
public:
    void append(const QByteArray& bytes) { buffer_.append(bytes); }

    // The next complete frame's payload, or nothing while it is still incomplete. Throws
    // ProtocolError when the announced length exceeds maxFrameSize; the stream cannot be
    // resynchronised after that.
    std::optional<QByteArray> takeFrame();

    bool empty() const { return buffer_.isEmpty(); }

    static QByteArray frame(const QByteArray& payload);

private:
    QByteArray buffer_;
};

}  // namespace automation::socket
