#include "ui/MessageBoxes.h"

#include <QMessageBox>

namespace zx::ui {
namespace {

BoxInterceptor &interceptor() {
    static BoxInterceptor current;
    return current;
}

} // namespace

void setBoxInterceptor(BoxInterceptor i) { interceptor() = std::move(i); }

void showBox(QWidget *parent, BoxKind kind, const QString &title, const QString &text) {
    if (interceptor()) {
        interceptor()(kind, title, text);
        return;
    }
    const QMessageBox::Icon icon = kind == BoxKind::Error     ? QMessageBox::Critical
                                   : kind == BoxKind::Warning ? QMessageBox::Warning
                                                              : QMessageBox::Information;
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

} // namespace zx::ui
