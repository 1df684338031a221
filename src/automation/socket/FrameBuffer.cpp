#include "automation/socket/FrameBuffer.h"

#include "automation/socket/Protocol.h"

#include <QtEndian>

namespace automation::socket {

std::optional<QByteArray> FrameBuffer::takeFrame()
{
    if (buffer_.size() < 4)
        return std::nullopt;
    const auto length = qFromBigEndian<quint32>(buffer_.constData());
    if (length > maxFrameSize)
        throw ProtocolError("frame too large");
    if (static_cast<quint64>(buffer_.size()) < 4u + quint64(length))
        return std::nullopt;
    QByteArray payload = buffer_.mid(4, static_cast<qsizetype>(length));
    buffer_.remove(0, 4 + static_cast<qsizetype>(length));
    return payload;
}

QByteArray FrameBuffer::frame(const QByteArray& payload)
{
    QByteArray out(4, Qt::Uninitialized);
    qToBigEndian<quint32>(static_cast<quint32>(payload.size()), out.data());
    out.append(payload);
    return out;
}

}  // namespace automation::socket
