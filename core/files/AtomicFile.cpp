// SPDX-License-Identifier: MIT
// Written on the system calls rather than through QSaveFile: Qt 6.4's
// commit() ignores a failed fsync and renames anyway, never reports a failed
// close or a mode it could not keep, and does not sync the folder. Each of
// those replaced a file with one the disk had not taken, without a word.
#include "core/files/AtomicFile.h"

#include "core/files/RegularFile.h"
#include "core/files/SystemReason.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kSuffixLength = 6;
constexpr char kSuffixLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
// Ours say what they are. QSaveFile's had the random letters alone, which a
// user's own "Quillbrook.ini.backup" would match.
constexpr QLatin1StringView kTemporaryMark(".saving-");

QByteArray temporaryName(const QByteArray &name)
{
    QByteArray suffix(kSuffixLength, 'X');
    for (char &c : suffix)
        c = kSuffixLetters[QRandomGenerator::system()->bounded(int(sizeof kSuffixLetters - 1))];
    return name + QByteArray(kTemporaryMark.data(), kTemporaryMark.size()) + suffix;
}

bool isSuffix(QStringView letters)
{
    return letters.size() == kSuffixLength && std::all_of(letters.begin(), letters.end(), [](QChar c) {
               return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
           });
}

// Where a save of `path` lands: the end of its chain of links, as QSaveFile
// did, so that a settings file linked from a dotfiles folder stays a link.
QString followLinks(const QString &path)
{
    QString target = path;
    for (int hops = 0; hops < 40; ++hops) {
        const QFileInfo info(target);
        if (!info.isSymLink())
            break;
        target = info.symLinkTarget();
    }
    return target;
}

// The new file is created by this process: a launcher run once as root in
// another user's folder would leave them files of root's that they can no
// longer save. Root gives the file back to its owner and group, anyone else
// at most to a group of their own; where neither is allowed (EPERM, a file
// system without owners) the file stays ours and only its mode is kept.
void keepOwner(int fd, const struct stat &old)
{
    struct stat fresh {};
    if (::fstat(fd, &fresh) != 0 || (old.st_uid == fresh.st_uid && old.st_gid == fresh.st_gid))
        return;
    const bool kept = ::fchown(fd, old.st_uid, old.st_gid) == 0 || ::fchown(fd, uid_t(-1), old.st_gid) == 0;
    Q_UNUSED(kept);
}

// Sets the old file's mode on the new one. A file system with fixed modes
// (FAT, some network shares) refuses every chmod, even one to the mode the
// file already has; that one is not asked for.
bool keepMode(int fd, const struct stat &old)
{
    struct stat fresh {};
    if (::fstat(fd, &fresh) == 0 && (fresh.st_mode & 07777) == (old.st_mode & 07777))
        return true;
    return ::fchmod(fd, old.st_mode & 07777) == 0;
}

bool writeAll(int fd, const QByteArray &data)
{
    const char *next = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, next, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0) {
            // Nothing taken and no reason given: the disk is full as far
            // as this file is concerned.
            errno = ENOSPC;
            return false;
        }
        next += n;
        left -= n;
    }
    return true;
}

// One save's descriptors and its temporary file, undone on every way out
// but the one that renames it.
class Save
{
public:
    Save() = default;
    Save(const Save &) = delete;
    Save &operator=(const Save &) = delete;
    ~Save()
    {
        if (file >= 0)
            ::close(file);
        if (!temporary.isEmpty() && folder >= 0)
            ::unlinkat(folder, temporary.constData(), 0);
        if (folder >= 0)
            ::close(folder);
    }

    int folder = -1;
    int file = -1;
    QByteArray temporary; // its name in `folder`, while it is ours to remove
};

bool failed(QString *error, int code)
{
    if (error)
        *error = systemReason(code);
    return false;
}

} // namespace

bool writeFileAtomically(const QString &path, const QByteArray &data, QString *error)
{
    // Renaming over a device or a FIFO would replace it: through a link to
    // /dev/null, root would replace the device itself.
    if (isSpecialFile(path)) {
        if (error)
            *error = QCoreApplication::translate("AtomicFile", "通常のファイルではありません。");
        return false;
    }
    const QFileInfo target(followLinks(path));
    const QByteArray name = QFile::encodeName(target.fileName());
    Save save;
    // The folder is opened first: it is synced after the rename, and the
    // temporary file and the rename are made in this very folder even if
    // it is moved meanwhile.
    save.folder = ::open(QFile::encodeName(target.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (save.folder < 0)
        return failed(error, errno);
    struct stat old {};
    const bool replacing = ::fstatat(save.folder, name.constData(), &old, 0) == 0;
    // A file the user made read-only stays as it is, as with QSaveFile.
    if (replacing && ::faccessat(save.folder, name.constData(), W_OK, AT_EACCESS) != 0)
        return failed(error, errno);

    // Private until it has the old file's mode; a new file gets the umask's.
    const mode_t mode = replacing ? 0600 : 0666;
    for (int attempt = 0; attempt < 100 && save.file < 0; ++attempt) {
        const QByteArray candidate = temporaryName(name);
        save.file = ::openat(save.folder, candidate.constData(),
                             O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY, mode);
        if (save.file >= 0)
            save.temporary = candidate;
        else if (errno != EEXIST)
            break;
    }
    if (save.file < 0)
        return failed(error, errno);
    if (replacing) {
        keepOwner(save.file, old);
        if (!keepMode(save.file, old))
            return failed(error, errno);
    }
    if (!writeAll(save.file, data) || ::fdatasync(save.file) != 0)
        return failed(error, errno);
    // Network and FUSE file systems report lost writes only here; the
    // descriptor is gone whatever close() says.
    const int closed = ::close(save.file);
    save.file = -1;
    if (closed != 0)
        return failed(error, errno);
    if (::renameat(save.folder, save.temporary.constData(), save.folder, name.constData()) != 0)
        return failed(error, errno);
    save.temporary.clear();
    // Without this a power cut may bring back the old name's file after a
    // save that was reported as done. Folders that cannot be synced at all
    // (EINVAL) have nothing to wait for.
    if (::fsync(save.folder) != 0 && errno != EINVAL) {
        if (error)
            //: %1 is the system's reason.
            *error = QCoreApplication::translate("AtomicFile",
                                                 "新しい内容に置き換えましたが、ディスクへの確定に失敗しました（%1）")
                         .arg(systemReason(errno));
        return false;
    }
    return true;
}

bool isAtomicSaveTemporary(const QString &fileName, const QString &targetName)
{
    if (!fileName.startsWith(targetName))
        return false;
    const QStringView rest = QStringView(fileName).mid(targetName.size());
    if (rest.startsWith(kTemporaryMark))
        return isSuffix(rest.mid(kTemporaryMark.size()));
    // QSaveFile's: random letters mix cases all but always; a name of one
    // case is far more likely a user's own copy than a leftover.
    if (!rest.startsWith(u'.') || !isSuffix(rest.mid(1)))
        return false;
    const QStringView letters = rest.mid(1);
    return std::any_of(letters.begin(), letters.end(), [](QChar c) { return c.isUpper(); })
           && std::any_of(letters.begin(), letters.end(), [](QChar c) { return c.isLower(); });
}
