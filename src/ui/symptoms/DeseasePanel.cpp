#include "DeseasePanel.h"

#include "common/Dialogs.h"
#include "DeseaseForm.h"
#include "records/ClientTexts.h"
#include "records/DataModule.h"
#include "symptoms/DeseaseRepository.h"
#include "symptoms/DeseaseSearch.h"
#include "treatment/AtlasPoints.h"
#include "treatment/BodyAtlasView.h"
#include "treatment/BodyMarkGeometry.h"
#include "treatment/PointLabel.h"

#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

QString shown(const QString &key, const QString &fallback)
{
    return ClientTexts::translate(key, fallback);
}

QLabel *caption(QWidget *parent, const QString &key, const QString &fallback)
{
    auto *label = new QLabel(parent);
    label->setProperty("caption", true);
    ClientTexts::bind(label, key, fallback, [label](const QString &t) { label->setText(t); });
    return label;
}

void bindButton(QPushButton *button, const QString &key, const QString &fallback)
{
    ClientTexts::bind(button, key, fallback, [button](const QString &t) { button->setText(t); });
}

QPlainTextEdit *memo(QWidget *parent, const char *name)
{
    auto *edit = new QPlainTextEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setReadOnly(true);
    return edit;
}

} // namespace

DeseasePanel::DeseasePanel(DataModule *data, QWidget *parent)
    : WorkPage(QStringLiteral("DeseasePanel"), parent)
    , m_data(data)
{
    setStyleSheet(QStringLiteral(
        "#DeseasePanel { background: #eef2f6; }"
        "#DeseaseListBox { background: #ffffff; border: 1px solid #c9d3dd;"
        " selection-background-color: #cfe3f7; selection-color: #1f2b36; }"
        "QLabel[caption=\"true\"] { color: #1f3b57; font-weight: 600; }"
        "#DeseaseTitle { color: #1f3b57; font-size: 15pt; font-weight: 600; }"
        "#BodyFrame { background: #ffffff; border: 1px solid #c9d3dd; border-radius: 4px; }"
        "#DopInfoMemo, #WithMemo, #WithoutImageMemo { background: #ffffff;"
        " border: 1px solid #c9d3dd; }"
        "#PlantImage { background: #ffffff; border: 1px solid #c9d3dd; }"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(10, 8, 10, 8);
    row->setSpacing(12);
    auto *column = new QWidget(this);
    column->setFixedWidth(280);
    buildList(column);
    row->addWidget(column);
    auto *area = new QWidget(this);
    buildDetails(area);
    row->addWidget(area, 1);

    m_editor = new DeseaseForm(data, m_catalogue, this);
    connect(m_editor, &QDialog::finished, this, &DeseasePanel::onEditorFinished);
    clearDetails();
}

void DeseasePanel::buildList(QWidget *column)
{
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(caption(column, QStringLiteral("DeseaseList"),
                              QStringLiteral("List of diseases")));
    auto *searchRow = new QHBoxLayout;
    m_searchEdit = new QLineEdit(column);
    m_searchEdit->setObjectName(QStringLiteral("FoundDesEdit"));
    m_searchEdit->setClearButtonEnabled(true);
    m_searchButton = new QPushButton(column);
    m_searchButton->setObjectName(QStringLiteral("sBitBtn4"));
    bindButton(m_searchButton, QStringLiteral("Search"), QStringLiteral("Search"));
    searchRow->addWidget(m_searchEdit, 1);
    searchRow->addWidget(m_searchButton);
    layout->addLayout(searchRow);

    m_list = new QListWidget(column);
    m_list->setObjectName(QStringLiteral("DeseaseListBox"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    layout->addWidget(m_list, 1);
    // What the list cannot say itself: how to begin, or that a search found nothing.
    m_listNote = new QLabel(column);
    m_listNote->setObjectName(QStringLiteral("DeseaseListNote"));
    m_listNote->setWordWrap(true);
    m_listNote->setTextFormat(Qt::PlainText);
    m_listNote->setStyleSheet(QStringLiteral("color: #4a5866;"));
    m_listNote->hide();
    layout->addWidget(m_listNote);

    auto *buttons = new QHBoxLayout;
    m_newButton = new QPushButton(column);
    m_newButton->setObjectName(QStringLiteral("NewDesease"));
    bindButton(m_newButton, QStringLiteral("NewButton"), QStringLiteral("New"));
    m_deleteButton = new QPushButton(column);
    m_deleteButton->setObjectName(QStringLiteral("sBitBtn6"));
    bindButton(m_deleteButton, QStringLiteral("DeleteButton"), QStringLiteral("Delete"));
    buttons->addWidget(m_newButton);
    buttons->addWidget(m_deleteButton);
    layout->addLayout(buttons);

    connect(m_searchButton, &QPushButton::clicked, this, &DeseasePanel::search);
    connect(m_searchEdit, &QLineEdit::returnPressed, this, &DeseasePanel::search);
    connect(m_searchEdit, &QLineEdit::textChanged, this, [this] {
        updateButtons();
        showListNote(false);
    });
    connect(m_newButton, &QPushButton::clicked, this, &DeseasePanel::newDesease);
    connect(m_deleteButton, &QPushButton::clicked, this, &DeseasePanel::deleteDesease);
    connect(m_list, &QListWidget::currentTextChanged, this, [this](const QString &name) {
        if (!m_filling && !name.isEmpty())
            showDesease(name);
    });
}

void DeseasePanel::buildDetails(QWidget *area)
{
    auto *layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    m_title = new QLabel(area);
    m_title->setObjectName(QStringLiteral("DeseaseTitle"));
    m_title->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_title);

    m_pointStrip = new QWidget(area);
    m_pointStrip->setObjectName(QStringLiteral("DotsStrip"));
    auto *strip = new QHBoxLayout(m_pointStrip);
    strip->setContentsMargins(0, 0, 0, 0);
    strip->setSpacing(14);
    strip->addWidget(caption(m_pointStrip, QStringLiteral("DeseaseDots"),
                             QStringLiteral("Acupuncture points")));
    m_noPoints = new QLabel(QStringLiteral("—"), m_pointStrip);
    strip->addWidget(m_noPoints);
    strip->addStretch(1);
    layout->addWidget(m_pointStrip);

    auto *row = new QHBoxLayout;
    row->setSpacing(12);
    auto *frame = new QWidget(area);
    frame->setObjectName(QStringLiteral("BodyFrame"));
    frame->setAttribute(Qt::WA_StyledBackground);
    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(4, 4, 4, 4);
    m_body = new BodyAtlasView(MarkBlink::Style::Disease,
                               {QStringLiteral("back"), QStringLiteral("Front"),
                                QStringLiteral("Side"), QStringLiteral("DeseaseTimer")},
                               frame);
    frameLayout->addWidget(m_body);
    frame->setMinimumWidth(200);
    frame->setMaximumWidth(300);
    row->addWidget(frame, 2);

    auto *texts = new QVBoxLayout;
    texts->setSpacing(6);
    texts->addWidget(caption(area, QStringLiteral("DopInfo"),
                             QStringLiteral("Additional information")));
    m_info = new QTextBrowser(area);
    m_info->setObjectName(QStringLiteral("DopInfoMemo"));
    m_info->setOpenExternalLinks(false);
    texts->addWidget(m_info, 3);
    texts->addWidget(caption(area, QStringLiteral("PlantRecomendation"),
                             QStringLiteral("Herbal recommendations")));
    m_withImage = new QWidget(area);
    auto *withImage = new QHBoxLayout(m_withImage);
    withImage->setContentsMargins(0, 0, 0, 0);
    m_plantImage = new QLabel(m_withImage);
    m_plantImage->setObjectName(QStringLiteral("PlantImage"));
    m_plantImage->setFixedSize(180, 180);
    m_plantImage->setAlignment(Qt::AlignCenter);
    m_withMemo = memo(m_withImage, "WithMemo");
    withImage->addWidget(m_plantImage, 0, Qt::AlignTop);
    withImage->addWidget(m_withMemo, 1);
    texts->addWidget(m_withImage, 2);
    m_withoutImageMemo = memo(area, "WithoutImageMemo");
    texts->addWidget(m_withoutImageMemo, 2);
    row->addLayout(texts, 3);
    layout->addLayout(row, 1);
}

void DeseasePanel::enter()
{
    const QString keep = m_shown;
    fillList();
    const QList<QListWidgetItem *> found = m_list->findItems(keep, Qt::MatchExactly);
    if (!keep.isEmpty() && !found.isEmpty()) {
        m_filling = true;
        m_list->setCurrentItem(found.first());
        m_filling = false;
    } else {
        clearDetails();
    }
    updateButtons();
}

void DeseasePanel::fillList()
{
    DeseaseRepository repository(m_data);
    QString error;
    const QStringList names = repository.isAvailable() ? repository.names(&error) : QStringList();
    m_filling = true;
    m_list->clear();
    m_list->addItems(names);
    m_list->setCurrentRow(-1);
    m_filling = false;
    if (!error.isEmpty())
        Dialogs::message(this, error);
    updateButtons();
    showListNote(false);
}

void DeseasePanel::clearDetails()
{
    m_shown.clear();
    m_title->clear();
    showPoints({});
    m_body->clearMarks();
    m_info->clear();
    showPlant(QString(), QByteArray());
    updateButtons();
}

void DeseasePanel::showDesease(const QString &name)
{
    QString error;
    const std::optional<DeseaseRecord> record = DeseaseRepository(m_data).find(name, &error);
    if (!record) {
        // The table changed behind the list: show what it holds now.
        clearDetails();
        if (!error.isEmpty())
            Dialogs::message(this, error);
        fillList();
        return;
    }
    m_shown = record->name;
    m_title->setText(record->name);
    m_body->clearMarks();
    showPoints(DotsListCodec::decode(record->dots));
    if (Qt::mightBeRichText(record->about))
        m_info->setHtml(record->about);
    else
        m_info->setPlainText(record->about);
    showPlant(record->plant, record->plantPicture);
    updateButtons();
}

void DeseasePanel::showPoints(const QList<DotsListCodec::Point> &points)
{
    qDeleteAll(m_pointLabels);
    m_pointLabels.clear();
    m_points.clear();
    auto *strip = static_cast<QHBoxLayout *>(m_pointStrip->layout());
    const QString hint = ClientTexts::current(QStringLiteral("ShowPointHint"),
                                              QStringLiteral("Click to show the point on the body"));
    for (const DotsListCodec::Point &p : points) {
        if (!m_catalogue.isValid(p.entry))
            continue; // the catalogue no longer names this point
        const DesDotsCatalogue::Entry &entry = m_catalogue.entry(p.entry);
        auto *label = new PointLabel(entry.name + QString::number(p.number), m_pointStrip);
        label->setObjectName(QStringLiteral("DotLabel%1").arg(m_points.size()));
        QFont font(QStringLiteral("Arial"));
        font.setPointSize(12);
        font.setBold(true);
        label->setFont(font);
        label->setStyleSheet(QStringLiteral("color: %1;")
                                 .arg(BodyMarkGeometry::colorOf(entry.fontColor).name()));
        label->setToolTip(hint);
        const int index = int(m_points.size());
        connect(label, &PointLabel::clicked, this, [this, index] { markPoint(index); });
        strip->insertWidget(strip->count() - 1, label);
        m_pointLabels.append(label);
        m_points.append(p);
    }
    m_noPoints->setVisible(m_points.isEmpty());
}

void DeseasePanel::markPoint(int index)
{
    if (index < 0 || index >= m_points.size())
        return;
    const DotsListCodec::Point &p = m_points.at(index);
    const DesDotsCatalogue::Entry &entry = m_catalogue.entry(p.entry);
    // The point's own place when the atlas knows it; else the place of its meridian's entry.
    const QString code = entry.name + QString::number(p.number);
    const AtlasPoints atlas;
    m_body->showMark(atlas.contains(code) ? atlas.position(code) : entry.position);
    for (int i = 0; i < m_pointLabels.size(); ++i) {
        QFont font = m_pointLabels.at(i)->font();
        font.setUnderline(i == index);
        m_pointLabels.at(i)->setFont(font);
    }
}

void DeseasePanel::showPlant(const QString &plant, const QByteArray &picture)
{
    // Read straight from the stored bytes: no file is written on the way.
    const QImage image = picture.isEmpty() ? QImage() : QImage::fromData(picture);
    const bool withImage = !image.isNull();
    m_withImage->setVisible(withImage);
    m_withoutImageMemo->setVisible(!withImage);
    if (withImage) {
        m_plantImage->setPixmap(QPixmap::fromImage(
            image.scaled(m_plantImage->size() - QSize(4, 4), Qt::KeepAspectRatio,
                         Qt::SmoothTransformation)));
        m_withMemo->setPlainText(plant);
        m_withoutImageMemo->clear();
    } else {
        m_plantImage->clear();
        m_withMemo->clear();
        m_withoutImageMemo->setPlainText(plant);
    }
}

void DeseasePanel::search()
{
    QStringList names;
    for (int i = 0; i < m_list->count(); ++i)
        names.append(m_list->item(i)->text());
    const int row = DeseaseSearch::firstMatch(names, m_searchEdit->text());
    if (row >= 0)
        m_list->setCurrentRow(row);
    showListNote(row < 0);
}

void DeseasePanel::showListNote(bool searchFailed)
{
    QString note;
    if (m_list->count() == 0 && m_data && m_data->isOpen())
        note = shown(QStringLiteral("DeseaseEmptyHint"),
                     QStringLiteral("The catalogue is empty. Press \u201cNew\u201d to describe a "
                                    "disease: its points, signs and remedies."));
    else if (searchFailed && !m_searchEdit->text().trimmed().isEmpty())
        note = shown(QStringLiteral("DeseaseNotFound"), QStringLiteral("No disease name contains "
                                                                       "\u201c%1\u201d."))
                   .arg(m_searchEdit->text().trimmed());
    m_listNote->setText(note);
    m_listNote->setVisible(!note.isEmpty());
}

void DeseasePanel::newDesease()
{
    if (!m_data || !m_data->isOpen())
        return;
    m_editor->show();
    m_editor->raise();
    m_editor->activateWindow();
}

void DeseasePanel::onEditorFinished(int result)
{
    if (result != QDialog::Accepted)
        return;
    fillList();
    const QList<QListWidgetItem *> found =
        m_list->findItems(m_editor->savedName(), Qt::MatchExactly);
    if (!found.isEmpty())
        m_list->setCurrentItem(found.first());
}

void DeseasePanel::deleteDesease()
{
    if (m_list->count() == 0 || m_shown.isEmpty())
        return;
    const QString question =
        shown(QStringLiteral("DeleteDesease"), QStringLiteral("Delete the disease \"%1\"?"))
            .arg(m_shown);
    if (!Dialogs::ask(this, question))
        return;
    QString error;
    if (!DeseaseRepository(m_data).remove(m_shown, &error)) {
        Dialogs::message(this, shown(QStringLiteral("DeseaseNotDeleted"),
                                     QStringLiteral("The disease could not be deleted."))
                                   + QStringLiteral("\n") + error);
        fillList();
        clearDetails();
        return;
    }
    clearDetails();
    fillList();
}

void DeseasePanel::updateButtons()
{
    const bool open = m_data && m_data->isOpen();
    m_newButton->setEnabled(open);
    m_deleteButton->setEnabled(open && !m_shown.isEmpty());
    // A search of an empty list is answered too, rather than refused without a word.
    m_searchButton->setEnabled(!m_searchEdit->text().trimmed().isEmpty());
}
