#include "serial/ModemManagerProbe.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QFileInfo>
#include <QMetaObject>
#include <QVariantMap>

namespace zx::serial {
namespace {

const QString kService = QStringLiteral("org.freedesktop.ModemManager1");
const QString kManagerPath = QStringLiteral("/org/freedesktop/ModemManager1");
const QString kModemInterface = QStringLiteral("org.freedesktop.ModemManager1.Modem");

// Ports: a(su), the port's name and its type.
QStringList portNames(const QVariant &value) {
    QStringList names;
    if (!value.canConvert<QDBusArgument>())
        return names;
    const QDBusArgument ports = value.value<QDBusArgument>();
    if (ports.currentSignature() != QLatin1String("a(su)"))
        return names;
    ports.beginArray();
    while (!ports.atEnd()) {
        QString name;
        uint type = 0;
        ports.beginStructure();
        ports >> name >> type;
        ports.endStructure();
        names.append(name);
    }
    ports.endArray();
    return names;
}

// GetManagedObjects: a{oa{sa{sv}}}, objects with their interfaces' properties.
QList<ManagedModem> managedModems(const QDBusMessage &reply) {
    QList<ManagedModem> modems;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return modems;
    const QDBusArgument objects = reply.arguments().constFirst().value<QDBusArgument>();
    if (objects.currentSignature() != QLatin1String("a{oa{sa{sv}}}"))
        return modems;
    objects.beginMap();
    while (!objects.atEnd()) {
        QDBusObjectPath path;
        objects.beginMapEntry();
        objects >> path;
        objects.beginMap();
        while (!objects.atEnd()) {
            QString interface;
            QVariantMap properties;
            objects.beginMapEntry();
            objects >> interface >> properties;
            objects.endMapEntry();
            if (interface != kModemInterface)
                continue;
            modems.append(ManagedModem{path.path(), properties.value(QStringLiteral("Manufacturer")).toString(),
                                       properties.value(QStringLiteral("Model")).toString(),
                                       properties.value(QStringLiteral("PrimaryPort")).toString(),
                                       properties.value(QStringLiteral("Device")).toString(),
                                       portNames(properties.value(QStringLiteral("Ports")))});
        }
        objects.endMap();
        objects.endMapEntry();
    }
    objects.endMap();
    return modems;
}

QString bareTtyName(const QString &name) {
    return name.startsWith(QLatin1String("/dev/")) ? name.mid(5) : name;
}

} // namespace

QString ModemManagerOwner::modemName() const {
    return (modem.manufacturer.trimmed() + QLatin1Char(' ') + modem.model.trimmed()).trimmed();
}

QString ttyNameOf(const QString &device) {
    QString path = device;
    // A bound on the hops, for a loop of links.
    for (int hop = 0; hop < 16; ++hop) {
        const QFileInfo info(path);
        if (!info.isSymLink())
            break;
        path = info.symLinkTarget();
    }
    return QFileInfo(path).fileName();
}

ModemManagerOwner ownerOf(const QString &ttyName, const QList<ManagedModem> &modems) {
    if (ttyName.isEmpty())
        return {};
    for (const ManagedModem &modem : modems) {
        QStringList names = modem.ports;
        names.append(modem.primaryPort);
        for (const QString &name : std::as_const(names)) {
            if (bareTtyName(name) == ttyName)
                return ModemManagerOwner{true, modem, ttyName};
        }
    }
    return {};
}

QString modemManagerAdvice(const ModemManagerOwner &owner, const PortDetails &details) {
    if (!owner.owned)
        return {};
    const QString match =
        details.isUsb() && !details.productId.isEmpty()
            ? QStringLiteral("ATTRS{idVendor}==\"%1\", ATTRS{idProduct}==\"%2\"")
                  .arg(details.vendorId.toLower(), details.productId.toLower())
            : QStringLiteral("KERNEL==\"%1\"").arg(owner.port);
    const QString name = owner.modemName();
    return QStringLiteral("ModemManager holds /dev/%1 for its modem%2. To leave the device to this "
                          "tool, put the line %3, ENV{ID_MM_DEVICE_IGNORE}=\"1\" in a file such "
                          "as /etc/udev/rules.d/99-zentorix-modem.rules, run \"sudo udevadm "
                          "control --reload\", then unplug the modem and plug it in again.")
        .arg(owner.port, name.isEmpty() ? QString() : QLatin1Char(' ') + name, match);
}

ModemManagerProbe::ModemManagerProbe(QObject *parent) : QObject(parent) {}

void ModemManagerProbe::finish(const QString &device, const ModemManagerOwner &owner) {
    emit answered(device, owner);
}

void ModemManagerProbe::probe(const QString &device, int timeoutMs) {
    const QString tty = ttyNameOf(device);
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected() || tty.isEmpty()) {
        QMetaObject::invokeMethod(
            this, [this, device] { finish(device, {}); }, Qt::QueuedConnection);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        kService, kManagerPath, QStringLiteral("org.freedesktop.DBus.ObjectManager"),
        QStringLiteral("GetManagedObjects"));
    // Where ModemManager is installed but not running, the question must not start it.
    call.setAutoStartService(false);
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, timeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, device, tty](QDBusPendingCallWatcher *finished) {
                finished->deleteLater();
                finish(device, ownerOf(tty, managedModems(finished->reply())));
            });
}

void adviseWhenModemManagerOwns(QObject *context, const QString &device,
                                const std::function<void(const QString &advice)> &show) {
    auto *probe = new ModemManagerProbe(context);
    QObject::connect(probe, &ModemManagerProbe::answered, context,
                     [probe, show](const QString &, const ModemManagerOwner &owner) {
                         probe->deleteLater();
                         if (!owner.owned)
                             return;
                         show(modemManagerAdvice(
                             owner, sysfsPortDetails(QStringLiteral("/dev/") + owner.port)));
                     });
    probe->probe(device);
}

} // namespace zx::serial
