#include "sim/MessageStore.h"

namespace zx::sim {

int MessageStore::add(const QByteArray &pdu) {
    for (int index = 1; index <= m_capacity; ++index) {
        if (!m_messages.contains(index)) {
            m_messages.insert(index, StoredMessage{index, 0, pdu});
            return index;
        }
    }
    return 0;
}

QList<StoredMessage> MessageStore::list(int stat) {
    QList<StoredMessage> listed;
    for (StoredMessage &message : m_messages) {
        if (stat != 4 && message.stat != stat)
            continue;
        listed.append(message);
        message.stat = 1;
    }
    return listed;
}

StoredMessage MessageStore::read(int index) {
    const auto found = m_messages.find(index);
    if (found == m_messages.end())
        return StoredMessage{index, 0, {}};
    const StoredMessage before = *found;
    found->stat = 1;
    return before;
}

int tpduLength(const QByteArray &pdu) {
    bool ok = false;
    const int serviceCentreOctets = pdu.left(2).toInt(&ok, 16);
    return int(pdu.size() / 2) - 1 - (ok ? serviceCentreOctets : 0);
}

} // namespace zx::sim
