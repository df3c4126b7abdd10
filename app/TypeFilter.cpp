// SPDX-License-Identifier: MIT
#include "app/TypeFilter.h"

#include "core/groups/GroupSet.h"
#include "launcher/LaunchButton.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QInputMethodQueryEvent>
#include <QKeyEvent>
#include <QLabel>

namespace {

// Modifiers that still type text: Shift, AltGr's group switch, the keypad.
constexpr Qt::KeyboardModifiers kTextModifiers = Qt::ShiftModifier | Qt::GroupSwitchModifier | Qt::KeypadModifier;

bool typesText(const QKeyEvent *event)
{
    if (event->modifiers() & ~kTextModifiers)
        return false;
    const QString text = event->text();
    return !text.isEmpty() && std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isPrint(); });
}

// Ctrl+1 to Ctrl+9: the position, 0 to 8; -1 for any other key.
int launchPosition(const QKeyEvent *event)
{
    if ((event->modifiers() & ~Qt::KeypadModifier) != Qt::ControlModifier)
        return -1;
    if (event->key() >= Qt::Key_1 && event->key() <= Qt::Key_9)
        return event->key() - Qt::Key_1;
    return -1;
}

} // namespace

TypeFilter::TypeFilter(QWidget *bar, IconLayer *barLayer, Plate *plate, GroupSet &groups, BarLinks links)
    : QObject(bar)
    , m_bar(bar)
    , m_links(std::move(links))
    , m_groups(groups)
    , m_barLayer(barLayer)
    , m_plate(plate)
{
    // An entry may move or go while the filter shows: the matches follow.
    connect(&groups, &GroupSet::changed, this, [this] {
        if (isActive())
            refresh();
    });
    // Key and input-method events reach the bar's focused widget, which may
    // be any of its buttons; one filter sees them all, and costs nothing
    // while no event comes.
    qApp->installEventFilter(this);
}

TypeFilter::~TypeFilter()
{
    qApp->removeEventFilter(this);
}

FilterView *TypeFilter::view()
{
    if (!m_view) {
        m_view = new FilterView(m_bar, m_barLayer, m_plate, m_groups);
        connect(m_view, &FilterView::launchRequested, this, &TypeFilter::launch);
    }
    return m_view;
}

EntrySearch *TypeFilter::search()
{
    // Its index of names is built at the first search.
    if (!m_search)
        m_search = new EntrySearch(m_groups, EntrySearch::userLocaleKeys(), this);
    return m_search;
}

bool TypeFilter::inBar(QObject *watched) const
{
    auto *widget = qobject_cast<QWidget *>(watched);
    return widget && widget->window() == m_bar;
}

bool TypeFilter::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        return inBar(watched) && handleKey(static_cast<QKeyEvent *>(event));
    case QEvent::ShortcutOverride:
        return inBar(watched) && handleShortcutOverride(static_cast<QKeyEvent *>(event));
    case QEvent::InputMethod:
        if (!inBar(watched))
            return false;
        handleInputMethod(static_cast<QInputMethodEvent *>(event));
        return true;
    case QEvent::InputMethodQuery:
        if (!inBar(watched))
            return false;
        answerQuery(watched, static_cast<QInputMethodQueryEvent *>(event));
        return true;
    case QEvent::Resize:
        if (watched == m_bar && isActive()) {
            m_view->followBarLayer();
            refresh();
        }
        return false;
    case QEvent::WindowDeactivate:
    case QEvent::ContextMenu:
        // Another window took the focus, or a menu opens on the bar: the
        // group shows again, so no command acts on the filter's view.
        if (isActive() && (watched == m_bar || (event->type() == QEvent::ContextMenu && inBar(watched))))
            end();
        return false;
    default:
        return false;
    }
}

bool TypeFilter::handleShortcutOverride(QKeyEvent *event)
{
    if (!isActive())
        return false;
    // Registration mode (Ctrl+N) never starts from a filter; the keys that
    // type are the filter's. A group key (F1 to F5) ends the filter first
    // and then switches.
    if (typesText(event) || launchPosition(event) >= 0
        || QKeySequence(event->keyCombination()) == QKeySequence(Qt::CTRL | Qt::Key_N)) {
        event->accept();
        return true;
    }
    if (event->key() >= Qt::Key_F1 && event->key() <= Qt::Key_F5)
        end();
    return false;
}

