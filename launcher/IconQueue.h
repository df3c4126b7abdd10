// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

#include <climits>

class IconLayer;
class LaunchButton;
class QTimer;
struct FileStamp;

// Gives the buttons on an icon layer their icons. A small group's icons are
// made as its buttons are built; a larger group shows its buttons at once,
// and the icons of those in sight follow from the event loop, a few at a
// time, in order, so the bar never waits for an icon theme to show.
class IconQueue : public QObject
{
    Q_OBJECT

public:
    explicit IconQueue(IconLayer *layer);

    // Until endBatch(), only the first `iconsNow` icons the buttons in
    // sight lack are made at once; the rest wait for the queue.
    void beginBatch(int iconsNow);
    void endBatch();
    // Once the bar has been painted, buttons in sight get theirs at once.
    void barPainted();

    // `stamp` is the button's file as just read, when the caller has it.
    void applyIcon(LaunchButton *button, const FileStamp *stamp);
    // A button's look changed: its icon again, from the cache where it can.
    void ButtonApplyStyleLookup(LaunchButton *button);
    // The file's own icon, else its type's.
    void LoadFileIcon(const QString &path, LaunchButton *button);
    void LoadShellIcon(const QString &path, LaunchButton *button);

    // Icons wait in the queue for the event loop.
    bool isBusy() const;

Q_SIGNALS:
    // The buttons in sight have their icons; the queue waits for a paint.
    void caughtUp();

private:
    void start();
    // The file's own icon, or its type's for a file that is not there.
    void loadIcon(LaunchButton *button);
    void loadQueuedIcons();

    IconLayer *m_layer;
    QTimer *m_timer = nullptr;
    int m_syncIconsLeft = INT_MAX;
    bool m_painted = false;
};
