#include "TestExportColumns.h"

#include "ryodoraku/CorridorEvaluation.h"

namespace {

constexpr int PersonalCount = 8;

int classNumber(ConductionClass cls) {
    switch (cls) {
    case ConductionClass::Low:
        return -1;
    case ConductionClass::High:
        return 1;
    case ConductionClass::Normal:
        break;
    }
    return 0;
}

} // namespace

TestExportColumns::TestExportColumns(const TestExportLabels &labels, bool withPersonal, int percent)
    : m_labels(labels)
    , m_withPersonal(withPersonal)
    , m_percent(percent) {}

QStringList TestExportColumns::header() const {
    const TestExportLabels &l = m_labels;
    QStringList names = {l.clientId};
    if (m_withPersonal)
        names << l.name << l.surname << l.birthday << l.country << l.city << l.address << l.phone
              << l.eMail;
    names << l.testDate << Channels::names() << l.mean << l.corridor;
    for (const QString &channel : Channels::names())
        names << channel + QLatin1Char(' ') + l.classOf;
    return names;
}

QVariantList TestExportColumns::row(const TestRecord &test, const ExportPerson *person) const {
    QVariantList cells;
    cells.reserve(4 + PersonalCount + 2 * Channels::Count);
    cells << test.codeClient;
    if (m_withPersonal) {
        const ExportPerson none;
        const ExportPerson &p = person ? *person : none;
        cells << p.name << p.surname << p.birthday << p.country << p.city << p.address << p.phone
              << p.eMail;
    }
    cells << test.testDate;
    for (const int value : test.values)
        cells << value;
    const CorridorEvaluation corridor = evaluate(test, m_percent);
    cells << corridor.mean << m_percent;
    for (const int value : test.values)
        cells << classNumber(classify(value, corridor));
    return cells;
}
