// The header and footer editors of the print page, and the header or footer a report takes
// from them.
#include "PrintPanel.h"

#include "TPrintForm.h"
#include "app/AppPaths.h"
#include "app/Session.h"
#include "common/Dialogs.h"
#include "common/IniFile.h"
#include "localization/LanguageApplier.h"
#include "localization/Localization.h"
#include "records/ClientRepository.h"
#include "records/DataModule.h"
#include "reports/ReportFiles.h"
#include "reports/ReportTemplate.h"
#include "ryodoraku/ChannelMarks.h"
#include "ryodoraku/SymptomMarksStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "PrintPanelSupport.h"

using namespace PrintPanelSupport;

namespace {

struct RichCommand
{
    const char *name;
    const char *glyph; // text of the button; empty for a drawn icon
    const char *key;
    const char *english;
};

const RichCommand kRichCommands[] = {
    {"ClearRich", "\u2715", "RichClear", "Clear"},
    {"CutRich", "\u2702", "RichCut", "Cut"},
    {"CopyRich", "", "RichCopy", "Copy"},
    {"PasteRich", "", "RichPaste", "Paste"},
    {"UndoRich", "\u21B6", "RichUndo", "Undo"},
    {"RedoRich", "\u21B7", "RichRedo", "Redo"},
    {"ImageRich", "", "RichImage", "Insert a picture"},
    {"LeftRich", "", "RichLeft", "Align left"},
    {"CenterRich", "", "RichCenter", "Centre"},
    {"RightRich", "", "RichRight", "Align right"},
    {"FontRich", "", "RichFont", "Font"},
};

// Small line drawings for the commands no font glyph shows well.
QIcon richIcon(const QString &name)
{
    QPixmap pixmap(18, 18);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x2b, 0x3a, 0x48), 1.4));
    if (name == QLatin1String("CopyRich")) {
        p.drawRect(QRectF(2.5, 2.5, 9, 10));
        p.fillRect(QRectF(6.5, 6.5, 9, 10), Qt::white);
        p.drawRect(QRectF(6.5, 6.5, 9, 10));
    } else if (name == QLatin1String("PasteRich")) {
        p.drawRect(QRectF(3.5, 3.5, 11, 13));
        p.fillRect(QRectF(6.5, 1.5, 5, 4), QColor(0x2b, 0x3a, 0x48));
        for (double y : {8.5, 11.5, 14.0})
            p.drawLine(QPointF(6, y), QPointF(12, y));
    } else if (name == QLatin1String("ImageRich")) {
        p.drawRect(QRectF(1.5, 3.5, 15, 11));
        p.setBrush(QColor(0x2f, 0x6f, 0xae));
        p.drawPolygon(QPolygonF({QPointF(3, 13), QPointF(7.5, 7.5), QPointF(10.5, 11), QPointF(12.5, 9), QPointF(15, 13)}));
        p.drawEllipse(QPointF(12.5, 6.5), 1.3, 1.3);
    } else if (name == QLatin1String("FontRich")) {
        QFont font = p.font();
        font.setBold(true);
        font.setPixelSize(14);
        p.setFont(font);
        p.drawText(QRectF(0, -1, 18, 16), Qt::AlignCenter, QStringLiteral("A"));
        p.fillRect(QRectF(3, 15, 12, 2), QColor(0xc0, 0x39, 0x2b));
    } else {
        // Alignment: four lines, the short ones placed as the command aligns them.
        const double lengths[] = {14, 9, 14, 9};
        for (int i = 0; i < 4; ++i) {
            const double len = lengths[i];
            double x = 2;
            if (name == QLatin1String("CenterRich"))
                x = 9 - len / 2;
            else if (name == QLatin1String("RightRich"))
                x = 16 - len;
            const double y = 3.5 + i * 3.7;
            p.drawLine(QPointF(x, y), QPointF(x + len, y));
        }
    }
    p.end();
    return QIcon(pixmap);
}

} // namespace

QWidget *PrintPanel::buildBands()
{
    QWidget *box = card(this);
    auto *column = new QVBoxLayout(box);
    column->setContentsMargins(10, 8, 10, 10);
    column->setSpacing(4);

    auto *bar = new QWidget(box);
    bar->setObjectName(QStringLiteral("RichBar"));
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    for (const RichCommand &command : kRichCommands) {
        auto *button = new QToolButton(bar);
        button->setObjectName(QLatin1String(command.name));
        if (*command.glyph)
            button->setText(QString::fromUtf8(command.glyph));
        else
            button->setIcon(richIcon(QLatin1String(command.name)));
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus); // the editor keeps its selection and focus
        const QString key = QLatin1String(command.key);
        const QString english = QLatin1String(command.english);
        LanguageApplier::instance().bindWithFallback(button, key, english,
                                                     [button](const QString &t) { button->setToolTip(t); });
        row->addWidget(button);
        const QString name = QLatin1String(command.name);
        connect(button, &QToolButton::clicked, this, [this, name] {
            QTextEdit *edit = activeRich();
            if (name == QLatin1String("ClearRich"))
                edit->clear();
            else if (name == QLatin1String("CutRich"))
                edit->cut();
            else if (name == QLatin1String("CopyRich"))
                edit->copy();
            else if (name == QLatin1String("PasteRich"))
                edit->paste();
            else if (name == QLatin1String("UndoRich"))
                edit->undo();
            else if (name == QLatin1String("RedoRich"))
                edit->redo();
            else if (name == QLatin1String("ImageRich"))
                insertImage();
            else if (name == QLatin1String("LeftRich"))
                alignRich(Qt::AlignLeft);
            else if (name == QLatin1String("CenterRich"))
                alignRich(Qt::AlignHCenter);
            else if (name == QLatin1String("RightRich"))
                alignRich(Qt::AlignRight);
            else if (name == QLatin1String("FontRich"))
                chooseFont();
        });
    }
    row->addStretch(1);

    m_headerLabel = heading(box, "HeaderLabel");
    m_footerLabel = heading(box, "FooterLabel");
    m_header = new QTextEdit(box);
    m_header->setObjectName(QStringLiteral("HeaderRich"));
    m_footer = new QTextEdit(box);
    m_footer->setObjectName(QStringLiteral("FooterRich"));
    for (QTextEdit *edit : {m_header, m_footer}) {
        edit->setAcceptRichText(true);
        edit->setTabChangesFocus(true);
        edit->setMinimumHeight(50);
        edit->installEventFilter(this);
    }
    m_headerLabel->setBuddy(m_header);
    m_footerLabel->setBuddy(m_footer);
    m_lastRich = m_header;

    column->addWidget(bar);
    column->addWidget(m_headerLabel);
    column->addWidget(m_header, 1);
    column->addWidget(m_footerLabel);
    column->addWidget(m_footer, 1);
    return box;
}

