#pragma once
// Why a control is disabled, shown as its tooltip while it is: a greyed box
// that tells nothing looks like a fault. The reason is kept on the control
// (or on a page, for everything on it) and shown for the control and every
// control inside it while it is disabled.
#include <QString>

class QWidget;

namespace zx::ui {

// An empty reason removes it.
void setDisabledReason(QWidget *widget, const QString &reason);
// The reason shown for w now: its own or the nearest disabled ancestor's
// that has one; empty while w is enabled.
QString disabledReason(const QWidget *w);

} // namespace zx::ui
