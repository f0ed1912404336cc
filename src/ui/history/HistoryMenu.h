// SPDX-License-Identifier: MIT
#pragma once

class QMenuBar;
class QWidget;
struct MeterCheckSession;

// Adds the menu "Historia" ("Historia sprawdzeń...", "Baza danych...") at the end of a menu bar
// of the meter check window; its windows open over `owner`.
void AddHistoryMenu(QMenuBar* bar, const MeterCheckSession& session, QWidget* owner);