// --- header and footer ------------------------------------------------------------------

bool PrintPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn && (watched == m_header || watched == m_footer))
        m_lastRich = static_cast<QTextEdit *>(watched);
    return WorkPage::eventFilter(watched, event);
}

QTextEdit *PrintPanel::activeRich() const
{
    return m_lastRich ? m_lastRich.data() : m_header;
}

void PrintPanel::alignRich(Qt::Alignment alignment)
{
    activeRich()->setAlignment(alignment);
}

void PrintPanel::insertImage()
{
    const QString path = Dialogs::openFile(this, applied(QStringLiteral("RichImage"), QStringLiteral("Insert a picture")),
                                           QString(), QStringLiteral("Pictures (*.png *.jpg *.jpeg *.bmp *.gif)"));
    if (path.isEmpty())
        return;
    const QImage image(path);
    if (image.isNull()) {
        Dialogs::message(this, shown(QStringLiteral("NotFoundFile"), QStringLiteral("File not found.")));
        return;
    }
    activeRich()->textCursor().insertImage(image.scaledToHeight(qMin(image.height(), 80)),
                                           QUrl::fromLocalFile(path).toString());
}

void PrintPanel::chooseFont()
{
    QTextEdit *edit = activeRich();
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, edit->currentFont(), this);
    if (ok)
        edit->setCurrentFont(font);
}

ReportBand PrintPanel::band(QTextEdit *edit, bool header) const
{
    ReportBand b;
    b.lines = edit->toPlainText().split(QLatin1Char('\n'));
    // The picture placeholder character is no text.
    for (QString &line : b.lines)
        line.remove(QChar::ObjectReplacementCharacter);
    while (!b.lines.isEmpty() && b.lines.constLast().trimmed().isEmpty())
        b.lines.removeLast();
    const Qt::Alignment alignment = edit->document()->firstBlock().blockFormat().alignment();
    b.alignment = alignment & Qt::AlignRight    ? ReportBand::Right
                  : alignment & Qt::AlignHCenter ? ReportBand::Centre
                                                 : ReportBand::Left;
    // The style of the band's text is the one of its first character; a picture in front of
    // the text has no style of its own.
    QTextCursor cursor(edit->document());
    cursor.movePosition(QTextCursor::NextCharacter);
    while (cursor.charFormat().isImageFormat() && cursor.movePosition(QTextCursor::NextCharacter)) {
    }
    const QTextCharFormat format = cursor.charFormat();
    const QFont editorFont = edit->font();
    const QFont textFont = format.font();
    BandFont text{textFont.family(), qRound(textFont.pointSizeF()), format.fontWeight() >= QFont::Bold,
                  format.fontItalic()};
    BandFont editor{editorFont.family(), qRound(editorFont.pointSizeF()), false, false};
    b.style = ReportData::bandStyle(text, editor, header);
    b.pictures = saveBandPictures(edit, header ? QStringLiteral("header") : QStringLiteral("footer"));
    return b;
}

// The pictures of a header or footer, written to print_pict/ for the page to show. A picture
// comes from the editor's own copy, or from its file when a stored template named it.
QStringList PrintPanel::saveBandPictures(QTextEdit *edit, const QString &band) const
{
    QStringList files;
    QTextDocument *document = edit->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat())
                continue;
            const QString name = format.toImageFormat().name();
            const QVariant resource = document->resource(QTextDocument::ImageResource, QUrl(name));
            QImage image = resource.value<QImage>();
            if (image.isNull() && resource.canConvert<QPixmap>())
                image = resource.value<QPixmap>().toImage();
            if (image.isNull() && resource.canConvert<QByteArray>())
                image = QImage::fromData(resource.toByteArray());
            if (image.isNull())
                image = QImage(QUrl(name).isLocalFile() ? QUrl(name).toLocalFile() : name);
            if (image.isNull())
                continue; // a picture whose file has gone is left out, not shown broken
            if (image.height() > MaxBandPictureHeight)
                image = image.scaledToHeight(MaxBandPictureHeight, Qt::SmoothTransformation);
            const QString file = ReportFiles::bandPictureFile(band, int(files.size()));
            if (image.save(ReportFiles::pictureFolder() + file, "PNG"))
                files.append(file);
        }
    }
    return files;
}
