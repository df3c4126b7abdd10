// SPDX-License-Identifier: MIT
// The launcher's entry point: makes the bar and its two dialogs, hands the
// dialogs to the bar, and runs until the bar closes.
#include "core/files/SaveLeftovers.h"
#include "core/groups/GroupFile.h"
#include "core/session/ApplicationId.h"
#include "core/session/HomeFolder.h"
#include "app/HintStyle.h"
#include "app/OwnPicture.h"
#include "core/session/SingleInstance.h"
#include "core/settings/SettingsKeys.h"
#include "app/Translation.h"
#include "app/Unit1.h"
#include "editor/Unit3.h"
#include "settings/Unit2.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QIcon>
#include <QPixmap>

int main(int argc, char *argv[])
{
    // The launcher places its own window, which only X11 (and XWayland)
    // allows; a Wayland session without an X server still gets a bar, placed
    // by the compositor.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Quillbrook"));
    app.setQuitOnLastWindowClosed(false);
    app.setDesktopFileName(QLatin1String(kApplicationId));
    app.setStyle(new HintStyle);
    installTranslation(&app);

    QCommandLineParser options;
    options.addHelpOption();
    const QCommandLineOption homeOption(QStringLiteral("home"),
                                        QCoreApplication::translate("main", "設定とグループのファイルを置くフォルダ"),
                                        QStringLiteral("DIR"));
    options.addOption(homeOption);
    // For desktops where the launcher cannot take its key itself (Wayland,
    // or a key another program holds): their own shortcut settings run these.
    const QCommandLineOption showOption(QStringLiteral("show"),
                                        QCoreApplication::translate("main",
                                                                    "動いているバーを呼び出してフォーカスを渡す"));
    const QCommandLineOption toggleOption(
        QStringLiteral("toggle"),
        QCoreApplication::translate("main", "バーを呼び出す。バーにフォーカスがあれば元のウィンドウに戻す"));
    options.addOption(showOption);
    options.addOption(toggleOption);
    options.process(app);
    const HomeFolder home = chooseHomeFolder(QCoreApplication::applicationDirPath(), options.value(homeOption),
                                             qEnvironmentVariable("XDG_CONFIG_HOME"), QDir::homePath());
    const QString &homePath = home.path;
    // A second launcher on the same folder would save over the first one's
    // lists and settings: it hands over and ends instead.
    SingleInstance single(homePath);
    if (options.isSet(toggleOption))
        single.setRequest(SingleInstance::Request::Toggle);
    else if (options.isSet(showOption))
        single.setRequest(SingleInstance::Request::Show);
    switch (single.claim()) {
    case SingleInstance::Claim::Owner:
        break;
    case SingleInstance::Claim::HandedOver:
        return 0;
    case SingleInstance::Claim::NoAnswer:
        qWarning("Quillbrook: a launcher in %s does not answer; not starting a second one", qPrintable(homePath));
        return 1;
    }
    // Saves killed before their rename leave their temporary files behind.
    // Only with the folder's lock held is none of them a save in progress.
    if (single.guarded()) {
        QStringList ownFiles{QLatin1String(kSettingsFileName)};
        for (int group = 0; group < kGroupCount; ++group)
            ownFiles.append(groupFileName(group));
        removeSaveLeftovers(homePath, ownFiles);
    }
    TForm1 form1(homePath);
    form1.setCreateHomeOnSave(home.createOnSave);
    // Their controls wait until first needed, so the bar shows sooner.
    TForm2 form2(&form1, nullptr, true);
    TForm3 form3(&form1, nullptr, true);
    form1.setDialogs(&form2, &form3);
    QObject::connect(&form1, &TForm1::closed, &app, &QCoreApplication::quit);
    QObject::connect(&single, &SingleInstance::activationRequested, &form1, &TForm1::bringToFront);
    QObject::connect(&single, &SingleInstance::summonRequested, &form1,
                     [&form1](bool toggle) { toggle ? form1.toggleSummon() : form1.summon(); });

    // Pictures made from the SVG icon, which would load its renderer into
    // every start. Taskbars and dialogs take the icon up when it changes, so
    // it can wait for the bar to show.
    QObject::connect(
        &form1, &TForm1::firstPainted, &app,
        [&app] {
            QIcon windowIcon;
            for (const int side : {16, 24, 32, 48, 64, 128})
                windowIcon.addPixmap(QPixmap::fromImage(ownPicture(QStringLiteral(":/icons/window/%1.png").arg(side))));
            app.setWindowIcon(windowIcon);
        },
        Qt::SingleShotConnection);
    form1.show();
    return app.exec();
}
