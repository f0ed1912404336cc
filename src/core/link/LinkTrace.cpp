// SPDX-License-Identifier: MIT
#include "core/link/LinkTrace.h"

#include <QTime>

Q_LOGGING_CATEGORY(linkTrace, "r718.link", QtInfoMsg)

void TraceLink(const QString& event)
{
    qCDebug(linkTrace).noquote() << QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz"))
                                 << event;
}