bool TypeFilter::handleKey(QKeyEvent *event)
{
    if (const int n = launchPosition(event); n >= 0) {
        if (!isActive()) {
            m_links.launchShown(n);
        } else if (n < m_view->matches().size()) {
            launch(m_view->matches().at(n));
        }
        return true;
    }
    if (!isActive()) {
        // A space presses the focused button, as before.
        if (!typesText(event) || event->text().trimmed().isEmpty())
            return false;
        m_text = event->text();
        if (start())
            return true;
        m_text.clear();
        return false;
    }
    switch (event->key()) {
    case Qt::Key_Escape:
        end();
        return true;
    case Qt::Key_Backspace:
        if (!m_text.isEmpty())
            m_text.chop(1);
        if (m_text.isEmpty() && m_preedit.isEmpty())
            end();
        else
            refresh();
        return true;
    default:
        break;
    }
    if (QKeySequence(event->keyCombination()) == QKeySequence(Qt::CTRL | Qt::Key_N))
        return true;
    if (typesText(event)) {
        m_text += event->text();
        refresh();
        return true;
    }
    // Arrows, Home, End, Enter and the menu key go to the focused match.
    return false;
}

void TypeFilter::handleInputMethod(QInputMethodEvent *event)
{
    const QString commit = event->commitString();
    const QString preedit = event->preeditString();
    if (!isActive()) {
        // An input method in Japanese mode commits a full-width space for
        // the space bar: it presses the focused button, as the key would
        // with no input method, and starts no filter.
        if (commit.trimmed().isEmpty() && preedit.isEmpty()) {
            if (auto *button = qobject_cast<LaunchButton *>(QApplication::focusWidget()); button && !commit.isEmpty())
                button->click();
            return;
        }
        m_text = commit;
        m_preedit = preedit;
        if (!start()) {
            m_text.clear();
            m_preedit.clear();
        }
        event->accept();
        return;
    }
    m_text += commit;
    m_preedit = preedit;
    event->accept();
    if (m_text.isEmpty() && m_preedit.isEmpty())
        end();
    else
        refresh();
}

void TypeFilter::answerQuery(QObject *watched, QInputMethodQueryEvent *query)
{
    const auto *widget = static_cast<QWidget *>(watched);
    const Qt::InputMethodQueries queries = query->queries();
    if (queries & Qt::ImEnabled)
        query->setValue(Qt::ImEnabled, true);
    if (queries & Qt::ImHints)
        query->setValue(Qt::ImHints, int(Qt::ImhNoPredictiveText));
    if (queries & Qt::ImCursorRectangle) {
        const QRect onBar = view()->textCursorRect();
        query->setValue(Qt::ImCursorRectangle, QRect(widget->mapFrom(m_bar, onBar.topLeft()), onBar.size()));
    }
    if (queries & Qt::ImFont)
        query->setValue(Qt::ImFont, view()->textLabel()->font());
    if (queries & Qt::ImSurroundingText)
        query->setValue(Qt::ImSurroundingText, m_text);
    if (queries & Qt::ImCursorPosition)
        query->setValue(Qt::ImCursorPosition, m_text.size());
    if (queries & Qt::ImAnchorPosition)
        query->setValue(Qt::ImAnchorPosition, m_text.size());
    if (queries & Qt::ImCurrentSelection)
        query->setValue(Qt::ImCurrentSelection, QString());
    query->accept();
}

bool TypeFilter::start()
{
    if (!m_links.mayStart())
        return false;
    QWidget *focus = QApplication::focusWidget();
    m_focusBefore = focus && focus->window() == m_bar ? focus : nullptr;
    auto *button = qobject_cast<LaunchButton *>(focus);
    m_ringBefore = button && button->showsFocusRing();
    search()->readOtherGroups(m_links.currentGroup());
    view()->open(m_links.look());
    refresh();
    return true;
}

void TypeFilter::refresh()
{
    m_view->showMatches(search()->find(m_text + m_preedit, m_links.currentGroup()));
    m_view->showText(m_text, m_preedit);
}

void TypeFilter::end()
{
    m_text.clear();
    m_preedit.clear();
    if (!isActive())
        return;
    m_view->close();
    if (m_focusBefore) {
        m_focusBefore->setFocus(Qt::OtherFocusReason);
        if (auto *button = qobject_cast<LaunchButton *>(m_focusBefore.data()); button && m_ringBefore)
            button->showFocusRing();
    } else {
        m_bar->setFocus(Qt::OtherFocusReason);
    }
    m_focusBefore = nullptr;
    // An input method composing still would type into the group.
    QGuiApplication::inputMethod()->reset();
}

void TypeFilter::launch(EntryRef entry)
{
    // Ends first: the launch may report a missing file over the bar.
    end();
    m_links.launch(entry);
}
