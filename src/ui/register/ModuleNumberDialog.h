#pragma once
// After a run of a module the window holds no number for: the register keeps
// it under its port ("port:Com1") until the user gives its telephone number,
// a name, both or neither (Cancel).
#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;

namespace zx::ui {

class ModuleNumberDialog : public QDialog {
    Q_OBJECT
public:
    // port: "Com1"; number: what to offer (the one given last for the port).
    ModuleNumberDialog(const QString &port, const QString &number, QWidget *parent);

    // Normalised; empty when none was given.
    QString number() const;
    QString name() const;

    // A number that is not one keeps the dialog open and says why.
    void accept() override;

private:
    QLineEdit *number_ = nullptr;
    QLineEdit *name_ = nullptr;
    QLabel *problem_ = nullptr;
};

} // namespace zx::ui
