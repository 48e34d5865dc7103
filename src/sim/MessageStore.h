#pragma once
// The modem's received-message store as AT+CMGL lists it in PDU mode.
#include <QByteArray>
#include <QList>
#include <QMap>

namespace zx::sim {

struct StoredMessage {
    int index = 0;
    int stat = 0;    // 0 received unread, 1 received read
    QByteArray pdu;  // uppercase hex, service-centre field first
};

class MessageStore {
public:
    explicit MessageStore(int capacity = 30) : m_capacity(capacity) {}

    // The index given, or 0 when the store is full.
    int add(const QByteArray &pdu);
    // Messages with the stat (4: all) by index; listing unread ones marks
    // them read.
    QList<StoredMessage> list(int stat);
    // The message as it was before reading marked it read; an empty pdu
    // when the slot is empty.
    StoredMessage read(int index);
    void remove(int index) { m_messages.remove(index); }

    bool isValidIndex(int index) const { return index >= 1 && index <= m_capacity; }
    int size() const { return int(m_messages.size()); }
    int capacity() const { return m_capacity; }
    void setCapacity(int capacity) { m_capacity = capacity; }
    void clear() { m_messages.clear(); }

private:
    int m_capacity;
    QMap<int, StoredMessage> m_messages;
};

// The TPDU length AT+CMGL shows: octets after the service-centre field.
int tpduLength(const QByteArray &pdu);

} // namespace zx::sim
