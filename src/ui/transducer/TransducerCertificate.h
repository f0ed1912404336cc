// SPDX-License-Identifier: MIT
#pragma once

#include "core/transducer/TransducerDoc.h"

#include <QDateTime>
#include <QString>

class MessageService;
class QPainter;

// The certificate of a transducer check: one A4 page with the instrument, the input and
// output ranges, the transfer function, the tolerance, the calibrator, the tables of the runs
// before and after adjustment, the error chart and the verdict.
//
// The page is painted in 0.01 mm with the origin at the paper's top-left corner, y downwards.
void PaintTransducerCertificate(QPainter& painter, const TransducerDoc& doc,
                                const QDateTime& printed);

// The certificate as a PDF file at path, written whole; the document's own file is never
// overwritten. False after the message box when it could not be written.
bool SaveTransducerCertificate(const QString& path, const TransducerDoc& doc,
                               const QString& documentName, MessageService& messages);
