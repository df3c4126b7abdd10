// SPDX-License-Identifier: MIT
#include "platform/Opener.h"

#include "core/entries/ParameterWords.h"
#include "core/entries/DesktopEntry.h"
#include "core/files/SystemReason.h"
#include "platform/GioLibrary.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>
#include <cerrno>
#include <memory>

#include <unistd.h>

namespace {

// The errno value behind one of GLib's or GIO's errors, for the common
// failures; 0 for any other.
int systemErrorOf(const GError *error)
{
    struct Mapped {
        int code;
        int system;
    };
    static constexpr Mapped kSpawn[] = {
        {G_SPAWN_ERROR_ACCES, EACCES},
        {G_SPAWN_ERROR_PERM, EPERM},
        {G_SPAWN_ERROR_NOENT, ENOENT},
        {G_SPAWN_ERROR_IO, EIO},
    };
    static constexpr Mapped kFile[] = {
        {G_FILE_ERROR_ACCES, EACCES}, {G_FILE_ERROR_PERM, EPERM},   {G_FILE_ERROR_ROFS, EROFS},
        {G_FILE_ERROR_NOSPC, ENOSPC}, {G_FILE_ERROR_NOENT, ENOENT}, {G_FILE_ERROR_IO, EIO},
    };
    static constexpr Mapped kGio[] = {
        {G_IO_ERROR_PERMISSION_DENIED, EACCES},
        {G_IO_ERROR_READ_ONLY, EROFS},
        {G_IO_ERROR_NO_SPACE, ENOSPC},
        {G_IO_ERROR_NOT_FOUND, ENOENT},
    };
    const auto find = [error](const auto &table) {
        for (const Mapped &mapped : table) {
            if (mapped.code == error->code)
                return mapped.system;
        }
        return 0;
    };
    if (error->domain == G_SPAWN_ERROR)
        return find(kSpawn);
    if (error->domain == G_FILE_ERROR)
        return find(kFile);
    // By its name: G_IO_ERROR would link GIO, which is loaded on first use.
    if (error->domain == g_quark_try_string("g-io-error-quark"))
        return find(kGio);
    return 0;
}

// GLib words its errors in the locale's language, which need not be the
// interface's: the common ones are told in the interface's.
QString messageOf(const GError *error)
{
    if (!error)
        return QCoreApplication::translate("Opener", "原因は分かりません。");
    const int system = systemErrorOf(error);
    return system ? systemReason(system) : QString::fromUtf8(error->message);
}

// Owns one reference to a GObject, dropped through the loaded GObject (the
// header's g_autoptr would link it).
struct ObjectUnref {
    const GioLibrary *gio;
    void operator()(gpointer object) const { gio->objectUnref(object); }
};
template<typename T>
using ObjectPtr = std::unique_ptr<T, ObjectUnref>;
template<typename T>
ObjectPtr<T> owned(const GioLibrary *gio, T *object)
{
    return ObjectPtr<T>(object, ObjectUnref{gio});
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

void changeDirectory(gpointer dir)
{
    // Runs in the child between fork and exec.
    if (dir && chdir(static_cast<const char *>(dir)) != 0)
        _exit(127);
}

// Starts an application with these URIs; it starts in its own Path when it
// has one, else in `workingDir`.
bool launchApp(const GioLibrary &gio, GDesktopAppInfo *info, GList *uris, const QByteArray &workingDir, QString *error)
{
    g_autofree gchar *ownPath = gio.desktopAppInfoGetString(info, "Path");
    const bool chdirInChild = (!ownPath || !*ownPath) && !workingDir.isEmpty();
    g_autoptr(GError) gerror = nullptr;
    const gboolean ok = gio.desktopAppInfoLaunchUrisAsManager(info, uris, nullptr, G_SPAWN_SEARCH_PATH,
                                                              chdirInChild ? changeDirectory : nullptr,
                                                              chdirInChild ? const_cast<char *>(workingDir.constData())
                                                                           : nullptr,
                                                              nullptr, nullptr, &gerror);
    if (!ok)
        *error = messageOf(gerror);
    return ok;
}

// Words that name an existing file (relative to `dir`) become that file;
// others stay as they are written.
QList<ExecWord> execWords(const QStringList &words, const QString &dir, bool *allFiles)
{
    QList<ExecWord> result;
    *allFiles = true;
    for (const QString &word : words) {
        const QFileInfo info(QDir(dir), word);
        if (!word.isEmpty() && info.exists()) {
            const QString path = info.absoluteFilePath();
            result.append({path, QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)});
        } else {
            result.append({word, word});
            *allFiles = false;
        }
    }
    return result;
}

// `dropped` are files dropped on the entry: they follow the parameter words
// and always take the route of the entry's own command, so that exactly
// these reach the one instance the drop asked for.
bool launchDesktopEntry(const QString &path, const QString &params, const QString &workingDir, QString *error,
                        const QList<QUrl> &dropped = {})
{
    const GioLibrary *gio = GioLibrary::get(error);
    if (!gio)
        return false;
    const QByteArray fileName = QFile::encodeName(path);
    const auto info = owned(gio, gio->desktopAppInfoNewFromFilename(fileName.constData()));
    if (!info) {
        *error = QCoreApplication::translate("Opener", "デスクトップエントリとして読めません。");
        return false;
    }
    const QByteArray cwd = QFile::encodeName(workingDir);
    const QStringList words = splitParameterWords(params);
    g_autofree gchar *ownPath = gio->desktopAppInfoGetString(info.get(), "Path");
    const QString fileDir = ownPath && *ownPath ? QFile::decodeName(ownPath) : workingDir;
    bool allFiles = true;
    QList<ExecWord> execArgs = execWords(words, fileDir, &allFiles);
    for (const QUrl &url : dropped) {
        const QString uri = url.toString(QUrl::FullyEncoded);
        execArgs.append({url.isLocalFile() ? url.toLocalFile() : uri, uri});
    }
    if (allFiles && dropped.isEmpty()) {
        // Only files: GIO places them by the entry's own field codes.
        UriList uris;
        for (const ExecWord &word : execArgs)
            uris.append(g_strdup(word.asUri.toUtf8().constData()));
        return launchApp(*gio, info.get(), uris.get(), cwd, error);
    }
    // Options, URLs and text go to the program as written: the entry's
    // command is given the words itself, and GIO does the rest (Path,
    // Terminal, startup notification, the other field codes).
    g_autoptr(GKeyFile) keys = g_key_file_new();
    g_autoptr(GError) gerror = nullptr;
    if (!g_key_file_load_from_file(keys, fileName.constData(), G_KEY_FILE_KEEP_TRANSLATIONS, &gerror)) {
        *error = messageOf(gerror);
        return false;
    }
    g_autofree gchar *exec = g_key_file_get_string(keys, G_KEY_FILE_DESKTOP_GROUP, G_KEY_FILE_DESKTOP_KEY_EXEC,
                                                   nullptr);
    const QString command = execWithWords(QString::fromUtf8(exec ? exec : ""), execArgs);
    g_key_file_set_string(keys, G_KEY_FILE_DESKTOP_GROUP, G_KEY_FILE_DESKTOP_KEY_EXEC, command.toUtf8().constData());
    const auto withWords = owned(gio, gio->desktopAppInfoNewFromKeyfile(keys));
    if (!withWords) {
        *error = QCoreApplication::translate("Opener", "デスクトップエントリとして読めません。");
        return false;
    }
    return launchApp(*gio, withWords.get(), nullptr, cwd, error);
}

// A folder or a document, in the default application for its type.
bool openWithDefault(const QString &path, const QString &workingDir, QString *error)
{
    const GioLibrary *gio = GioLibrary::get(error);
    if (!gio)
        return false;
    const QByteArray local = QFile::encodeName(path);
    const auto file = owned(gio, gio->fileNewForPath(local.constData()));
    g_autofree gchar *uri = gio->fileGetUri(file.get());
    const auto info = owned(gio, gio->fileQueryInfo(file.get(), G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                                    G_FILE_QUERY_INFO_NONE, nullptr, nullptr));
    const char *type = info ? gio->fileInfoGetContentType(info.get()) : nullptr;
    const auto app = owned(gio, type ? gio->appInfoGetDefaultForType(type, FALSE) : nullptr);
    if (app && gio->typeCheckInstanceIsA(reinterpret_cast<GTypeInstance *>(app.get()), gio->desktopAppInfoGetType())) {
        // The list only borrows the URI.
        g_autoptr(GList) uris = g_list_append(nullptr, uri);
        return launchApp(*gio, reinterpret_cast<GDesktopAppInfo *>(app.get()), uris, QFile::encodeName(workingDir),
                         error);
    }
    // Let GIO explain what is missing (no application for the type).
    g_autoptr(GError) gerror = nullptr;
    if (!gio->appInfoLaunchDefaultForUri(uri, nullptr, &gerror)) {
        *error = messageOf(gerror);
        return false;
    }
    return true;
}

bool startProgram(const QString &path, const QString &params, const QString &workingDir, QString *error,
                  const QList<QUrl> &dropped = {})
{
    const QByteArray program = QFile::encodeName(path);
    QList<QByteArray> words;
    for (const QString &word : splitParameterWords(params))
        words.append(QFile::encodeName(word));
    for (const QUrl &url : dropped)
        words.append(QFile::encodeName(url.toLocalFile()));
    // Borrows the program and the words; they outlive it.
    g_autoptr(GPtrArray) argv = g_ptr_array_new();
    g_ptr_array_add(argv, const_cast<char *>(program.constData()));
    for (const QByteArray &word : std::as_const(words))
        g_ptr_array_add(argv, const_cast<char *>(word.constData()));
    g_ptr_array_add(argv, nullptr);

    const QByteArray cwd = QFile::encodeName(workingDir);
    g_autoptr(GError) gerror = nullptr;
    // Without DO_NOT_REAP_CHILD GLib starts the program through an
    // intermediate child it waits for, so nothing is left to reap.
    const gboolean ok = g_spawn_async(cwd.isEmpty() ? nullptr : cwd.constData(),
                                      reinterpret_cast<gchar **>(argv->pdata), nullptr,
                                      GSpawnFlags(G_SPAWN_STDIN_FROM_DEV_NULL), nullptr, nullptr, nullptr, &gerror);
    if (!ok)
        *error = messageOf(gerror);
    return ok;
}

} // namespace

