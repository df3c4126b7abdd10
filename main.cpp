// SPDX-License-Identifier: MIT
// The launcher's entry point: makes the bar and its two dialogs, hands the
// dialogs to the bar, and runs until the bar closes.
#include "app/Unit1.h"
#include "editor/Unit3.h"
#include "settings/Unit2.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // The launcher places its own window, which only X11 (and XWayland)
    // allows; a Wayland session would ignore the position.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Quillbrook"));
    app.setQuitOnLastWindowClosed(false);

    const QString homePath = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    TForm1 form1(homePath);
    // Their controls wait until first needed, so the bar shows sooner.
    TForm2 form2(&form1, nullptr, true);
    TForm3 form3(&form1, nullptr, true);
    form1.setDialogs(&form2, &form3);
    QObject::connect(&form1, &TForm1::closed, &app, &QCoreApplication::quit);

    form1.show();
    return app.exec();
}
