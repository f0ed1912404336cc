// SPDX-License-Identifier: MIT
#include "core/link/CSerialException.h"

#include <cerrno>
#include <cstring>

QString CSerialException::ErrorMessage() const
{
    if (errorCode == 0)
        return {};
#ifdef __GLIBC__
    // A code the system has no text for gives an empty message, not "Unknown error".
    if (strerrordesc_np(int(errorCode)) == nullptr)
        return {};
#endif
    return qt_error_string(int(errorCode));
}

CSerialException SerialFailure(quint32 errorCode)
{
    return CSerialException(errorCode != 0 ? errorCode : quint32(errno));
}
