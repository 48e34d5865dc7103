#include "ui/widgets/DisabledReason.h"

#include <QApplication>
#include <QHelpEvent>
#include <QToolTip>
#include <QVariant>
#include <QWidget>

namespace zx::ui {
namespace {

constexpr char kProperty[] = "zxDisabledReason";

// One filter for the application: tooltip events reach disabled widgets.
class ReasonTips : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() != QEvent::ToolTip || !watched->isWidgetType())
            return false;
        const auto *w = static_cast<QWidget *>(watched);
        const QString reason = disabledReason(w);
        if (reason.isEmpty())
            return false;
        QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), reason,
                           const_cast<QWidget *>(w));
        return true;
    }
};

} // namespace

void setDisabledReason(QWidget *widget, const QString &reason) {
    static ReasonTips *tips = [] {
        auto *t = new ReasonTips(qApp);
        qApp->installEventFilter(t);
        return t;
    }();
    Q_UNUSED(tips);
    widget->setProperty(kProperty, reason.isEmpty() ? QVariant() : QVariant(reason));
}

QString disabledReason(const QWidget *w) {
    if (!w || w->isEnabled())
        return {};
    // The reason of the widget that was disabled itself, not of one that
    // is off because its page is.
    for (const QWidget *p = w; p; p = p->parentWidget()) {
        if (p->isEnabled())
            break;
        if (p->testAttribute(Qt::WA_ForceDisabled)) {
            const QString reason = p->property(kProperty).toString();
            if (!reason.isEmpty())
                return reason;
        }
        if (p->isWindow())
            break;
    }
    return {};
}

} // namespace zx::ui
