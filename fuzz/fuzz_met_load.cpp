// SPDX-License-Identifier: MIT
// Opening a ".met" file of any bytes and any length: a wrong length must be refused with the
// message and leave the open document alone; a file of the right length is taken and its
// document goes through everything an opened file reaches.

#include "FuzzDocument.h"

#include <QByteArray>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    LoadAndExercise(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}
