#include "ui/register/ModuleNumberDialog.h"

#include "register/ModuleNumber.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zx::ui {

ModuleNumberDialog::ModuleNumberDialog(const QString &port, const QString &number,
                                       QWidget *parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("ModuleNumberDialog"));
    setWindowTitle(QStringLiteral("Which module was this?"));
    auto *text = new QLabel(
        QStringLiteral("The window holds no module number, so the module register keeps this "
                       "run under the port %1. Give the module's telephone number to keep it "
                       "with that module's runs, a name to find it by, or both. Cancel leaves "
                       "it under the port.")
            .arg(port),
        this);
    text->setObjectName(QStringLiteral("ModuleNumberText"));
    text->setWordWrap(true);
    number_ = new QLineEdit(number, this);
    number_->setObjectName(QStringLiteral("ModuleNumberEdit"));
    number_->setPlaceholderText(QStringLiteral("+4917012345678"));
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("ModuleNameEdit"));
    name_->setPlaceholderText(QStringLiteral("Pump station north"));
    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("ModuleNumberProblem"));
    problem_->setWordWrap(true);
    problem_->hide();

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Number:"), number_);
    form->addRow(QStringLiteral("N&ame:"), name_);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ModuleNumberOk"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("ModuleNumberCancel"));
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(number_, &QLineEdit::textEdited, problem_, &QWidget::hide);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(form);
    layout->addWidget(problem_);
    layout->addWidget(buttons);
    setMinimumWidth(420);
    number_->setFocus();
    number_->selectAll();
}

QString ModuleNumberDialog::number() const { return reg::normaliseNumber(number_->text()); }

QString ModuleNumberDialog::name() const { return name_->text().trimmed(); }

void ModuleNumberDialog::accept() {
    if (!number_->text().trimmed().isEmpty() && number().isEmpty()) {
        problem_->setText(QStringLiteral("\"%1\" is not a telephone number: give digits, with "
                                         "a leading + or 00 for the country, or leave it empty.")
                              .arg(number_->text().trimmed()));
        problem_->show();
        number_->setFocus();
        number_->selectAll();
        return;
    }
    QDialog::accept();
}

} // namespace zx::ui
