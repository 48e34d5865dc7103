// Help texts name the program through QCoreApplication, so the commands run
// inside one.
#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char **argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    // write, read and verify keep their runs in the module register: a
    // private one for these tests, never the user's.
    const QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    qunsetenv("ZENTORIX_REGISTER");
    return RUN_ALL_TESTS();
}
