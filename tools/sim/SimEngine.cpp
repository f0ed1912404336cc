// SPDX-License-Identifier: MIT
#include "SimEngine.h"

SimEngine::SimEngine() : random(1718) {}

QString SimEngine::Control(const QString& line)
{
    const QString word = QStringLiteral("transmitter");
    if (line.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty) == word)
        return instrument.Transmitter().Apply(line.trimmed().mid(word.size()));
    return plan.Apply(line);
}

QList<SimFrameResult> SimEngine::Feed(const QByteArray& bytes, double nowSeconds)
{
    QList<SimFrameResult> results;
    // Byte by byte, so that a hang-up planned inside a frame cuts it where it is.
    for (char byte : bytes) {
        const QList<QByteArray> frames = parser.Feed(QByteArray(1, byte));
        if (frames.isEmpty()) {
            if (parser.Pending().size() >= 2 && plan.TakeMidHangUp(SimMidHangUp::InFrame)) {
                SimFrameResult cut;
                cut.frame = parser.Pending();
                cut.action = SimAction::Silence;
                cut.hangUp = true;
                cut.partial = true;
                results.append(cut);
                parser.Reset();
                break;
            }
            continue;
        }
        SimFrameResult result = Handle(frames.first(), nowSeconds);
        results.append(result);
        if (result.hangUp) {
            // Whatever follows the frame that ends the line is lost with it.
            parser.Reset();
            break;
        }
    }
    return results;
}

SimFrameResult SimEngine::Handle(const QByteArray& frame, double nowSeconds)
{
    SimFrameResult result;
    result.frame = frame;
    if (plan.TakeMidHangUp(SimMidHangUp::BeforeReply)) {
        result.action = SimAction::Silence;
        result.hangUp = true;
        return result;
    }
    result.action = plan.NextFrame();
    switch (result.action) {
    case SimAction::Answer:
        instrument.SetNoise(plan.noise);
        instrument.SetForcedRange(plan.ForcedRange());
        result.reply = instrument.Handle(SimFrameParser::CommandOf(frame), nowSeconds);
        break;
    case SimAction::Nak:
        result.reply = QByteArray(1, SimInstrument::nak);
        break;
    case SimAction::Silence:
        break;
    case SimAction::Garbage:
        result.reply = Garbage();
        break;
    }
    if (!result.reply.isEmpty())
        result.lateMs = plan.TakeLateMs();
    if (result.reply.size() >= 2)
        result.splitPauseMs = plan.TakeSplitPause();
    result.hangUp = plan.FrameDone();
    return result;
}

// Printable bytes that hold neither the acknowledgement nor a NAK, as a disturbed line
// would deliver.
QByteArray SimEngine::Garbage()
{
    std::uniform_int_distribution<int> length(3, 12);
    std::uniform_int_distribution<int> byte(0x21, 0x7e);
    QByteArray bytes;
    for (int n = length(random); bytes.size() < n;) {
        const char c = char(byte(random));
        if (c != '%')
            bytes.append(c);
    }
    return bytes;
}

const char* ActionName(SimAction action)
{
    switch (action) {
    case SimAction::Answer:
        return "answer";
    case SimAction::Nak:
        return "nak";
    case SimAction::Silence:
        return "silence";
    case SimAction::Garbage:
        return "garbage";
    }
    return "?";
}
