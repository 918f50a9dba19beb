#include "CorridorEvaluation.h"

#include "localization/Localization.h"
#include "records/TestRecord.h"

int CorridorEvaluation::halfWidthOf(int percent, int mean)
{
    // Kept in long double on purpose (x86-64: 80-bit extended): the stored corridors of every
    // earlier test were computed this way, and a practitioner comparing old and new printouts
    // must see the same classes. volatile keeps the compiler from folding the two steps.
    volatile long double factor = 0.01L;
    const long double perPercent = factor * static_cast<long double>(static_cast<double>(percent));
    const long double product = perPercent * static_cast<long double>(mean);
    return static_cast<int>(product); // truncates toward zero
}

int CorridorEvaluation::deviation(int value) const
{
    if (mean == 0)
        return 0; // all channels at 0: nothing deviates, and nothing can be divided
    return static_cast<int>((static_cast<long long>(value) - mean) * 100 / mean);
}

std::optional<int> CorridorEvaluation::parsePercent(const QString &text, QString *error)
{
    bool ok = false;
    const int percent = text.trimmed().toInt(&ok);
    if (ok && percent >= 1 && percent <= 99)
        return percent;
    if (error) {
        QString message = Localization::Translate(QStringLiteral("CorridorPercentBad"));
        if (message.isEmpty())
            message = QStringLiteral("The corridor percentage \"%1\" is not a whole number from "
                                     "1 to 99. Correct it in the settings.");
        *error = message.contains(QLatin1String("%1")) ? message.arg(text) : message;
    }
    return std::nullopt;
}

CorridorEvaluation evaluate(const TestRecord &test, int percent)
{
    CorridorEvaluation corridor;
    corridor.values = test.values;
    long long sum = 0;
    for (const int value : test.values)
        sum += value;
    corridor.mean = static_cast<int>(sum / Channels::Count); // C++ division truncates toward 0
    corridor.halfWidth = CorridorEvaluation::halfWidthOf(percent, corridor.mean);
    return corridor;
}

ConductionClass classify(int value, const CorridorEvaluation &corridor)
{
    if (value > corridor.upper())
        return ConductionClass::High;
    if (value < corridor.lower())
        return ConductionClass::Low;
    return ConductionClass::Normal;
}
