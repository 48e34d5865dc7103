#include "ui/tabs/GprsFtpTab.h"

#include "link/Link.h"
#include "text/Ansi.h"
#include "ui/TabHost.h"
#include "ui/widgets/ReadMode.h"
#include "ui/widgets/SecretField.h"
#include "ui/widgets/TypingLimit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zx::ui {
namespace {

namespace msg = commands::messaging;

QString str(const char *s) {
    return QString::fromLatin1(s);
}

} // namespace

GprsFtpTab::GprsFtpTab(TabHost &host, QWidget *parent) : QWidget(parent), host_(host) {
    auto *page = new QHBoxLayout(this);
    page->setContentsMargins(kTabMargin, kTabMargin, kTabMargin, kTabMargin);
    page->setSpacing(4);
    auto *v = new QVBoxLayout;
    auto *groups = new QHBoxLayout;
    QGroupBox *gprs = new QGroupBox(QStringLiteral("GPRS"), this);
    QGroupBox *ftp = new QGroupBox(QStringLiteral("FTP"), this);
    auto *gprsGrid = new QGridLayout(gprs);
    auto *ftpGrid = new QGridLayout(ftp);
    std::array<int, 2> rows{};
    for (int i = 0; i < msg::kGprsFtpCount; ++i) {
        const msg::GprsFtpParameter &p = msg::kGprsFtpParameters[std::size_t(i)];
        QGroupBox *group = p.ftpGroup ? ftp : gprs;
        QGridLayout *grid = p.ftpGroup ? ftpGrid : gprsGrid;
        int &row = rows[p.ftpGroup ? 1 : 0];
        auto *box = new QLineEdit(str(p.initialText), group);
        box->setObjectName(str(p.box));
        limitTyping(box, p.boxLimit);
        auto *button = new QPushButton(QStringLiteral("WRITE"), group);
        button->setObjectName(str(p.button));
        grid->addWidget(new QLabel(str(p.label), group), row, 0);
        grid->addWidget(box, row, 1);
        grid->addWidget(button, row, 2);
        ++row;
        boxes[std::size_t(i)] = box;
        buttons[std::size_t(i)] = button;
        connect(button, &QPushButton::clicked, this, [this, i] { parameterClick(i); });
    }
    groups->addWidget(gprs, 0, Qt::AlignTop);
    groups->addWidget(ftp, 0, Qt::AlignTop);
    v->addLayout(groups);

    v->addStretch();
    page->addLayout(v, 1);
    ReadGPRS1 = new QCheckBox(QStringLiteral("Read "), this);
    ReadGPRS1->setObjectName(QStringLiteral("ReadGPRS1"));
    page->addWidget(readSide(ReadGPRS1, {}, this), 0, Qt::AlignTop);
    // The settings hold these passwords; the boxes show them masked.
    makeSecret(boxes[msg::kGprsPassword]);
    makeSecret(boxes[msg::kFtpPassword]);
    connect(ReadGPRS1, &QCheckBox::toggled, this, &GprsFtpTab::ReadGPRS1Click);
}

void GprsFtpTab::parameterClick(int parameter) {
    const msg::GprsFtpParameter &p = msg::kGprsFtpParameters.at(std::size_t(parameter));
    link::Link &link = host_.link();
    if (ReadGPRS1->isChecked()) {
        link.sendCommand(p.readLine);
        return;
    }
    link.Clear();
    QLineEdit *box = boxes[std::size_t(parameter)];
    const msg::GprsFtpWrite write = msg::gprsFtpWrite(parameter, text::toAnsi(box->text()));
    if (write.boxText)
        box->setText(text::fromAnsi(*write.boxText));
    link.sendCommand(write.line, link::CommandStyle().withoutClear());
}

void GprsFtpTab::ReadGPRS1Click(bool checked) {
    host_.link().setRawLine(false);
    for (QPushButton *b : buttons) {
        b->setText(checked ? QStringLiteral("RD") : QStringLiteral("WR"));
        showReadMode(b, checked);
    }
}

void GprsFtpTab::showAnswer(const QByteArray &answer) {
    if (const auto a = msg::parseGprsFtpAnswer(answer))
        boxes[std::size_t(a->parameter)]->setText(text::fromAnsi(a->value));
}

void GprsFtpTab::load(const settings::NetworkSettings &network) {
    for (std::size_t i = 0; i < boxes.size(); ++i)
        boxes[i]->setText(text::fromAnsi(network.texts[i]));
}

void GprsFtpTab::save(settings::NetworkSettings &network) const {
    for (std::size_t i = 0; i < boxes.size(); ++i)
        network.texts[i] = text::toAnsi(boxes[i]->text());
}

QList<QWidget *> GprsFtpTab::paleBoxes() const {
    return {boxes.begin(), boxes.end()};
}

} // namespace zx::ui
