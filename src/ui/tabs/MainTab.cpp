#include "ui/tabs/MainTab.h"

#include "link/Link.h"
#include "text/Ansi.h"
#include "ui/TabHost.h"
#include "ui/tabs/IoReadButtons.h"
#include "ui/tabs/ModuleClockButtons.h"
#include "ui/widgets/BoxColour.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <tuple>
#include <vector>

namespace zx::ui {
namespace {

struct ModemLineButton {
    const char *name;
    const char *caption;
    const char *line;
};

constexpr ModemLineButton kBandButtons[] = {
    {"band0", "0", "  AT#BND=0"},
    {"band1", "1", "  AT#BND=1"},
    {"band2", "2", "  AT#BND=2"},
    {"band3", "3", "  AT#BND=3"},
    {"SupportedBand", "Supported Band", "  AT#BND=?"},
    {"CurrentBand", "Current Band", "  AT#BND?"},
};
constexpr ModemLineButton kSignalQuality = {"Squality", "Signal Quality", "  AT+CSQ"};

constexpr const char *kBandLegend[] = {
    "0 - GSM 900MHz + DCS 1800MHz", "1 - GSM 900MHz + PCS 1900MHz",
    "2 - GSM 850MHz + DCS 1800MHz", "3 - GSM 850MHz + PCS 1900MHz"};

QString str(const char *s) { return QString::fromLatin1(s); }

// Tab walks a grid of buttons row by row, left to right, as it reads.
void tabRowByRow(QGridLayout *grid) {
    struct Cell {
        int row;
        int column;
        QWidget *widget;
    };
    std::vector<Cell> cells;
    for (int i = 0; i < grid->count(); ++i) {
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
        if (QWidget *w = grid->itemAt(i)->widget())
            cells.push_back({row, column, w});
    }
    std::sort(cells.begin(), cells.end(), [](const Cell &a, const Cell &b) {
        return std::tie(a.row, a.column) < std::tie(b.row, b.column);
    });
    for (std::size_t k = 1; k < cells.size(); ++k)
        QWidget::setTabOrder(cells[k - 1].widget, cells[k].widget);
}

QLineEdit *readOnlyBox(const char *name, const char *text, QWidget *parent) {
    auto *box = new QLineEdit(str(text), parent);
    box->setObjectName(str(name));
    box->setReadOnly(true);
    return box;
}

} // namespace

MainTab::MainTab(TabHost &host, QWidget *parent) : QWidget(parent), host_(host) {
    setObjectName(QStringLiteral("MainTab"));
    auto *layout = new QGridLayout(this);

    auto *numberRow = new QHBoxLayout;
    numberRow->addWidget(new QLabel(QStringLiteral("ZENTORIX Nummer"), this));
    BRnumber = new QLineEdit(this);
    BRnumber->setObjectName(QStringLiteral("BRnumber"));
    setBoxColour(BRnumber, Qt::yellow);
    numberRow->addWidget(BRnumber);
    SMSmode = new QCheckBox(QStringLiteral("SMS mode"), this);
    SMSmode->setObjectName(QStringLiteral("SMSmode"));
    numberRow->addWidget(SMSmode);
    numberRow->addStretch();
    layout->addLayout(numberRow, 0, 0);

    DeleteSMS = new QCheckBox(QStringLiteral("Delete incoming SMS enable"), this);
    DeleteSMS->setObjectName(QStringLiteral("DeleteSMS"));
    DeleteSMS->setChecked(true);
    DeleteSMS->hide();
    TimeZone = new QLineEdit(QStringLiteral("+02"), this);
    TimeZone->setObjectName(QStringLiteral("TimeZone"));
    TimeZone->hide();

    ATcommand = new QGroupBox(this);
    ATcommand->setObjectName(QStringLiteral("ATcommand"));
    auto *readButtons = new QGridLayout(ATcommand);
    addIoReadButtons(readButtons, host.link());
    clockButtons = new ModuleClockButtons(host, readButtons, TimeZone, this);
    tabRowByRow(readButtons);
    layout->addWidget(ATcommand, 1, 0, Qt::AlignTop);

    layout->addWidget(buildModemGroup(), 0, 1, 2, 1);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(1, 1);
}

QWidget *MainTab::buildModemGroup() {
    auto *group = new QGroupBox(this);
    auto *v = new QVBoxLayout(group);
    auto *boxes = new QGridLayout;
    boxes->addWidget(new QLabel(QStringLiteral("Manufacturer"), group), 0, 0);
    Hersteller = readOnlyBox("Hersteller", "Hersteller", group);
    boxes->addWidget(Hersteller, 0, 1);
    boxes->addWidget(new QLabel(QStringLiteral("Model"), group), 1, 0);
    ModelIDCode = readOnlyBox("ModelIDCode", "ModelIDCode", group);
    boxes->addWidget(ModelIDCode, 1, 1);
    boxes->addWidget(new QLabel(QStringLiteral("Date/Time"), group), 2, 0);
    DateTime = readOnlyBox("DateTime", "DateTime", group);
    DateTime->setToolTip(QStringLiteral("0 - supplied from battery; 1 - not supplied from battery; "
                                        "2 -  no battery; 3- error. 00..100 - charge in percent"));
    boxes->addWidget(DateTime, 2, 1);
    v->addLayout(boxes);
    Memo5 = new QPlainTextEdit(group);
    Memo5->setObjectName(QStringLiteral("Memo5"));
    Memo5->setMaximumHeight(48);
    Memo5->setTabChangesFocus(true);
    tintWhileFocused(Memo5);
    // Hidden in SMS mode, the memo keeps its room: the buttons below stay put.
    QSizePolicy keepRoom = Memo5->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    Memo5->setSizePolicy(keepRoom);
    v->addWidget(Memo5);

    auto *buttons = new QHBoxLayout;
    auto *squality = new QPushButton(str(kSignalQuality.caption), group);
    squality->setObjectName(str(kSignalQuality.name));
    connect(squality, &QPushButton::clicked, this,
            [this] { sendModemLine(QByteArray(kSignalQuality.line)); });
    buttons->addWidget(squality);
    GSMbandOpen = new QPushButton(QStringLiteral("GSM Band enable"), group);
    GSMbandOpen->setObjectName(QStringLiteral("GSMbandOpen"));
    connect(GSMbandOpen, &QPushButton::clicked, this, &MainTab::GSMbandOpenClick);
    buttons->addWidget(GSMbandOpen);
    ATcmdOpen = new QPushButton(QStringLiteral("AT Command enable"), group);
    ATcmdOpen->setObjectName(QStringLiteral("ATcmdOpen"));
    connect(ATcmdOpen, &QPushButton::clicked, this, &MainTab::ATcmdOpenClick);
    buttons->addWidget(ATcmdOpen);
    // Room for the longer "disable" captions from the start, so that the
    // buttons keep their places when a panel opens.
    for (const auto &[button, wider] :
         {std::pair{GSMbandOpen, QStringLiteral("GSM Band disable")},
          std::pair{ATcmdOpen, QStringLiteral("AT Command disable")}}) {
        const QString caption = button->text();
        button->setText(wider);
        button->setMinimumWidth(button->sizeHint().width());
        button->setText(caption);
    }
    v->addLayout(buttons);

    v->addWidget(buildAtPanel());
    v->addWidget(buildBandPanel());
    v->addStretch();
    return group;
}

QWidget *MainTab::buildAtPanel() {
    PanelAT = new QGroupBox(QStringLiteral("AT command"), this);
    PanelAT->setObjectName(QStringLiteral("PanelAT"));
    auto *h = new QHBoxLayout(PanelAT);
    ATcmd = new QLineEdit(QStringLiteral("AT"), PanelAT);
    ATcmd->setObjectName(QStringLiteral("ATcmd"));
    h->addWidget(ATcmd);
    auto *send = new QPushButton(QStringLiteral("Send"), PanelAT);
    send->setObjectName(QStringLiteral("SendAT"));
    connect(send, &QPushButton::clicked, this, &MainTab::SendATClick);
    connect(ATcmd, &QLineEdit::returnPressed, this, &MainTab::SendATClick);
    h->addWidget(send);
    auto *ctrlZ = new QPushButton(QStringLiteral("CtrlZ"), PanelAT);
    ctrlZ->setObjectName(QStringLiteral("CtrlZ"));
    ctrlZ->hide();
    PanelAT->hide();
    return PanelAT;
}

QWidget *MainTab::buildBandPanel() {
    PanelBand = new QGroupBox(QStringLiteral("GSM band"), this);
    PanelBand->setObjectName(QStringLiteral("PanelBand"));
    auto *grid = new QGridLayout(PanelBand);
    grid->setVerticalSpacing(1);
    auto *buttons = new QHBoxLayout;
    for (const auto &b : kBandButtons) {
        auto *button = new QPushButton(str(b.caption), PanelBand);
        button->setObjectName(str(b.name));
        // The band numbers need no more room than their digit.
        if (b.caption[1] == '\0')
            button->setFixedWidth(button->sizeHint().height() + 8);
        const QByteArray line(b.line);
        connect(button, &QPushButton::clicked, this, [this, line] { sendModemLine(line); });
        buttons->addWidget(button);
    }
    buttons->addStretch();
    grid->addLayout(buttons, 0, 0);
    // One band per line, under the buttons that choose them.
    for (int i = 0; i < 4; ++i)
        grid->addWidget(new QLabel(str(kBandLegend[i]), PanelBand), 1 + i, 0);
    PanelBand->hide();
    return PanelBand;
}

void MainTab::SendATClick() {
    host_.link().SendRawLine("  " + text::toAnsi(ATcmd->text()), /*clearEchoLine=*/false);
}

void MainTab::sendModemLine(const QByteArray &line) {
    host_.link().SendRawLine(line, /*clearEchoLine=*/true);
}

void MainTab::ATcmdOpenClick() {
    if (PanelAT->isVisibleTo(this)) {
        PanelAT->hide();
        ATcmdOpen->setText(QStringLiteral("AT Command enable"));
        return;
    }
    PanelAT->show();
    PanelBand->hide();
    ATcmdOpen->setText(QStringLiteral("AT Command disable"));
    GSMbandOpen->setText(QStringLiteral("GSM Band enable"));
}

void MainTab::GSMbandOpenClick() {
    if (PanelBand->isVisibleTo(this)) {
        PanelBand->hide();
        GSMbandOpen->setText(QStringLiteral("GSM Band enable"));
        return;
    }
    PanelBand->show();
    PanelAT->hide();
    GSMbandOpen->setText(QStringLiteral("GSM Band disable"));
    ATcmdOpen->setText(QStringLiteral("AT Command enable"));
}

void MainTab::showManufacturer(const QByteArray &text) {
    Hersteller->setText(text::fromAnsi(text));
}

void MainTab::showModel(const QByteArray &text) {
    ModelIDCode->setText(text::fromAnsi(text));
}

void MainTab::showClock(const QByteArray &text) {
    DateTime->setText(text::fromAnsi(text));
}

void MainTab::load(const settings::MainSettings &values) {
    BRnumber->setText(text::fromAnsi(values.moduleNumberCopy));
    BRnumber->setText(text::fromAnsi(values.moduleNumber));
    DeleteSMS->setChecked(values.deleteIncomingSms);
    SMSmode->setChecked(values.smsMode);
}

QList<QWidget *> MainTab::paleBoxes() const {
    return {BRnumber};
}

void MainTab::save(settings::MainSettings &values) const {
    values.moduleNumber = text::toAnsi(BRnumber->text());
    values.moduleNumberCopy = values.moduleNumber;
    values.deleteIncomingSms = DeleteSMS->isChecked();
    values.smsMode = SMSmode->isChecked();
}

} // namespace zx::ui
