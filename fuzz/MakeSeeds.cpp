// SPDX-License-Identifier: MIT
// Writes the sample documents as ".met" files through SaveDocument, the seeds of the .met
// targets: r718-fuzz-seeds <folder>.

#include "FuzzDocument.h"
#include "FuzzSupport.h"
#include "core/base/MessageService.h"
#include "core/metercheck/document/MetFile.h"
#include "core/metercheck/document/MeterCheckSession.h"

#include <QDir>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    FuzzSupport::EnsureApplication();
    QDir().mkpath(QString::fromLocal8Bit(argv[1]));
    LogMessageService messages;
    for (int variant = 0; variant < 2; ++variant) {
        MeterCheckSession session;
        BuildSampleDocument(session, variant);
        const QString path =
            QString::fromLocal8Bit(argv[1]) + QStringLiteral("/sample-%1.met").arg(variant);
        if (!SaveDocument(session, path, messages))
            return 1;
    }
    return 0;
}
