// SPDX-License-Identifier: MIT
// Files dropped on a program's button, outside registration mode: the
// program starts with them. Which entry takes which drop is
// DropAcceptance's; here the drag is shown, answered and started.
#include "app/Unit1.h"

#include "launcher/IconLayer.h"
#include "launcher/LaunchButton.h"
#include "core/entries/PathRules.h"

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

void TForm1::setDropOpener(DropOpenFunction open)
{
    dropOpener = std::move(open);
}

bool TForm1::handleOpenDrag(QEvent *event)
{
    // A leave carries no drop data: only the other three are drop events.
    switch (event->type()) {
    case QEvent::DragEnter: {
        auto *drop = static_cast<QDropEvent *>(event);
        endOpenDrag();
        const QMimeData *data = drop->mimeData();
        // Plain text that merely looks like paths is no file list.
        if (isRegistrationAreaShown() || !data || !data->hasUrls() || safeAction(drop) == Qt::IgnoreAction) {
            event->ignore();
            return true;
        }
        m_openDrag.items = droppedItems(data->urls());
        // Taken as a whole: the move that always follows says where it may land.
        drop->setDropAction(safeAction(drop));
        event->accept();
        return true;
    }
    case QEvent::DragMove:
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        if (m_openDrag.items.isEmpty() || isRegistrationAreaShown()) {
            event->ignore();
            return true;
        }
        showOpenDragAt(drop->position().toPoint());
        if (m_openDrag.launches.isEmpty()) {
            event->ignore();
            return true;
        }
        drop->setDropAction(safeAction(drop));
        event->accept();
        if (event->type() == QEvent::Drop) {
            const qsizetype index = m_openDrag.index;
            const QList<DropLaunch> launches = m_openDrag.launches;
            const QString line = currentGroup().line(index);
            endOpenDrag();
            // After the drop is answered: the source waits for that answer,
            // and a question asked now would hold it.
            QMetaObject::invokeMethod(
                this, [this, index, line, launches] { openDropped(index, line, launches); }, Qt::QueuedConnection);
        }
        return true;
    }
    case QEvent::DragLeave:
        endOpenDrag();
        return true;
    default:
        return false;
    }
}

void TForm1::showOpenDragAt(const QPoint &pos)
{
    const qsizetype index = buttonIndexAt(FlowLayout1->mapTo(this, pos));
    // Decided once per button, not at every move over it.
    if (index == m_openDrag.index)
        return;
    if (m_openDrag.button)
        m_openDrag.button->setDropTarget(false);
    m_openDrag.button = nullptr;
    m_openDrag.index = index;
    m_openDrag.launches.clear();
    m_openDrag.name.clear();
    LaunchButton *button = LaunchBtn().value(index);
    if (!button || index >= currentGroup().size() || button->isFileMissing()) {
        QToolTip::hideText();
        return;
    }
    const TRec entry = currentGroup().entry(index);
    const DropEntry target = dropEntryOf(entry.fname);
    m_openDrag.launches = dropLaunches(target, m_openDrag.items);
    if (m_openDrag.launches.isEmpty()) {
        QToolTip::hideText();
        return;
    }
    m_openDrag.button = button;
    m_openDrag.name = !entry.hint.isEmpty()    ? entry.hint
                      : !target.name.isEmpty() ? target.name
                                               : ExtractFileTitle(entry.fname);
    button->setDropTarget(true);
    //: A drag of files over a program's button; %1 is the program.
    QToolTip::showText(button->mapToGlobal(QPoint(0, button->height())), tr("%1 で開く").arg(m_openDrag.name), button);
}

void TForm1::endOpenDrag()
{
    if (m_openDrag.button) {
        m_openDrag.button->setDropTarget(false);
        QToolTip::hideText();
    }
    m_openDrag = {};
}

void TForm1::openDropped(qsizetype index, const QString &line, const QList<DropLaunch> &launches)
{
    std::optional<LaunchRequest> request = launchRequestFor(line);
    if (!request || launches.isEmpty())
        return;
    const auto start = [this, request = *request, launches] {
        for (const DropLaunch &launch : launches) {
            LaunchRequest one = request;
            one.dropped = launch.files;
            startOpen(std::move(one));
        }
    };
    if (launches.size() <= kDropInstancesUnasked) {
        start();
        return;
    }
    // One instance per file: a thousand windows are asked for, not opened.
    const TRec entry = currentGroup().entry(index);
    const QString name = entry.hint.isEmpty() ? ExtractFileTitle(request->file) : entry.hint;
    auto *box = new QMessageBox(
        QMessageBox::Question, windowTitle(),
        //: %1 is the program, %2 how many times it would start.
        tr("%1 を %2 回起動して、ファイルを一つずつ開きます。続けますか？").arg(name).arg(launches.size()),
        QMessageBox::Yes | QMessageBox::No, this);
    box->setDefaultButton(QMessageBox::No);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::buttonClicked, this, [box, start](QAbstractButton *clicked) {
        if (box->standardButton(clicked) == QMessageBox::Yes)
            start();
    });
    box->open();
}
