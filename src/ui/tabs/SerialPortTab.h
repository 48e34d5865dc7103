#pragma once
// The "Serial Port" tab: port and speed, parity, the Skip CR/LF display
// option and the SMS wait slider. Each "ComN" item shows the device it opens.
#include "settings/WindowSettings.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QSlider;

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

    // Looks again which device each "ComN" item resolves to on this machine.
    void refreshDeviceNotes();
    // Bits per second of the selected "Baud Rate" item.
    static int baudOfItem(int index);

    // The speed and port reopen the port through their groups' reactions.
    void load(const settings::SerialPortSettings &values);
    void save(settings::SerialPortSettings &values) const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLabel *deviceNotes_[16] = {};
};

} // namespace zx::ui
