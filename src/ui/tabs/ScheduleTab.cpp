#include "ui/tabs/ScheduleTab.h"

#include "link/Link.h"
#include "text/Ansi.h"
#include "ui/TabHost.h"
#include "ui/widgets/BoxColour.h"
#include "ui/widgets/RadioGroup.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QVBoxLayout>

namespace zx::ui {
namespace {

namespace msg = commands::messaging;

const QStringList kTypeItems{QStringLiteral("Analog"),
                             QStringLiteral("Temperature"),
                             QStringLiteral("Digital"),
                             QStringLiteral("Analog, Temperature"),
                             QStringLiteral("Analog, Digital"),
                             QStringLiteral("Temperature, Digital"),
                             QStringLiteral("Analog, Temperature, Digital"),
                             QStringLiteral("Photo"),
                             QStringLiteral("Runtime"),
                             QStringLiteral("Runtime and Analog"),
                             QStringLiteral("Disable")};
const QStringList kRepetitionItems{QStringLiteral("Hours"), QStringLiteral("10 min"),
                                   QStringLiteral("20 min"), QStringLiteral("30 min"),
                                   QStringLiteral("other")};
constexpr int kLastHour = 23;

QString hourText(int hour) { return QStringLiteral("%1:00").arg(hour, 2, 10, QLatin1Char('0')); }

// The hour numbers, each centred over the place where a slider's handle
// stands for that hour. It sits in the sliders' grid column, so it has their
// x and width.
class HourScale : public QWidget {
public:
    HourScale(const QSlider *slider, QWidget *parent) : QWidget(parent), slider_(slider) {
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        setFixedHeight(fontMetrics().height());
    }
    QSize minimumSizeHint() const override {
        return {(fontMetrics().horizontalAdvance(QStringLiteral("00")) + 4) * (kLastHour + 1),
                fontMetrics().height()};
    }
    QSize sizeHint() const override { return minimumSizeHint(); }

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter painter(this);
        const int half = fontMetrics().horizontalAdvance(QStringLiteral("00"));
        for (int hour = 0; hour <= kLastHour; ++hour) {
            const int x = handleCentre(hour) + slider_->x() - this->x();
            painter.drawText(QRect(x - half, 0, 2 * half, height()), Qt::AlignCenter,
                             QString::number(hour));
        }
    }

private:
    int handleCentre(int hour) const {
        QStyleOptionSlider option;
        option.initFrom(slider_);
        option.subControls = QStyle::SC_None;
        option.orientation = slider_->orientation();
        option.minimum = slider_->minimum();
        option.maximum = slider_->maximum();
        option.tickPosition = slider_->tickPosition();
        option.tickInterval = slider_->tickInterval();
        option.upsideDown = slider_->invertedAppearance() != (option.direction == Qt::RightToLeft);
        option.sliderPosition = hour;
        option.sliderValue = hour;
        option.singleStep = slider_->singleStep();
        option.pageStep = slider_->pageStep();
        const QRect handle = slider_->style()->subControlRect(QStyle::CC_Slider, &option,
                                                              QStyle::SC_SliderHandle, slider_);
        return handle.center().x();
    }

    const QSlider *slider_;
};

} // namespace

ScheduleTab::ScheduleTab(TabHost &host, QWidget *parent) : QWidget(parent), host_(host) {
    // Type and repetition side by side on top; the hours below them over the
    // tab's whole width, so that each hour has room for its number.
    auto *page = new QVBoxLayout(this);
    page->setContentsMargins(4, 4, 4, 4);
    auto *h = new QHBoxLayout;
    page->addLayout(h);
    SMSShed =
        new RadioGroup(QStringLiteral("SMSShed"), QStringLiteral("SMS Type"), kTypeItems, 2, this);
    SMSShed->setItemIndex(0);
    h->addWidget(SMSShed, 0, Qt::AlignTop);

    auto *right = new QVBoxLayout;
    RadioGroup1 = new RadioGroup(QStringLiteral("RadioGroup1"), QStringLiteral("Timeout"),
                                 kRepetitionItems, int(kRepetitionItems.size()), this);
    RadioGroup1->setItemIndex(0);
    right->addWidget(RadioGroup1);
    page->addWidget(buildHours());
    auto *buttons = new QHBoxLayout;
    GetShedule = new QPushButton(QStringLiteral("GET"), this);
    GetShedule->setObjectName(QStringLiteral("GetShedule"));
    SetShedule = new QPushButton(QStringLiteral("SET"), this);
    SetShedule->setObjectName(QStringLiteral("SetShedule"));
    buttons->addWidget(GetShedule);
    buttons->addWidget(SetShedule);
    buttons->addStretch();
    page->addLayout(buttons);
    right->addStretch();
    h->addLayout(right, 1);
    page->addStretch();

    connect(SMSShed, &RadioGroup::itemIndexChanged, this, &ScheduleTab::typeChanged);
    connect(RadioGroup1, &RadioGroup::itemIndexChanged, this, &ScheduleTab::repetitionChanged);
    for (int k = 0; k < msg::kScheduleHours; ++k) {
        connect(TrackBar[k], &QSlider::valueChanged, this,
                [this, k](int hour) { hourMoved(k + 1, hour); });
        connect(CheckBoxS[k], &QCheckBox::toggled, this,
                [this, k](bool checked) { hourEnabled(k + 1, checked); });
    }
    connect(GetShedule, &QPushButton::clicked, this, &ScheduleTab::GetSheduleClick);
    connect(SetShedule, &QPushButton::clicked, this, &ScheduleTab::SetSheduleClick);
    publish();
}

