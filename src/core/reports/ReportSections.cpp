#include "ReportSections.h"

#include <array>

namespace ReportSections {

const Info &info(int id)
{
    static const std::array<Info, Count> infos{{
        {"FIOBox", "FIO", "Full name"},
        {"BirthDayBox", "BirthDay", "Date of birth"},
        {"RegistrDateBox", "RegistrationDate", "Registration date"},
        {"TestingDateBox", "TestingDate", "Testing date"},
        {"CircleDiagBox", "CircleDiag", "Circle diagram"},
        {"HistogramBox", "Histogram", "Histogram"},
        {"GeneralGraphBox", "GeneralGraph", "General graph"},
        {"RecomendationBox", "Recomendations", "Recommendations"},
        {"MonitoringBox", "Monitoring", "Monitoring"},
        {"TreatmentBox", "Treatment", "Treatment"},
        {"AcupressBox", "PressLabel", "Acupressure"},
        {"SymptomBox", "PrintSymptoms", "Symptoms by meridian"},
        {"ProgressBox", "PrintProgress", "Progress over the tests"},
    }};
    return infos.at(size_t(qBound(0, id, Count - 1)));
}

QList<int> naturalOrder()
{
    QList<int> ids;
    for (int id = 0; id < Count; ++id)
        ids.append(id);
    return ids;
}

bool onByDefault(int id)
{
    return id != Monitoring && id != Progress;
}

QString pictureFile(Picture picture)
{
    switch (picture) {
    case CirclePicture:
        return QStringLiteral("circle.bmp");
    case HistogramPicture:
        return QStringLiteral("hist.bmp");
    case GeneralPicture:
        return QStringLiteral("graph1.bmp");
    case ColourPicture:
        return QStringLiteral("color_treat.bmp");
    case FrequencyPicture:
        return QStringLiteral("freq_treat.bmp");
    case ProgressPicture:
        return QStringLiteral("progress.png");
    }
    return QString();
}

} // namespace ReportSections

namespace PrintQueue {

namespace {
constexpr QChar kField = QLatin1Char('#');
constexpr QChar kEnd = QLatin1Char('&');

// A separator inside a caption would shift every entry after it when read back.
QString clean(const QString &text)
{
    QString t = text.trimmed();
    t.replace(kField, QLatin1Char(' '));
    return t;
}

QStringList fields(const QString &text)
{
    QString body = text.trimmed();
    if (body.endsWith(kEnd))
        body.chop(1);
    QStringList parts = body.split(kField);
    if (!parts.isEmpty() && parts.constLast().isEmpty())
        parts.removeLast();
    return parts;
}
} // namespace

QString build(const QList<QueueEntry> &entries)
{
    QString text;
    for (const QueueEntry &e : entries)
        text +=
            clean(e.caption) + kField + (e.ticked ? QLatin1Char('1') : QLatin1Char('0')) + kField;
    return text + kEnd;
}

QList<QueueEntry> parse(const QString &text)
{
    const QStringList parts = fields(text);
    QList<QueueEntry> entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        entries.append({parts.at(i), parts.at(i + 1).trimmed() == QLatin1String("1")});
    return entries;
}

QString buildNames(const QStringList &names)
{
    QString text;
    for (const QString &name : names)
        text += clean(name) + kField;
    return text + kEnd;
}

QStringList parseNames(const QString &text)
{
    QStringList names;
    for (const QString &part : fields(text)) {
        if (!part.trimmed().isEmpty())
            names.append(part.trimmed());
    }
    return names;
}

bool canHoldName(const QString &name)
{
    return !name.contains(kField) && !name.contains(kEnd);
}

QList<int> order(const QList<QueueEntry> &entries, const QStringList &captions)
{
    QStringList known;
    for (const QString &caption : captions)
        known.append(clean(caption));
    QList<int> ids;
    for (const QueueEntry &e : entries) {
        if (!e.ticked)
            continue;
        const int id = int(known.indexOf(clean(e.caption)));
        if (id >= 0 && !ids.contains(id))
            ids.append(id);
    }
    return ids;
}

} // namespace PrintQueue
