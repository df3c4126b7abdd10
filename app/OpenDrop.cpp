// SPDX-License-Identifier: MIT
#include "app/OpenDrop.h"

#include "app/EntryGrid.h"
#include "core/entries/PathRules.h"
#include "core/groups/GroupModel.h"
#include "launcher/IconLayer.h"
#include "launcher/LaunchButton.h"

#include <QDragMoveEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QToolTip>

namespace {

// The drag's source keeps its files whatever the bar does: only a copy or a
// link is ever answered, never a move.
Qt::DropAction safeAction(const QDropEvent *event)
{
    const Qt::DropAction proposed = event->proposedAction();
    if (proposed == Qt::CopyAction || proposed == Qt::LinkAction)
        return proposed;
    if (event->possibleActions() & Qt::CopyAction)
        return Qt::CopyAction;
    if (event->possibleActions() & Qt::LinkAction)
        return Qt::LinkAction;
    return Qt::IgnoreAction;
}

} // namespace

OpenDrop::OpenDrop(EntryGrid *grid, QWidget *bar, qsizetype unasked, Links links)
    : QObject(grid)
    , m_grid(grid)
    , m_bar(bar)
    , m_unasked(unasked)
    , m_links(std::move(links))
{
    grid->layer()->installEventFilter(this);
}

bool OpenDrop::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_grid->layer())
        return false;
    // A leave carries no drop data: only the other three are drop events.
    switch (event->type()) {
    case QEvent::DragEnter: {
        auto *drop = static_cast<QDropEvent *>(event);
        end();
        const QMimeData *data = drop->mimeData();
        // Plain text that merely looks like paths is no file list.
        if (m_links.registering() || !data || !data->hasUrls() || safeAction(drop) == Qt::IgnoreAction) {
            event->ignore();
            return true;
        }
        m_items = droppedItems(data->urls());
        // Taken as a whole: the move that always follows says where it may land.
        drop->setDropAction(safeAction(drop));
        event->accept();
        return true;
    }
    case QEvent::DragMove:
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        if (m_items.isEmpty() || m_links.registering()) {
            event->ignore();
            return true;
        }
        showAt(drop->position().toPoint());
        if (m_launches.isEmpty()) {
            event->ignore();
            return true;
        }
        drop->setDropAction(safeAction(drop));
        event->accept();
        if (event->type() == QEvent::Drop) {
            const qsizetype index = m_index;
            const QList<DropLaunch> launches = m_launches;
            const QString line = m_links.group().line(index);
            end();
            // After the drop is answered: the source waits for that answer,
            // and a question asked now would hold it.
            QMetaObject::invokeMethod(
                this, [this, index, line, launches] { openDropped(index, line, launches); }, Qt::QueuedConnection);
        }
        return true;
    }
    case QEvent::DragLeave:
        end();
        return true;
    default:
        return false;
    }
}

void OpenDrop::showAt(const QPoint &pos)
{
    const qsizetype index = m_grid->rowAt(pos);
    // Decided once per button, not at every move over it.
    if (index == m_index)
        return;
    if (m_button)
        m_button->setDropTarget(false);
    m_button = nullptr;
    m_index = index;
    m_launches.clear();
    LaunchButton *button = m_grid->buttons().value(index);
    if (!button || index >= m_links.group().size() || button->isFileMissing()) {
        QToolTip::hideText();
        return;
    }
    const TRec entry = m_links.group().entry(index);
    const DropEntry target = dropEntryOf(entry.fname);
    m_launches = dropLaunches(target, m_items);
    if (m_launches.isEmpty()) {
        QToolTip::hideText();
        return;
    }
    m_button = button;
    const QString name = !entry.hint.isEmpty()    ? entry.hint
                         : !target.name.isEmpty() ? target.name
                                                  : ExtractFileTitle(entry.fname);
    button->setDropTarget(true);
    //: A drag of files over a program's button; %1 is the program.
    QToolTip::showText(button->mapToGlobal(QPoint(0, button->height())), tr("%1 で開く").arg(name), button);
}

void OpenDrop::end()
{
    if (m_button) {
        m_button->setDropTarget(false);
        QToolTip::hideText();
    }
    m_items.clear();
    m_button = nullptr;
    m_index = -2;
    m_launches.clear();
}

void OpenDrop::openDropped(qsizetype index, const QString &line, const QList<DropLaunch> &launches)
{
    std::optional<LaunchRequest> request = launchRequestFor(line);
    if (!request || launches.isEmpty())
        return;
    const auto start = [links = m_links, request = *request, launches] {
        for (const DropLaunch &launch : launches) {
            LaunchRequest one = request;
            one.dropped = launch.files;
            links.start(std::move(one));
        }
    };
    if (launches.size() <= m_unasked) {
        start();
        return;
    }
    // One instance per file: a thousand windows are asked for, not opened.
    const TRec entry = m_links.group().entry(index);
    const QString name = entry.hint.isEmpty() ? ExtractFileTitle(request->file) : entry.hint;
    auto *box = new QMessageBox(
        QMessageBox::Question, m_bar->windowTitle(),
        //: %1 is the program, %2 how many times it would start.
        tr("%1 を %2 回起動して、ファイルを一つずつ開きます。続けますか？").arg(name).arg(launches.size()),
        QMessageBox::Yes | QMessageBox::No, m_bar);
    box->setDefaultButton(QMessageBox::No);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::buttonClicked, this, [box, start](QAbstractButton *clicked) {
        if (box->standardButton(clicked) == QMessageBox::Yes)
            start();
    });
    box->open();
}
