// SPDX-License-Identifier: MIT
#include "core/entries/LaunchRequest.h"

#include "core/entries/EntryLine.h"

std::optional<LaunchRequest> launchRequestFor(const QString &line)
{
    const QStringList fields = splitEntryLine(line);
    if (fields.isEmpty() || fields.size() > 3)
        return std::nullopt;
    LaunchRequest request;
    request.file = fields.at(0);
    if (fields.size() == 3)
        request.params = fields.at(1);
    return request;
}
