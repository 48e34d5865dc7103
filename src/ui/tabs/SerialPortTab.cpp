#include "ui/tabs/SerialPortTab.h"

#include "serial/PortNames.h"
#include "ui/widgets/BoxColour.h"
#include "ui/widgets/RadioGroup.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QPalette>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QVBoxLayout>

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
                                    comItems(), 2, this);
    for (int i = 0; i < 16; ++i) {
        deviceNotes_[i] = new QLabel(RadioGroupPort);
        deviceNotes_[i]->setObjectName(QStringLiteral("ComDevice%1").arg(i + 1));
        deviceNotes_[i]->setForegroundRole(QPalette::PlaceholderText);
        RadioGroupPort->setItemNote(i, deviceNotes_[i]);
    }
    layout->addWidget(RadioGroupPort, 3);

    RadioGroupRate = new RadioGroup(QStringLiteral("RadioGroupRate"), QStringLiteral("Baud Rate"),
                                    baudItems(), 1, this);
    layout->addWidget(RadioGroupRate, 1);

    auto *options = new QVBoxLayout;
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
    layout->addLayout(options, 2);

    RadioGroupPort->setItemIndex(0);
    RadioGroupRate->setItemIndex(0);
    refreshDeviceNotes();
}

void SerialPortTab::refreshDeviceNotes() {
    for (int i = 0; i < 16; ++i)
        deviceNotes_[i]->setText(serial::describeComPort(i + 1));
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
