// The floor bench/startup measures the tool against: a bare Qt window of the
// tool's size, one label in a QMainWindow.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setCentralWidget(new QLabel(QStringLiteral("floor"), &window));
    window.resize(874, 703);
    window.show();
    return app.exec();
}
