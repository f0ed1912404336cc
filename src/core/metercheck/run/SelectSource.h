// SPDX-License-Identifier: MIT
#pragma once

#include "core/link/CommandSender.h"

class MessageService;
struct MeterCheckDoc;

// Picks the calibrator source function for point `point` of range `range` of the document and
// sends its selection (with "T" + To for a thermocouple with a fixed reference
// junction, "R" + RL for a resistance thermometer with lead resistance). Returns the
// calibrator function index 0-19, or -1 when none fits (nothing is sent then; a voltage
// beyond the 12 V range is also reported to the user through `messages`).
int SelectSourceForPoint(const MeterCheckDoc& doc, int range, int point, CommandSender& sender,
                         MessageService& messages);
