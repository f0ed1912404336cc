// SPDX-License-Identifier: MIT
#pragma once

#include <QLoggingCategory>
#include <QString>

// The link trace for field support: every frame sent, every reply received and what became of
// the transaction, one line each, under the logging category "r718.link". Off by default;
// QT_LOGGING_RULES="r718.link.debug=true" sends it to standard error, `r718 --trace FILE` to a
// file. While it is off nothing is formatted: callers ask LinkTracing() first.
Q_DECLARE_LOGGING_CATEGORY(linkTrace)

inline bool LinkTracing()
{
    return linkTrace().isDebugEnabled();
}

// Writes one line of the trace: the time of day to the millisecond, then `event`, for example
// "14:03:07.412 sent ^C02%".
void TraceLink(const QString& event);
