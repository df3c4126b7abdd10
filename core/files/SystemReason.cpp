// SPDX-License-Identifier: MIT
#include "core/files/SystemReason.h"

#include <QCoreApplication>

#include <cerrno>

namespace {

struct Reason {
    int code;
    const char *text; // UTF-8, translated when shown
};

// The system's own texts are English whatever the interface speaks, which
// put two languages into one message.
constexpr Reason kReasons[] = {
    {EACCES, QT_TRANSLATE_NOOP("SystemReason", "アクセスが許可されていません。")},
    {EPERM, QT_TRANSLATE_NOOP("SystemReason", "アクセスが許可されていません。")},
    {EROFS, QT_TRANSLATE_NOOP("SystemReason", "読み取り専用のファイルシステムです。")},
    {ENOSPC, QT_TRANSLATE_NOOP("SystemReason", "ディスクの空き容量が足りません。")},
    {EDQUOT, QT_TRANSLATE_NOOP("SystemReason", "ディスク使用量の上限に達しています。")},
    {ENOENT, QT_TRANSLATE_NOOP("SystemReason", "ファイルまたはフォルダが見つかりません。")},
    {EIO, QT_TRANSLATE_NOOP("SystemReason", "ディスクの読み書きでエラーが起きました。")},
};

} // namespace

QString systemReason(int code)
{
    for (const Reason &reason : kReasons) {
        if (reason.code == code)
            return QCoreApplication::translate("SystemReason", reason.text);
    }
    return qt_error_string(code);
}
