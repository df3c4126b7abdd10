// SPDX-License-Identifier: MIT
#include "platform/Opener.h"

#include <QByteArray>
#include <QFileInfo>

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include <unistd.h>

namespace {

QString messageOf(const GError *error)
{
    return error ? QString::fromUtf8(error->message) : QStringLiteral("unknown error");
}

// A GList of URIs that owns its strings, as GIO's launch calls take them.
class UriList
{
public:
    UriList() = default;
    UriList(const UriList &) = delete;
    UriList &operator=(const UriList &) = delete;
    ~UriList() { g_list_free_full(m_head, g_free); }

    void append(gchar *uri) { m_head = g_list_append(m_head, uri); }
    GList *get() const { return m_head; }

private:
    GList *m_head = nullptr;
};

// Splits parameters into words; an empty or blank string has none.
bool parseWords(const QString &params, GStrv *argv, QString *error)
{
    *argv = nullptr;
    if (params.trimmed().isEmpty())
        return true;
    g_autoptr(GError) gerror = nullptr;
    if (!g_shell_parse_argv(params.toUtf8().constData(), nullptr, argv, &gerror)) {
        *error = messageOf(gerror);
        return false;
    }
    return true;
}

void changeDirectory(gpointer dir)
{
    // Runs in the child between fork and exec.
    if (dir && chdir(static_cast<const char *>(dir)) != 0)
        _exit(127);
}

// Starts an application with these URIs; it starts in its own Path when it
// has one, else in `workingDir`.
QString launchApp(GDesktopAppInfo *info, GList *uris, const QByteArray &workingDir)
{
    g_autofree gchar *ownPath = g_desktop_app_info_get_string(info, "Path");
    const bool chdirInChild = (!ownPath || !*ownPath) && !workingDir.isEmpty();
    g_autoptr(GError) gerror = nullptr;
    const gboolean ok = g_desktop_app_info_launch_uris_as_manager(
        info, uris, nullptr, G_SPAWN_SEARCH_PATH,
        chdirInChild ? changeDirectory : nullptr,
        chdirInChild ? const_cast<char *>(workingDir.constData()) : nullptr,
        nullptr, nullptr, &gerror);
    return ok ? QString() : messageOf(gerror);
}

QString launchDesktopEntry(const QString &path, const QString &params, const QString &workingDir)
{
    g_autoptr(GDesktopAppInfo) info = g_desktop_app_info_new_from_filename(QFile::encodeName(path).constData());
    if (!info)
        return QStringLiteral("not a valid desktop entry");
    g_auto(GStrv) words = nullptr;
    QString error;
    if (!parseWords(params, &words, &error))
        return error;
    const QByteArray cwd = QFile::encodeName(workingDir);
    UriList uris;
    for (gchar **w = words; w && *w; ++w) {
        g_autoptr(GFile) file = g_file_new_for_commandline_arg_and_cwd(*w, cwd.isEmpty() ? nullptr : cwd.constData());
        uris.append(g_file_get_uri(file));
    }
    return launchApp(info, uris.get(), cwd);
}

// A folder or a document, in the default application for its type.
QString openWithDefault(const QString &path, const QString &workingDir)
{
    const QByteArray local = QFile::encodeName(path);
    g_autoptr(GFile) file = g_file_new_for_path(local.constData());
    g_autofree gchar *uri = g_file_get_uri(file);
    g_autoptr(GFileInfo) info = g_file_query_info(file, G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                                  G_FILE_QUERY_INFO_NONE, nullptr, nullptr);
    const char *type = info ? g_file_info_get_content_type(info) : nullptr;
    g_autoptr(GAppInfo) app = type ? g_app_info_get_default_for_type(type, FALSE) : nullptr;
    if (app && G_IS_DESKTOP_APP_INFO(app)) {
        // The list only borrows the URI.
        g_autoptr(GList) uris = g_list_append(nullptr, uri);
        return launchApp(G_DESKTOP_APP_INFO(app), uris, QFile::encodeName(workingDir));
    }
    // Let GIO explain what is missing (no application for the type).
    g_autoptr(GError) gerror = nullptr;
    if (!g_app_info_launch_default_for_uri(uri, nullptr, &gerror))
        return messageOf(gerror);
    return {};
}

QString startProgram(const QString &path, const QString &params, const QString &workingDir)
{
    g_auto(GStrv) words = nullptr;
    QString error;
    if (!parseWords(params, &words, &error))
        return error;
    const QByteArray program = QFile::encodeName(path);
    // Borrows the program and the words; they outlive it.
    g_autoptr(GPtrArray) argv = g_ptr_array_new();
    g_ptr_array_add(argv, const_cast<char *>(program.constData()));
    for (gchar **w = words; w && *w; ++w)
        g_ptr_array_add(argv, *w);
    g_ptr_array_add(argv, nullptr);

    const QByteArray cwd = QFile::encodeName(workingDir);
    g_autoptr(GError) gerror = nullptr;
    // Without DO_NOT_REAP_CHILD GLib starts the program through an
    // intermediate child it waits for, so nothing is left to reap.
    const gboolean ok = g_spawn_async(cwd.isEmpty() ? nullptr : cwd.constData(),
                                      reinterpret_cast<gchar **>(argv->pdata), nullptr,
                                      GSpawnFlags(G_SPAWN_STDIN_FROM_DEV_NULL), nullptr, nullptr,
                                      nullptr, &gerror);
    return ok ? QString() : messageOf(gerror);
}

} // namespace

namespace Opener {

QString open(const QString &file, const QString &params, const QString &workingDir)
{
    if (file.isEmpty())
        return QStringLiteral("no file");
    const QFileInfo info(file);
    if (!info.exists())
        return QStringLiteral("No such file or directory");
    if (info.isDir())
        return openWithDefault(file, workingDir);
    if (file.endsWith(QLatin1String(".desktop")) && info.isFile())
        return launchDesktopEntry(file, params, workingDir);
    if (info.isFile() && info.isExecutable())
        return startProgram(file, params, workingDir);
    return openWithDefault(file, workingDir);
}

} // namespace Opener
