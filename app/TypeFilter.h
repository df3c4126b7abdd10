// SPDX-License-Identifier: MIT
#pragma once

#include "app/EntryGrid.h"
#include "app/FilterView.h"
#include "core/filter/EntrySearch.h"

#include <QObject>
#include <QPointer>

#include <functional>

class QInputMethodEvent;
class QInputMethodQueryEvent;
class QKeyEvent;

// Typing on the focused bar filters every group's entries, and Ctrl+1 to
// Ctrl+9 launch by position. It watches the bar's key and input-method
// events (letters are text, not shortcuts, and the bar's other keys keep
// their meaning while no filter is typed); the filter is one more view of
// the groups' models, which it reads and never changes.
class TypeFilter : public QObject
{
    Q_OBJECT

public:
    // What the filter asks of the bar.
    struct BarLinks {
        std::function<int()> currentGroup;
        // The filter may start: no registration mode, no drag under way.
        std::function<bool()> mayStart;
        std::function<EntryLook()> look;
        // Opens an entry as a click on its button would.
        std::function<void(const EntryRef &)> launch;
        // Opens the entry of the shown group's button `n`, when there is one.
        std::function<void(qsizetype n)> launchShown;
    };

    TypeFilter(QWidget *bar, IconLayer *barLayer, Plate *plate, GroupSet &groups, BarLinks links);
    ~TypeFilter() override;

    bool isActive() const { return m_view && m_view->isOpen(); }
    QString text() const { return m_text + m_preedit; }
    // Ends the filter: the group shows again as it was, focus included.
    void end();
    // Made at the first use: the bar's start does not wait for it.
    FilterView *view();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool inBar(QObject *watched) const;
    bool handleKey(QKeyEvent *event);
    bool handleShortcutOverride(QKeyEvent *event);
    void handleInputMethod(QInputMethodEvent *event);
    void answerQuery(QObject *watched, QInputMethodQueryEvent *query);
    EntrySearch *search();
    bool start();
    void refresh();
    void launch(EntryRef entry); // a copy: ending the filter drops the matches

    QWidget *m_bar;
    BarLinks m_links;
    GroupSet &m_groups;
    IconLayer *m_barLayer;
    Plate *m_plate;
    EntrySearch *m_search = nullptr;
    FilterView *m_view = nullptr;
    QString m_text;
    QString m_preedit; // what the input method is composing
    QPointer<QWidget> m_focusBefore;
    bool m_ringBefore = false;
};