QWidget *ScheduleTab::buildHours() {
    auto *group = new QGroupBox(QStringLiteral("Hours"), this);
    auto *grid = new QGridLayout(group);
    grid->setVerticalSpacing(2);
    for (int k = 0; k < msg::kScheduleHours; ++k) {
        TrackBar[k] = new QSlider(Qt::Horizontal, group);
        TrackBar[k]->setObjectName(QStringLiteral("TrackBar%1").arg(k + 1));
        TrackBar[k]->setRange(0, kLastHour);
        TrackBar[k]->setPageStep(1);
        TrackBar[k]->setTickInterval(1);
        TrackBar[k]->setTickPosition(QSlider::TicksBelow);
        emphasiseHandle(TrackBar[k]);
        // The chosen hour, beside its slider.
        auto *hour = new QLabel(hourText(0), group);
        hour->setObjectName(QStringLiteral("TrackBar%1Hour").arg(k + 1));
        hour->setFixedWidth(fontMetrics().horizontalAdvance(hourText(23)) + 6);
        connect(TrackBar[k], &QSlider::valueChanged, hour,
                [hour](int value) { hour->setText(hourText(value)); });
        CheckBoxS[k] = new QCheckBox(QStringLiteral("Enable"), group);
        CheckBoxS[k]->setObjectName(QStringLiteral("CheckBoxS%1").arg(k + 1));
        grid->addWidget(TrackBar[k], k + 1, 0);
        grid->addWidget(hour, k + 1, 1);
        grid->addWidget(CheckBoxS[k], k + 1, 2);
    }
    grid->addWidget(new HourScale(TrackBar[0], group), 0, 0);
    grid->setColumnStretch(0, 1);
    return group;
}

void ScheduleTab::publish() {
    host_.work().ScheduleString = schedule_.text();
}

void ScheduleTab::typeChanged(int item) {
    schedule_.setAt(1, msg::scheduleTypeLetter(item));
    publish();
}

void ScheduleTab::repetitionChanged(int item) {
    const QByteArray code = msg::repetitionCode(item);
    if (code.isEmpty())
        return;
    schedule_.setPair(1, code);
    publish();
}

void ScheduleTab::hourMoved(int pair, int hour) {
    if (!CheckBoxS[std::size_t(pair - 1)]->isChecked())
        return;
    schedule_.setPair(pair, msg::hourPair(hour));
    publish();
}

void ScheduleTab::hourEnabled(int pair, bool checked) {
    if (checked)
        return;
    schedule_.setPair(pair, QByteArray(2, ' '));
    publish();
}

void ScheduleTab::load(const QByteArray &stored) {
    schedule_.load(stored);
    publish();
    const msg::ScheduleDecoding d = msg::decodeSchedule(schedule_);
    for (int k = 0; k < msg::kScheduleHours; ++k) {
        if (d.hours[std::size_t(k)])
            TrackBar[std::size_t(k)]->setValue(*d.hours[std::size_t(k)]);
        CheckBoxS[std::size_t(k)]->setChecked(d.enabled[std::size_t(k)]);
    }
    SMSShed->setItemIndex(d.typeItem);
    if (d.repetitionItem)
        RadioGroup1->setItemIndex(*d.repetitionItem);
}

void ScheduleTab::GetSheduleClick() {
    host_.link().sendCommand("GETSH", link::CommandStyle::echoing(link::Echo::Alone));
}

void ScheduleTab::SetSheduleClick() {
    host_.link().Clear();
    msg::ScheduleControls controls;
    controls.typeItem = SMSShed->itemIndex();
    controls.repetitionItem = RadioGroup1->itemIndex();
    for (int k = 0; k < msg::kScheduleHours; ++k) {
        controls.enabled[std::size_t(k)] = CheckBoxS[std::size_t(k)]->isChecked();
        controls.hours[std::size_t(k)] = TrackBar[std::size_t(k)]->value();
    }
    const QByteArray line = msg::buildSetScheduleLine(schedule_, controls);
    publish();
    host_.link().sendCommand(line, link::CommandStyle::echoing(link::Echo::Alone).withoutClear());
}

} // namespace zx::ui
