#include "ui/Unit1.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    // The application's title is its name, where the platform shows names of
    // running programs (task bar, WM_CLASS). A display name would also be
    // appended to every window caption on X11, so none is set.
    QApplication::setApplicationName(QStringLiteral("ZENTORIQ-ZENTORIX"));
    TForm1 form;
    form.show();
    return app.exec();
}
