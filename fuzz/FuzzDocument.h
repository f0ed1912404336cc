// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

struct MeterCheckSession;

// The .met targets' common part: a sample document as a technician makes one, and the run of
// a loaded document through everything an opened file reaches without a screen.

// Fills the session's document with a few ranges of every kind and measured points; variant 0
// uses the exact-setting method, variant 1 the exact-reading method.
void BuildSampleDocument(MeterCheckSession& session, int variant);

// The sample document packed as a file image.
QByteArray SampleImage(int variant);

// Loads the image through LoadDocument as a file of its own and, when it was taken, runs the
// document through its readers (grid texts, descriptions, charts, errors, report, export,
// range editor, point checks, source selection, a measurement run) checking their rules.
// Returns whether the file was taken.
bool LoadAndExercise(const QByteArray& fileBytes);
