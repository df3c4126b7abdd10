// SPDX-License-Identifier: MIT
#include "app/Forms.h"
#include "app/SingleInstance.h"
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
    // A second launcher on the same folder would save over the first one's
    // lists and settings: it hands over and ends instead.
    SingleInstance single(homePath);
    switch (single.claim()) {
    case SingleInstance::Claim::Owner:
        break;
    case SingleInstance::Claim::HandedOver:
        return 0;
    case SingleInstance::Claim::NoAnswer:
        qWarning("Quillbrook: a launcher in %s does not answer; not starting a second one",
                 qPrintable(homePath));
        return 1;
    }
    TForm1 form1(homePath);
    Form1 = &form1;
    TForm2 form2(&form1, nullptr, true);
    Form2 = &form2;
    TForm3 form3(&form1, nullptr, true);
    Form3 = &form3;
    QObject::connect(&form1, &TForm1::closed, &app, &QCoreApplication::quit);
    QObject::connect(&single, &SingleInstance::activationRequested, &form1, &TForm1::bringToFront);

    form1.show();
    return app.exec();
}
