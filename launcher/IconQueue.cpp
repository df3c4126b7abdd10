// SPDX-License-Identifier: MIT
#include "launcher/IconQueue.h"

#include "core/files/FileStamp.h"
#include "launcher/IconCache.h"
#include "launcher/IconLayer.h"
#include "launcher/LaunchButton.h"

#include <QTimer>

namespace {

constexpr int kIconsPerTurn = 24;

} // namespace

IconQueue::IconQueue(IconLayer *layer)
    : QObject(layer)
    , m_layer(layer)
{
    connect(m_layer, &IconLayer::iconsWanted, this, &IconQueue::start);
}

void IconQueue::beginBatch(int iconsNow)
{
    m_syncIconsLeft = iconsNow;
}

void IconQueue::endBatch()
{
    m_syncIconsLeft = INT_MAX;
}

void IconQueue::barPainted()
{
    m_painted = true;
}

void IconQueue::applyIcon(LaunchButton *button, const FileStamp *stamp)
{
    // The button keeps its own path, so a later refresh shows its own icon.
    const QString &path = button->filePath();
    const qreal dpr = m_layer->devicePixelRatioF();
    // A missing file gets its type's icon, which comes from the name alone:
    // its folder may be a network path that would hold up the bar at every
    // look.
    const bool missing = button->isFileMissing();
    if (!missing) {
        if (const std::optional<QPixmap> icon = IconCache::cachedShownIcon(path, stamp ? *stamp : fileStamp(path),
                                                                           button->iconSide(), dpr)) {
            button->setIconPixmap(*icon);
            return;
        }
    }
    // After a switch the buttons in sight get their icons before the paint
    // and the rest of a large group follow from the event loop; at start the
    // bar shows first, so its paint waits for no icon theme.
    const bool inSight = m_painted && m_layer->rect().intersects(button->geometry());
    if (m_syncIconsLeft <= 0 && !inSight) {
        button->setIconWanted(true);
        return;
    }
    --m_syncIconsLeft;
    loadIcon(button);
}

void IconQueue::loadIcon(LaunchButton *button)
{
    if (button->isFileMissing())
        LoadShellIcon(button->filePath(), button);
    else
        LoadFileIcon(button->filePath(), button);
}

void IconQueue::ButtonApplyStyleLookup(LaunchButton *button)
{
    applyIcon(button, nullptr);
}

void IconQueue::start()
{
    if (!m_timer) {
        m_timer = new QTimer(this);
        m_timer->setSingleShot(true);
        connect(m_timer, &QTimer::timeout, this, &IconQueue::loadQueuedIcons);
    }
    if (!m_timer->isActive())
        m_timer->start(0);
}

void IconQueue::loadQueuedIcons()
{
    // The buttons in sight that still want their icons, in order; the
    // others wait until a paint shows them.
    const QRect sight = m_layer->rect();
    int made = 0;
    for (QWidget *item : m_layer->items()) {
        auto *button = qobject_cast<LaunchButton *>(item);
        if (!button || !button->iconWanted() || !sight.intersects(button->geometry()))
            continue;
        if (made == kIconsPerTurn) {
            start();
            return;
        }
        loadIcon(button);
        ++made;
    }
    Q_EMIT caughtUp();
}

bool IconQueue::isBusy() const
{
    return m_timer && m_timer->isActive();
}

void IconQueue::LoadFileIcon(const QString &path, LaunchButton *button)
{
    const QPixmap own = IconCache::ownIcon(path, button->iconSide(), m_layer->devicePixelRatioF());
    if (own.isNull()) {
        LoadShellIcon(path, button);
        return;
    }
    button->setIconPixmap(own);
}

void IconQueue::LoadShellIcon(const QString &path, LaunchButton *button)
{
    button->setIconPixmap(IconCache::typeIcon(path, button->iconSide(), m_layer->devicePixelRatioF()));
}