namespace Opener {

bool open(const QString &file, const QString &params, const QString &workingDir, QString *error)
{
    QString ignored;
    if (!error)
        error = &ignored;
    const QFileInfo info(file);
    if (file.isEmpty() || !info.exists()) {
        *error = systemReason(ENOENT);
        return false;
    }
    if (info.isDir())
        return openWithDefault(file, workingDir, error);
    if (file.endsWith(QLatin1String(".desktop")) && info.isFile())
        return launchDesktopEntry(file, params, workingDir, error);
    if (info.isFile() && info.isExecutable())
        return startProgram(file, params, workingDir, error);
    return openWithDefault(file, workingDir, error);
}

bool openWithFiles(const QString &file, const QString &params, const QString &workingDir, const QList<QUrl> &files,
                   QString *error)
{
    QString ignored;
    if (!error)
        error = &ignored;
    const QFileInfo info(file);
    if (file.isEmpty() || !info.exists()) {
        *error = systemReason(ENOENT);
        return false;
    }
    if (file.endsWith(QLatin1String(".desktop")) && info.isFile())
        return launchDesktopEntry(file, params, workingDir, error, files);
    const bool localOnly = std::all_of(files.begin(), files.end(), [](const QUrl &url) { return url.isLocalFile(); });
    if (info.isFile() && info.isExecutable() && localOnly)
        return startProgram(file, params, workingDir, error, files);
    *error = QCoreApplication::translate("Opener", "ファイルを渡して開くことができません。");
    return false;
}

} // namespace Opener
