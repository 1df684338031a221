#include "automation/socket/FrameBuffer.h"

#include "automation/socket/Protocol.h"

#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/socket.h>

namespace automation::socket {

namespace {

// What one receive asks for at least; a member access's frames are far smaller.
constexpr size_t receiveChunk = 16 * 1024;
constexpr size_t keptCapacity = 1024 * 1024;

}  // namespace

void FrameBuffer::reserveTail(size_t size)
{
    if (head_ == tail_) {
        head_ = tail_ = 0;
        // One huge frame must not pin its memory for the rest of the connection.
        if (bytes_.size() > keptCapacity && size <= keptCapacity)
            std::vector<char>().swap(bytes_);
    }
    if (bytes_.size() - tail_ >= size)
        return;
    // Move what is left to the front first; grow only when that is not enough.
    if (head_ > 0) {
        std::memmove(bytes_.data(), bytes_.data() + head_, tail_ - head_);
        tail_ -= head_;
        head_ = 0;
    }
    if (bytes_.size() - tail_ < size)
        bytes_.resize(std::max(tail_ + size, bytes_.size() * 2));
}

void FrameBuffer::append(const char* data, qsizetype size)
{
    if (size <= 0)
        return;
    reserveTail(static_cast<size_t>(size));
    std::memcpy(bytes_.data() + tail_, data, static_cast<size_t>(size));
    tail_ += static_cast<size_t>(size);
}

ssize_t FrameBuffer::receive(int descriptor, int flags, qsizetype* requested)
{
    reserveTail(receiveChunk);
    const size_t space = bytes_.size() - tail_;
    if (requested)
        *requested = static_cast<qsizetype>(space);
    const ssize_t got = ::recv(descriptor, bytes_.data() + tail_, space, flags);
    if (got > 0)
        tail_ += static_cast<size_t>(got);
    return got;
}

std::optional<QByteArray> FrameBuffer::takeFrame()
{
    const size_t available = tail_ - head_;
    if (available < 4)
        return std::nullopt;
    const auto length = qFromBigEndian<quint32>(bytes_.data() + head_);
    if (length > maxFrameSize)
        throw ProtocolError("frame too large");
    if (available < 4u + size_t(length))
        return std::nullopt;
    QByteArray payload(bytes_.data() + head_ + 4, static_cast<qsizetype>(length));
    head_ += 4 + size_t(length);
    if (head_ == tail_)
        head_ = tail_ = 0;
    return payload;
}

QByteArray FrameBuffer::frame(const QByteArray& payload)
{
    QByteArray out(4, Qt::Uninitialized);
    qToBigEndian<quint32>(static_cast<quint32>(payload.size()), out.data());
    out.append(payload);
    return out;
}

qsizetype sendAvailable(int descriptor, const char* data, qsizetype size)
{
    qsizetype sent = 0;
    while (sent < size) {
        const ssize_t put = ::send(descriptor, data + sent, static_cast<size_t>(size - sent), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (put > 0) {
            sent += put;
            continue;
        }
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            return -1;
        break;
    }
    return sent;
}

}  // namespace automation::socket
