#include "SimEngine.h"

SimEngine::SimEngine() : random(1718) {}

QList<SimFrameResult> SimEngine::Feed(const QByteArray& bytes, double nowSeconds)
{
    QList<SimFrameResult> results;
    for (const QByteArray& frame : parser.Feed(bytes)) {
        SimFrameResult result;
        result.frame = frame;
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
        result.hangUp = plan.FrameDone();
        results.append(result);
        if (result.hangUp) {
            // Whatever follows the frame that ends the line is lost with it.
            parser.Reset();
            break;
        }
    }
    return results;
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
