// SPDX-License-Identifier: MIT
// A ".met" file of the right length that differs from a valid one where the fuzzer says:
// counts, flags, function codes, the reference junction, the double, texts without their
// terminators, anything. The input is a list of patches; each names a place in the file by
// its record (the header, a range record or a point record) so that short inputs reach every
// field, and gives the bytes to put there.

#include "FuzzDocument.h"
#include "FuzzSupport.h"
#include "core/metercheck/document/MetFile.h"
#include "core/metercheck/document/MeterCheckDoc.h"

#include <QByteArray>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QByteArray bases[2] = {SampleImage(0), SampleImage(1)};
    FuzzSupport::Bytes in(data, size);
    QByteArray image = bases[in.Byte() & 1];
    while (!in.AtEnd()) {
        // Patch: record (0-49 a range, 50 the header), point (0-49, else the range record
        // itself), offset within the record, length, bytes.
        const uint8_t record = in.Byte() % 51;
        const uint8_t point = in.Byte();
        const uint8_t offset = in.Byte();
        const uint8_t length = in.Byte() % 32;
        int at;
        if (record == 50)
            at = offset % MetFile::rangesOffset;
        else if (point < maxPoints)
            at = MetFile::PointOffset(record, point) + offset % MetFile::pointSize;
        else // the fields before the points and rangeMeasured after them
            at = MetFile::RangeOffset(record) +
                 (offset % 70 == 69 ? MetFile::rangeMeasuredOffset : offset % 70);
        const QByteArray bytes = in.Take(length);
        for (qsizetype i = 0; i < bytes.size() && at + i < MET_FILE_SIZE; ++i)
            image[at + i] = bytes[i];
    }
    LoadAndExercise(image);
    return 0;
}
