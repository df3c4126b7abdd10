// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>
#include <QString>
#include <functional>

class QWidget;

// How the launcher tells the user that a write failed. Tests replace the
// handlers so no dialog blocks them.
namespace ErrorReport {

// A message box with the error's message; the launcher goes on.
void show(QWidget *parent, const QString &message);

// The same message in a box that blocks nothing: the launcher does not wait
// for the user to read it.
void notify(QWidget *parent, const QString &message);

// Where a message box of `size` goes so that it hides none of the bar:
// below it, else above, else beside it, within `area` (the screen).
QPoint placeBeside(const QRect &bar, const QSize &size, const QRect &area);

enum class CloseChoice { Retry, QuitWithoutSaving, Stay };

// Asked when the settings cannot be written while the launcher closes.
// Escape and closing the box answer Stay.
CloseChoice askOnCloseFailure(QWidget *parent, const QString &message);

using ShowHandler = std::function<void(const QString &)>;
using CloseHandler = std::function<CloseChoice(const QString &)>;
void setHandlers(ShowHandler show, CloseHandler askOnClose);

} // namespace ErrorReport
