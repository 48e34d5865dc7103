// Saves the settings over and over through the window's own "Save Setting",
// each time with another module number, until it is killed. Used by the
// kill test: whatever moment the kill comes, the file must stay whole.
#include "ui/MessageBoxes.h"
#include "ui/Unit1.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>

#include <cstdio>

int main(int argc, char *argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    zx::ui::setBoxInterceptor([](zx::ui::BoxKind, const QString &, const QString &text) {
        std::fprintf(stderr, "box: %s\n", qPrintable(text));
    });
    TForm1 form;
    auto *number = form.findChild<QLineEdit *>(QStringLiteral("BRnumber"));
    auto *save = form.findChild<QAction *>(QStringLiteral("SaveSetting1"));
    std::printf("ready\n");
    std::fflush(stdout);
    for (unsigned long n = 1;; ++n) {
        number->setText(QStringLiteral("+49%1").arg(n % 100000000, 8, 10, QLatin1Char('0')));
        save->trigger();
        if (n == 1) {
            std::printf("saved\n");
            std::fflush(stdout);
        }
    }
}
