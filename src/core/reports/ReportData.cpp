#include "ReportData.h"

#include <QLocale>
#include <QRegularExpression>

namespace ReportData {

namespace {

QString caption(const ReportInput &in, int id)
{
    return id < in.captions.size() ? in.captions.at(id)
                                   : QString::fromLatin1(ReportSections::info(id).english);
}

void addBand(ReportScript &s, const QString &prefix, const QString &function,
             const ReportBand &band)
{
    s.add(prefix + QStringLiteral("_count"), int(band.lines.size()));
    for (qsizetype i = 0; i < band.lines.size(); ++i)
        s.add(prefix + QStringLiteral("_val_") + QString::number(i), band.lines.at(i));
    s.add(prefix + QStringLiteral("_type"), int(band.alignment));
    s.add(prefix + QStringLiteral("_style"), band.style);
    s.add(prefix + QStringLiteral("_pict_count"), int(band.pictures.size()));
    for (qsizetype i = 0; i < band.pictures.size(); ++i)
        s.add(prefix + QStringLiteral("_pict_") + QString::number(i), band.pictures.at(i));
    // The text is escaped before it is wrapped, so a header line never becomes markup.
    s.addStatement(QStringLiteral("function %1(t){var e=document.createElement('span');"
                                  "e.textContent=t;return '<font style=\"'+%2_style+'\">'"
                                  "+e.innerHTML+'</font>';}")
                       .arg(function, prefix));
}

void addChart(ReportScript &s, const QString &prefix, const ReportInput::Chart &chart)
{
    s.addFlag(QStringLiteral("chart_") + prefix, chart.drawn);
    const QList<ReportInput::ChartCell> cells =
        chart.drawn ? chart.cells : QList<ReportInput::ChartCell>();
    for (qsizetype i = 0; i < cells.size(); ++i) {
        const QString n = QString::number(i);
        s.add(prefix + QStringLiteral("_name_") + n, cells.at(i).name);
        s.add(prefix + QStringLiteral("_value_") + n, cells.at(i).value);
        s.add(prefix + QStringLiteral("_class_") + n,
              cells.at(i).conduction < 0   ? QStringLiteral("low")
              : cells.at(i).conduction > 0 ? QStringLiteral("high")
                                           : QStringLiteral("norm"));
    }
    s.add(prefix + QStringLiteral("_cells"), int(cells.size()));
}

void addProgress(ReportScript &s, const ReportInput &in)
{
    const ReportInput::Progress &p = in.progress;
    s.add(QStringLiteral("progress_cap"), caption(in, ReportSections::Progress));
    s.addFlag(QStringLiteral("chart_progress"), p.drawn);
    for (qsizetype i = 0; i < p.headings.size(); ++i)
        s.add(QStringLiteral("progress_head_") + QString::number(i), p.headings.at(i));
    s.add(QStringLiteral("progress_heads"), int(p.headings.size()));
    for (qsizetype i = 0; i < p.figures.size(); ++i) {
        const ProgressFigures &f = p.figures.at(i);
        const QString n = QString::number(i);
        s.add(QStringLiteral("progress_date_") + n, momentText(f.when));
        s.add(QStringLiteral("progress_outside_") + n, f.outside);
        s.add(QStringLiteral("progress_spread_") + n, figureText(f.meanDeviation));
        s.add(QStringLiteral("progress_sides_") + n, figureText(f.sideDifference));
        s.add(QStringLiteral("progress_mean_") + n, f.mean);
    }
    s.add(QStringLiteral("progress_count"), int(p.figures.size()));
}

} // namespace

QString figureText(double value)
{
    return QLocale().toString(value, 'f', 1);
}

QList<ReportInput::ChartCell> chartCells(const TestRecord &test, const CorridorEvaluation &corridor,
                                         const QList<int> &order)
{
    QList<ReportInput::ChartCell> cells;
    for (const int channel : order) {
        const int value = test.values[size_t(channel)];
        const ConductionClass shown = classify(value, corridor);
        cells.append({Channels::name(channel), value,
                      shown == ConductionClass::Low    ? -1
                      : shown == ConductionClass::High ? 1
                                                       : 0});
    }
    return cells;
}

RecipeLines printedRecipe(const RecipeLines &lines)
{
    static const QRegularExpression rule(QStringLiteral("^\\s*-{3,}\\s*$"));
    RecipeLines printed;
    for (const RecipeLine &line : lines) {
        if (!rule.match(line.text).hasMatch())
            printed.append(line);
    }
    return printed;
}

QStringList descriptionLines(const QString &description)
{
    static const QRegularExpression lineEnds(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = description.split(lineEnds);
    for (QString &line : lines)
        line = line.trimmed();
    while (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

QString bandStyle(const BandFont &text, const BandFont &editor, bool header)
{
    QString style;
    if (!text.family.isEmpty() && text.family != editor.family) {
        // A quote or semicolon in a family name would end the style attribute early.
        QString family = text.family;
        family.remove(QRegularExpression(QStringLiteral("[\"';<>{}]")));
        style += QStringLiteral("font-family:") + family + QLatin1Char(';');
    }
    const bool sized = header ? text.pointSize >= 12 : text.pointSize != editor.pointSize;
    if (sized && text.pointSize > 0)
        style +=
            QStringLiteral("font-size:") + QString::number(text.pointSize) + QStringLiteral("pt;");
    if (text.bold)
        style += QStringLiteral("font-weight: bolder;");
    if (text.italic)
        style += QStringLiteral("font-style: italic;");
    return style;
}

QString dateText(const QDate &date)
{
    return date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy")) : QString();
}

QString fileName(const QString &surname, const QString &name, const QDate &testDate)
{
    QStringList parts;
    for (const QString &part : {surname.simplified(), name.simplified(), dateText(testDate)}) {
        if (!part.isEmpty())
            parts.append(part);
    }
    QString file = parts.join(QLatin1Char(' '));
    static const QRegularExpression forbidden(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
    file.replace(forbidden, QStringLiteral("_"));
    while (file.startsWith(QLatin1Char('.')))
        file.remove(0, 1);
    return file.trimmed().isEmpty() ? QStringLiteral("report") : file.trimmed();
}

QString momentText(const QDateTime &moment)
{
    return moment.isValid() ? moment.toString(QStringLiteral("dd.MM.yyyy HH:mm")) : QString();
}

ReportScript compose(const ReportInput &in)
{
    using namespace ReportSections;
    ReportScript s;
    for (int id = 0; id < Count; ++id) {
        if (id < FirstLater || in.enabled.at(size_t(id)))
            s.addFlag(QStringLiteral("enable") + QString::number(id), in.enabled.at(size_t(id)));
    }

    s.add(QStringLiteral("green_color"), QStringLiteral("#008000"));
    s.add(QStringLiteral("red_color"), QStringLiteral("#FF0000"));
    s.add(QStringLiteral("yellow_color"), QStringLiteral("#FFFF00"));
    s.add(QStringLiteral("white_color"), QStringLiteral("#FFFFFF"));
    s.add(QStringLiteral("blue_color"), QStringLiteral("#0000FF"));

    s.add(QStringLiteral("site"), QString());
    s.add(QStringLiteral("pname"), QString());
    s.add(QStringLiteral("name"),
          QString(in.surname.trimmed() + QLatin1Char(' ') + in.name.trimmed()).trimmed());
    s.add(QStringLiteral("birth_day"), dateText(in.birthDay));
    s.add(QStringLiteral("date_reg"), dateText(in.registered));
    s.add(QStringLiteral("diag_date"), momentText(in.testDate));

    s.add(QStringLiteral("name_cap"), caption(in, Fio));
    s.add(QStringLiteral("birthdate_cap"), caption(in, BirthDay));
    s.add(QStringLiteral("regdate_cap"), caption(in, RegistrDate));
    s.add(QStringLiteral("diag_date_cap"), caption(in, TestingDate));
    s.add(QStringLiteral("diag_circle_cap"), caption(in, CircleDiag));
    s.add(QStringLiteral("diag_hist_cap"), caption(in, Histogram));
    s.add(QStringLiteral("diag_general_cap"), caption(in, GeneralGraph));
    s.addFlag(QStringLiteral("test"), in.picturesTaken);
    addChart(s, QStringLiteral("circle"), in.circle);
    addChart(s, QStringLiteral("hist"), in.histogram);
    addChart(s, QStringLiteral("general"), in.general);

    s.add(QStringLiteral("recom_cap"), caption(in, Recomendation));
    int recommendations = 0;
    if (in.enabled.at(Recomendation)) {
        for (const ReportInput::Recommendation &r : in.recommendations) {
            const QString prefix = QStringLiteral("recom_desc") + QString::number(recommendations);
            s.add(QStringLiteral("recom_name") + QString::number(recommendations), r.name);
            if (r.ticked) {
                const QStringList lines = descriptionLines(r.description);
                for (qsizetype j = 0; j < lines.size(); ++j)
                    s.add(prefix + QLatin1Char('_') + QString::number(j), lines.at(j));
                s.add(prefix + QStringLiteral("_count"), int(lines.size()));
            } else {
                s.add(prefix + QStringLiteral("_0"), QStringLiteral("0"));
            }
            ++recommendations;
        }
    }
    s.add(QStringLiteral("recom_count"), recommendations);

    s.add(QStringLiteral("treat_cap"), caption(in, Treatment));
    s.add(QStringLiteral("color_treat_cap"), in.colourCaption);
    s.add(QStringLiteral("freq_treat_cap"), in.frequencyCaption);
    s.addFlag(QStringLiteral("freq_treat_val"), in.frequencyPicture);
    s.addFlag(QStringLiteral("color_treat_val"), in.colourPicture);

    s.addFlag(QStringLiteral("accept"), in.accept);
    if (in.accept) {
        addBand(s, QStringLiteral("header"), QStringLiteral("StylizeHeader"), in.header);
        addBand(s, QStringLiteral("footer"), QStringLiteral("StylizeFooter"), in.footer);
    }

    s.add(QStringLiteral("acupress_cap"), caption(in, Acupress));
    const RecipeLines acupressure =
        in.enabled.at(Acupress) ? printedRecipe(in.acupressure) : RecipeLines();
    for (qsizetype i = 0; i < acupressure.size(); ++i) {
        const QString n = QString::number(i);
        s.add(QStringLiteral("acupress_val_") + n, acupressure.at(i).text);
        s.add(QStringLiteral("acupress_type_") + n, int(acupressure.at(i).kind));
        s.addFlag(QStringLiteral("acupress_srt_") + n, acupressure.at(i).endsLine);
    }
    s.add(QStringLiteral("acupress_count_seans"), int(acupressure.size()));

    s.add(QStringLiteral("symptom_cap"), caption(in, Symptom));
    const QList<SymptomGroup> symptoms =
        in.enabled.at(Symptom) ? in.symptoms : QList<SymptomGroup>();
    for (qsizetype i = 0; i < symptoms.size(); ++i) {
        const QString n = QString::number(i);
        const SymptomGroup &g = symptoms.at(i);
        s.add(QStringLiteral("sympt_mer_") + n, g.meridian);
        s.add(QStringLiteral("sympt_point_") + n, g.point);
        for (qsizetype j = 0; j < g.entries.size(); ++j)
            s.add(QStringLiteral("sympt_val_") + n + QLatin1Char('_') + QString::number(j),
                  g.entries.at(j));
        s.add(QStringLiteral("sympt_count_") + n, int(g.entries.size()));
    }
    s.add(QStringLiteral("sympt_count"), int(symptoms.size()));

    if (in.enabled.at(Progress))
        addProgress(s, in);

    for (qsizetype k = 0; k < in.order.size(); ++k)
        s.add(QStringLiteral("stencil_val_") + QString::number(k), in.order.at(k));
    s.add(QStringLiteral("stencil_count"), int(in.order.size()));
    return s;
}

} // namespace ReportData
