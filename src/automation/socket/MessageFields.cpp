#include "automation/socket/MessageFields.h"

#include "automation/socket/Protocol.h"

#include <QCborStreamReader>

namespace automation::socket {

namespace {

constexpr QLatin1StringView names[] = {key::type,  key::id,     key::object, key::member, key::kind,  key::args,
                                       key::value, key::status, key::code,   key::text,   key::count, key::name};

}  // namespace

int MessageFields::slotOf(QLatin1StringView key)
{
    for (int i = 0; i < fieldCount; ++i) {
        if (names[i] == key)
            return i;
    }
    return -1;
}

int MessageFields::slotOf(const QString& key)
{
    for (int i = 0; i < fieldCount; ++i) {
        if (key == names[i])
            return i;
    }
    return -1;
}

const QCborValue& MessageFields::value(QLatin1StringView key) const
{
    static const QCborValue absent;
    const int slot = slotOf(key);
    return slot >= 0 ? fields_[static_cast<size_t>(slot)] : absent;
}

bool MessageFields::parse(const QByteArray& payload)
{
    fields_.fill(QCborValue());
    seen_.fill(false);
    QCborStreamReader reader(payload);
    if (!reader.isMap() || !reader.enterContainer())
        return false;
    while (reader.lastError() == QCborError::NoError && reader.hasNext()) {
        int slot = -1;
        // A key of a few ASCII letters in one piece is compared where it lies; any other is
        // decoded (and so checked) as QCbor would.
        const qint64 at = reader.currentOffset();
        const auto head = at >= 0 && at < payload.size() ? static_cast<unsigned char>(payload[at]) : 0u;
        const qsizetype length = head & 0x1F;
        bool compared = false;
        if (reader.isString() && (head >> 5) == 3 && length < 24 && at + 1 + length <= payload.size()) {
            const char* text = payload.constData() + at + 1;
            bool ascii = true;
            for (qsizetype i = 0; i < length; ++i)
                ascii = ascii && static_cast<unsigned char>(text[i]) < 0x80;
            if (ascii) {
                if (!reader.next())
                    return false;
                slot = slotOf(QLatin1StringView(text, length));
                compared = true;
            }
        }
        if (!compared) {
            const QCborValue key = QCborValue::fromCbor(reader);
            if (reader.lastError() != QCborError::NoError)
                return false;
            slot = key.isString() ? slotOf(key.toString()) : -1;
        }
        QCborValue value = QCborValue::fromCbor(reader);
        if (reader.lastError() != QCborError::NoError)
            return false;
        if (slot >= 0 && !seen_[static_cast<size_t>(slot)]) {
            seen_[static_cast<size_t>(slot)] = true;
            fields_[static_cast<size_t>(slot)] = std::move(value);
        }
    }
    return reader.lastError() == QCborError::NoError && reader.leaveContainer();
}

}  // namespace automation::socket
