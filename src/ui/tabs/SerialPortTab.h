#pragma once
// The "Serial Port" tab: port and speed, parity, the Skip CR/LF display
// option and the SMS wait slider. Each "ComN" item shows the device it opens
// and, for a USB device, its maker, product, USB ids and serial number; the
// notes follow devices coming and going. "Remember this port as ComN" ties
// the chosen item to its device's stable by-id name in the port map.
#include "serial/PortDetails.h"
#include "settings/WindowSettings.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace zx::serial {
class PortSource;
}

namespace zx::ui {

class RadioGroup;

class SerialPortTab : public QWidget {
    Q_OBJECT
public:
    explicit SerialPortTab(QWidget *parent = nullptr);

    RadioGroup *RadioGroupPort = nullptr;
    RadioGroup *RadioGroupRate = nullptr;
    QCheckBox *SkipCRLFcb = nullptr;
    QCheckBox *ParityEven = nullptr;
    QSlider *TrackBar5 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QPushButton *RememberPort = nullptr;

    // The list the notes show; without one, /dev and sysfs are scanned.
    void setPortSource(const serial::PortSource *source);
    // What "ComN" (1..16) opens now.
    serial::PortDetails comPort(int n) const;
    // Looks again which device each "ComN" item resolves to.
    void refreshDeviceNotes();
    // Bits per second of the selected "Baud Rate" item.
    static int baudOfItem(int index);

    // The speed and port reopen the port through their groups' reactions.
    void load(const settings::SerialPortSettings &values);
    void save(settings::SerialPortSettings &values) const;

signals:
    // For the status bar: what became of "Remember this port".
    void message(const QString &text);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void rememberPort();
    void updateRememberButton();

    const serial::PortSource *source_ = nullptr;
    QLabel *deviceNotes_[16] = {};
};

} // namespace zx::ui
