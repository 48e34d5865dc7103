#pragma once
// What the "Module" menu needs of the main window: the values its controls
// hold, a way to give them values, the port and the run's locks.
#include "settings/ConfigRecord.h"

#include <QString>

class QMainWindow;

namespace zx::ui {

class WindowRunPort;

// The port a run goes over, as the user knows it.
struct RunLine {
    QString name;   // "Com3"
    QString device; // "/dev/ttyUSB0"; empty when the port is not open
    quint32 baud = 9600;
    bool evenParity = false;

    bool open() const { return !device.isEmpty(); }
    // "Com3 (/dev/ttyUSB0) at 9600 baud"
    QString text() const;
};

class ModuleWindow {
public:
    virtual ~ModuleWindow() = default;

    virtual QMainWindow &frame() = 0;
    // The record "Save Setting" would write, without writing the file.
    virtual settings::ConfigRecord currentRecord() = 0;
    // The readable values of record (alarm numbers, phone book, texts,
    // GPRS/FTP) into their controls; each control reacts as to any value
    // the program gives it.
    virtual void takeModuleValues(const settings::ConfigRecord &record) = 0;
    // A whole record into the controls, except the port's, which stay as
    // the user chose them.
    virtual void openRecord(const settings::ConfigRecord &record) = 0;
    virtual RunLine runLine() const = 0;
    virtual WindowRunPort &runPort() = 0;
    // The controls that send are disabled while a run lasts.
    virtual void lockForRun(bool running) = 0;
    // While an SMS job has the modem: the buttons that send, the port and
    // the mode are locked, the values stay editable.
    virtual void lockForSmsJob(bool running) = 0;
    // In SMS mode: the link waits for nothing from the modem.
    virtual bool modemIdle() const = 0;
    // The link deletes none of the messages it lists, so that the answers
    // an SMS job waits for stay in the modem's store for the job.
    virtual void keepModemAnswers(bool keep) = 0;
};

} // namespace zx::ui
