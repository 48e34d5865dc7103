#include "ui/tabs/SerialPortTab.h"

#include "serial/PortNames.h"
#include "serial/PortSource.h"
#include "ui/widgets/BoxColour.h"
#include "ui/widgets/RadioGroup.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QPalette>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

namespace zx::ui {
namespace {

constexpr int kBauds[] = {2400, 4800, 9600, 19200, 38400, 57600, 115200};

QStringList comItems() {
    QStringList items;
    for (int n = 1; n <= 16; ++n)
        items << QStringLiteral("Com%1").arg(n);
    return items;
}

QStringList baudItems() {
    QStringList items;
    for (int b : kBauds)
        items << QString::number(b);
    return items;
}

} // namespace

int SerialPortTab::baudOfItem(int index) {
    return index >= 0 && index < int(std::size(kBauds)) ? kBauds[index] : kBauds[0];
}

SerialPortTab::SerialPortTab(QWidget *parent) : QWidget(parent) {
    auto *layout = new QHBoxLayout(this);

    RadioGroupPort = new RadioGroup(QStringLiteral("RadioGroupPort"), QStringLiteral("Com Port "),
                                    comItems(), 1, this);
    for (int i = 0; i < 16; ++i) {
        deviceNotes_[i] = new QLabel(RadioGroupPort);
        deviceNotes_[i]->setObjectName(QStringLiteral("ComDevice%1").arg(i + 1));
        deviceNotes_[i]->setForegroundRole(QPalette::PlaceholderText);
        RadioGroupPort->setItemNote(i, deviceNotes_[i]);
    }
    auto *ports = new QVBoxLayout;
    ports->addWidget(RadioGroupPort, 1);
    RememberPort = new QPushButton(this);
    RememberPort->setObjectName(QStringLiteral("RememberPort"));
    RememberPort->setToolTip(QStringLiteral(
        "The chosen item opens this device from now on, by its stable name under "
        "/dev/serial/by-id, whatever order the adapters are plugged in."));
    connect(RememberPort, &QPushButton::clicked, this, &SerialPortTab::rememberPort);
    connect(RadioGroupPort, &RadioGroup::itemIndexChanged, this,
            &SerialPortTab::updateRememberButton);
    ports->addWidget(RememberPort, 0, Qt::AlignLeft);
    layout->addLayout(ports, 1);

    // Speed and options share one narrow column, so that the port details
    // (maker, product, USB ids, serial) get the width of the tab.
    auto *options = new QVBoxLayout;
    RadioGroupRate = new RadioGroup(QStringLiteral("RadioGroupRate"), QStringLiteral("Baud Rate"),
                                    baudItems(), 1, this);
    options->addWidget(RadioGroupRate);
    SkipCRLFcb = new QCheckBox(QStringLiteral("Skip CR/LF"), this);
    SkipCRLFcb->setObjectName(QStringLiteral("SkipCRLFcb"));
    options->addWidget(SkipCRLFcb);
    ParityEven = new QCheckBox(QStringLiteral("Parity Even"), this);
    ParityEven->setObjectName(QStringLiteral("ParityEven"));
    options->addWidget(ParityEven);

    auto *wait = new QGroupBox(QStringLiteral("Wait SMS Timeout (ms)"), this);
    auto *waitLayout = new QHBoxLayout(wait);
    TrackBar5 = new QSlider(Qt::Horizontal, wait);
    TrackBar5->setObjectName(QStringLiteral("TrackBar5"));
    TrackBar5->setRange(0, 100000);
    emphasiseHandle(TrackBar5);
    Edit1 = new QLineEdit(wait);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaximumWidth(80);
    waitLayout->addWidget(TrackBar5);
    waitLayout->addWidget(Edit1);
    connect(TrackBar5, &QSlider::valueChanged, this,
            [this](int position) { Edit1->setText(QString::number(position)); });
    options->addWidget(wait);
    options->addStretch();
    layout->addLayout(options, 0);

    RadioGroupPort->setItemIndex(0);
    RadioGroupRate->setItemIndex(0);
    refreshDeviceNotes();
}

void SerialPortTab::setPortSource(const serial::PortSource *source) {
    if (source_)
        disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    if (source_)
        connect(source_, &serial::PortSource::portsChanged, this,
                &SerialPortTab::refreshDeviceNotes);
    refreshDeviceNotes();
}

serial::PortDetails SerialPortTab::comPort(int n) const {
    if (source_)
        return serial::comPortDevice(n, source_->ports(), serial::portMapDirectory());
    serial::PortDetails port;
    port.device = serial::resolvePortName(QStringLiteral("\\\\.\\COM%1").arg(n));
    return port;
}

void SerialPortTab::refreshDeviceNotes() {
    for (int i = 0; i < 16; ++i) {
        const serial::PortDetails port = comPort(i + 1);
        deviceNotes_[i]->setText(port.device.isEmpty() ? QStringLiteral("(none)")
                                                        : port.summary());
        deviceNotes_[i]->setToolTip(port.byId);
    }
    updateRememberButton();
}

void SerialPortTab::updateRememberButton() {
    const int n = std::max(0, RadioGroupPort->itemIndex()) + 1;
    RememberPort->setText(QStringLiteral("Remember this port as Com%1").arg(n));
    const serial::PortDetails port = comPort(n);
    const QFileInfo link(QStringLiteral("%1/com%2").arg(serial::portMapDirectory()).arg(n));
    // Nothing to remember without a stable name, nor when it is remembered already.
    RememberPort->setEnabled(!port.byId.isEmpty() && link.symLinkTarget() != port.byId);
}

void SerialPortTab::rememberPort() {
    const int n = std::max(0, RadioGroupPort->itemIndex()) + 1;
    const serial::PortDetails port = comPort(n);
    QString error;
    if (port.byId.isEmpty())
        error = QStringLiteral("it has no stable name under /dev/serial/by-id");
    else if (serial::rememberComPort(n, port.byId, &error))
        emit message(QStringLiteral("Com%1 is now %2 (%3), wherever it is plugged in.")
                         .arg(n)
                         .arg(port.byId, port.device));
    if (!error.isEmpty())
        emit message(QStringLiteral("Com%1 was not remembered: %2.").arg(n).arg(error));
    refreshDeviceNotes();
}

void SerialPortTab::load(const settings::SerialPortSettings &values) {
    RadioGroupRate->setItemIndex(values.baudRateIndex);
    RadioGroupPort->setItemIndex(values.comPortIndex);
    TrackBar5->setValue(values.waitSmsTimeout);
    Edit1->setText(QString::number(TrackBar5->value()));
    ParityEven->setChecked(values.evenParity);
    SkipCRLFcb->setChecked(values.skipCrLf);
}

void SerialPortTab::save(settings::SerialPortSettings &values) const {
    values = {RadioGroupRate->itemIndex(), RadioGroupPort->itemIndex(), TrackBar5->value(),
              ParityEven->isChecked(), SkipCRLFcb->isChecked()};
}

void SerialPortTab::showEvent(QShowEvent *event) {
    refreshDeviceNotes();
    QWidget::showEvent(event);
}

} // namespace zx::ui
