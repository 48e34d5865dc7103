#pragma once
// "Module" -> "Modules…": what the module register knows. A table of the
// modules (number, name, site, firmware, last contact, last run's outcome,
// tags) with a filter; the chosen module's runs; the chosen run's commands,
// each with its answer, milliseconds and status; "Compare with now" (what
// the module was known to hold when the run ended against what it is known
// to hold now) and "Open in window" (its known record into the controls, as
// "Open profile…" opens a partial profile).
#include "register/Register.h"
#include "settings/ConfigRecord.h"

#include <QDialog>

#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace zx::ui {

struct ModulesDialogWindow {
    // The window's values, which the known record is opened over.
    std::function<settings::ConfigRecord()> currentRecord;
    // A record into the controls, the port's excepted.
    std::function<void(const settings::ConfigRecord &)> openRecord;
    // A write or read is going on: the controls are the run's until it ends.
    std::function<bool()> running;
};

class ModulesDialog : public QDialog {
    Q_OBJECT
public:
    // Opens the register the user's setting names (the default SQLite file
    // without one); when it cannot, the dialog says why and what to do.
    ModulesDialog(ModulesDialogWindow window, QWidget *parent);
    ~ModulesDialog() override;

    // Reads the register again.
    void reload();

private:
    void fillModules();
    void applyFilter();
    void moduleChosen();
    void runChosen();
    void compareWithNow();
    void openInWindow();
    QString chosenModule() const;
    const reg::RunInfo *chosenRun() const;

    ModulesDialogWindow window_;
    std::unique_ptr<reg::Register> register_;
    QList<reg::ModuleInfo> modules_;
    QList<reg::RunInfo> runs_;
    QLabel *where_ = nullptr;
    QLineEdit *filter_ = nullptr;
    QTableWidget *modulesTable_ = nullptr;
    QTableWidget *history_ = nullptr;
    QTableWidget *commands_ = nullptr;
    QPlainTextEdit *compare_ = nullptr;
    QPushButton *compareButton_ = nullptr;
    QPushButton *openButton_ = nullptr;
};

} // namespace zx::ui
