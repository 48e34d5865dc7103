#include "cmdline/GnuCommandLine.h"
#include "cmdline/ProjectInfo.h"
#include "settings/UserSettingsHome.h"
#include "ui/MessageBoxes.h"
#include "ui/Unit1.h"

#include <QApplication>
#include <QTextStream>

namespace {

const QString kUserSettings = QStringLiteral("user-settings");

zx::cmdline::GnuCommandLine windowCommandLine() {
    return zx::cmdline::GnuCommandLine(
        {QStringLiteral("zentorix"),
         QStringLiteral("Configure ZENTORIX / ZENTORIQ GSM remote I/O modules over a serial line "
                        "(setting mode) or by SMS through a GSM modem (SMS mode)."),
         QStringLiteral("Without options the settings file ZENTORIX.cfg is read from and saved "
                        "to the working directory. The port map is "
                        "${XDG_CONFIG_HOME:-~/.config}/zentorix/ports/comN; see zentorix(1).\n"
                        "Qt's own options, such as -platform or -style, are also accepted.")},
        {{kUserSettings,
          QStringLiteral("Keep ZENTORIX.cfg in ${XDG_DATA_HOME:-~/.local/share}/zentorix/ "
                         "instead of the working directory; the first start makes it there. "
                         "The menu entry starts the tool this way.")}});
}

} // namespace

int main(int argc, char *argv[]) {
    zx::cmdline::GnuCommandLine commandLine = windowCommandLine();
    // Before QApplication, which needs a display and takes Qt's own options out.
    const zx::cmdline::ParseOutcome early =
        commandLine.answerHelpOrVersion(zx::cmdline::GnuCommandLine::argumentsOf(argc, argv));
    if (!early.run)
        return zx::cmdline::GnuCommandLine::report(early);

    QApplication app(argc, argv);
    // The application's title is its name, where the platform shows names of
    // running programs (task bar, WM_CLASS). A display name would also be
    // appended to every window caption on X11, so none is set.
    QApplication::setApplicationName(QStringLiteral("ZENTORIQ-ZENTORIX"));
    // Lets a Wayland desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(zx::cmdline::applicationId());

    const zx::cmdline::ParseOutcome outcome = commandLine.parse(QApplication::arguments());
    if (!outcome.run)
        return zx::cmdline::GnuCommandLine::report(outcome);
    if (commandLine.isSet(kUserSettings)) {
        const zx::settings::SettingsHomeResult home =
            zx::settings::enterSettingsHome(zx::settings::userSettingsDirectory());
        if (!home.ok) {
            QTextStream(stderr) << "zentorix: " << home.message << '\n';
            zx::ui::showBox(nullptr, zx::ui::BoxKind::Error, QStringLiteral("Error"), home.message);
            return 1;
        }
    }

    TForm1 form;
    form.show();
    return app.exec();
}
