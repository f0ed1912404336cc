// SPDX-License-Identifier: MIT
#pragma once

struct MeterCheckDoc;
struct MeterPoint;
struct MeterRange;

// Emptying and moving the slots of the document. The ranges page adds and deletes ranges and
// points only through these, so that defined slots stay packed at the front.

// Six texts empty, the four flags 0.
void ClearPoint(MeterPoint& point);
// All texts empty, function and coldJunction 0, both flags 0, all 50 points cleared;
// calFunction stays (it is only a preset).
void ClearRange(MeterRange& range);

// Makes room for a new range before slot `index`: ranges index..n-1 move one slot down and
// slot index is cleared. Done only when fewer than 50 ranges exist and index <= n; returns
// whether it was done.
bool InsertRangeSlot(MeterCheckDoc& doc, int index);
// Removes range `index` (< n): the following ranges move one slot up and the freed last slot
// is cleared. Returns whether it was done.
bool RemoveRangeSlot(MeterCheckDoc& doc, int index);

// The same for the points of range `range`: insert when m < 50 and index <= m, remove when
// index < m.
bool InsertPointSlot(MeterCheckDoc& doc, int range, int index);
bool RemovePointSlot(MeterCheckDoc& doc, int range, int index);
