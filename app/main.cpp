// SPDX-License-Identifier: MIT
#include "app/Forms.h"
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
    Form1 = &form1;
    TForm2 form2(&form1, nullptr, true);
    Form2 = &form2;
    TForm3 form3(&form1, nullptr, true);
    Form3 = &form3;
    QObject::connect(&form1, &TForm1::closed, &app, &QCoreApplication::quit);

    form1.show();
    return app.exec();
}
