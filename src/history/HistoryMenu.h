// SPDX-License-Identifier: MIT
#pragma once

class QMenuBar;
class QWidget;

// Adds the menu "Historia" ("Historia sprawdzeń...", "Baza danych...") at the end of a menu bar;
// its windows open over `owner`.
void AddHistoryMenu(QMenuBar* bar, QWidget* owner);
