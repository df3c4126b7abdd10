// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <chrono>
#include <memory>

class ProcessLock;
class UnixSocket;

// One launcher per folder. Two launchers on the same files would each save
// their own copy of the lists and the settings, undoing each other's changes;
// so a second start hands over to the launcher that already serves the folder.
//
// The folder is claimed with a lock file named after it in the user's runtime
// directory; the owner listens on a local socket of the same name and emits
// activationRequested() when another start asks for it. The lock counts only
// while its process lives, so a launcher that was killed leaves nothing that
// blocks the next start.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    enum class Claim {
        // This process owns the folder and serves requests (or, where no lock
        // can be made at all, runs unguarded as it would have without one).
        Owner,
        // The launcher that owns the folder has been asked to come forward.
        HandedOver,
        // A live process holds the folder but takes no request.
        NoAnswer,
    };

    // What a second start asks of the owner: to come forward (a plain
    // start), or to be summoned as by the summoning key (--show, --toggle),
    // for desktops where the launcher cannot take the key itself.
    enum class Request { Activate, Show, Toggle };

    // `homePath` is the launcher's home folder; `runtimeDir` where the lock and
    // the socket lie, by default the user's runtime directory.
    explicit SingleInstance(const QString &homePath, const QString &runtimeDir = {}, QObject *parent = nullptr);
    ~SingleInstance() override;

    // Claims the folder or hands over to its owner; never takes longer than
    // `budget`, even when the owner does not answer.
    Claim claim(std::chrono::milliseconds budget = std::chrono::milliseconds(600));
    // What claim() asks of an owner it finds; Activate unless set.
    void setRequest(Request request) { m_request = request; }

    // The same for every spelling of one folder (links, "." and "..", a
    // trailing separator), different for different folders.
    static QByteArray folderKey(const QString &homePath);
    static QString defaultRuntimeDir();

    // Whether claim() took the folder's lock: false where it runs unguarded,
    // and another launcher may be at work in the same folder.
    bool guarded() const { return m_guarded; }

    QString lockPath() const;
    QString serverName() const;

Q_SIGNALS:
    // Another start in the same folder asks this launcher to come forward.
    void activationRequested();
    // Another start asks for the bar as the summoning key would: shown and
    // focused, or, with `toggle` while it has the focus, the focus back.
    void summonRequested(bool toggle);

private:
    bool listen();
    bool askOwner(int timeoutMs);
    void acceptRequest(UnixSocket *socket);
    void readRequest(UnixSocket *socket);

    QString m_dir;
    QByteArray m_key;
    std::unique_ptr<ProcessLock> m_lock;
    UnixSocket *m_server = nullptr;
    bool m_guarded = false;
    Request m_request = Request::Activate;
};
