// SPDX-License-Identifier: MIT
#pragma once

#include "core/history/HistoryService.h"

// What the windows say about the records waiting for the server.

// The status line: how many wait and the last failed attempt; empty when nothing waits and
// nothing failed.
QString QueueStatusText(const HistoryService::QueueState& state);

// Once per run whose records were kept but did not reach the server.
QString RunKeptNotSentText(const QString& reason);

// Before the program ends with records waiting.
QString ExitWithWaitingQuestion(int waiting);
