// SPDX-License-Identifier: MIT
// A desktop entry's icon: any bytes in the file, then the whole lookup the
// bar makes for it (the Icon key, a picture file or a theme icon).
#include "FuzzCheck.h"

#include "core/entries/DesktopEntry.h"
#include "platform/FileIcons.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Icons need a GUI application; none is shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_desktopentry";
    static char *argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const QString icon = desktopEntryIcon(bytes);
    FUZZ_CHECK(!icon.contains(u'\n'));
    FUZZ_CHECK(icon == icon.trimmed());

    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("entry.desktop"));
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(bytes) == bytes.size());
    }
    FileIcons::ownIcon(path, 16, 1.0);
    return 0;
}
