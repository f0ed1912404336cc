// SPDX-License-Identifier: MIT
#pragma once

class HistoryService;
class MessageService;
class QMenuBar;
class QWidget;
struct MeterCheckSession;

// Adds the menu "Historia" ("Historia sprawdzeń...", "Baza danych...") at the end of a menu bar
// of the meter check window; its windows open over `owner` and work with `history`.
void AddHistoryMenu(QMenuBar* bar, const MeterCheckSession& session, HistoryService& history,
                    MessageService& messages, QWidget* owner);
