#include "ManualPrinter.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextFrame>
#include <QTextTable>

#include <cmath>
#include <utility>
#include <vector>

namespace {

// Device pixels per inch of the PDF. Layout units are device pixels, so text is
// measured at this resolution; formats (indents, picture sizes) count in
// 96-per-inch pixels, which the layout scales to the device.
constexpr int Resolution = 300;
constexpr qreal FormatDpi = 96;
constexpr qreal MarginSideMm = 22;
constexpr qreal MarginTopMm = 20;
constexpr qreal MarginBottomMm = 28; // the footer sits in here
const QColor Ink(0x1f, 0x3a, 0x5f);
const QColor Rule(0xa0, 0xa8, 0xb4);

qreal mm(qreal millimetres)
{
    return millimetres / 25.4 * Resolution;
}

void setUpDevice(QPdfWriter& writer)
{
    writer.setResolution(Resolution);
    writer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
}

// Every block, in order; the document's iterator does not enter tables.
std::vector<QTextBlock> blocksOf(const QTextDocument& document)
{
    std::vector<QTextBlock> blocks;
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next()) {
        blocks.push_back(b);
    }
    return blocks;
}

bool isCode(const QTextBlock& block)
{
    const QTextBlockFormat format = block.blockFormat();
    return block.isValid() &&
           (format.hasProperty(QTextFormat::BlockCodeFence) || format.nonBreakableLines());
}

std::vector<QTextTable*> tablesIn(QTextFrame* frame)
{
    std::vector<QTextTable*> tables;
    for (QTextFrame* child : frame->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(child)) {
            tables.push_back(table);
        }
        for (QTextTable* inner : tablesIn(child)) {
            tables.push_back(inner);
        }
    }
    return tables;
}

void setCellText(QTextTable& table, int row, int column, const QString& text)
{
    QTextCursor cursor = table.cellAt(row, column).firstCursorPosition();
    cursor.setPosition(table.cellAt(row, column).lastCursorPosition().position(),
                       QTextCursor::KeepAnchor);
    cursor.insertText(text);
}

} // namespace

ManualPrinter::ManualPrinter(QString footerTitle) : m_footerTitle(std::move(footerTitle)) {}

bool ManualPrinter::fail(const QString& message)
{
    m_error = message;
    return false;
}

bool ManualPrinter::Load(const QString& markdownPath)
{
    QFile file(markdownPath);
    if (!file.open(QIODevice::ReadOnly)) {
        return fail(QStringLiteral("cannot read %1: %2").arg(markdownPath, file.errorString()));
    }
    const QString text = QString::fromUtf8(file.readAll());
    if (text.trimmed().isEmpty()) {
        return fail(QStringLiteral("%1 is empty").arg(markdownPath));
    }
    // Text is measured on the PDF's own device from the start: fonts that the
    // layout resolved once for the screen are not measured again later.
    m_metrics = std::make_unique<QPdfWriter>(&m_sink);
    setUpDevice(*m_metrics);
    m_document = std::make_unique<QTextDocument>();
    m_document->documentLayout()->setPaintDevice(m_metrics.get());
    m_document->setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    m_document->setDocumentMargin(0);
    m_document->setMarkdown(text, QTextDocument::MarkdownDialectGitHub);
    if (m_document->isEmpty()) {
        return fail(QStringLiteral("%1 holds no text").arg(markdownPath));
    }
    m_page = QSizeF(mm(210), mm(297));
    m_origin = QPointF(mm(MarginSideMm), mm(MarginTopMm));
    // Whole pixels: the layout counts in 1/64 pixel and would otherwise put a
    // page's first line a hair above the page's start.
    m_body = QSizeF(std::floor(m_page.width() - 2 * mm(MarginSideMm)),
                    std::floor(m_page.height() - mm(MarginTopMm) - mm(MarginBottomMm)));
    styleBlocks();
    if (!fitPictures(QFileInfo(markdownPath).absolutePath())) {
        return false;
    }
    insertContents();
    layOut();
    return true;
}

void ManualPrinter::styleBlocks()
{
    for (QTextBlock block : blocksOf(*m_document)) {
        QTextCursor cursor(block);
        QTextBlockFormat format = block.blockFormat();
        const int level = format.headingLevel();
        if (level > 0) {
            static constexpr qreal Points[] = {24, 17, 13, 11, 10, 10};
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                QTextCharFormat heading = fragment.charFormat();
                // The importer's relative size would override ours.
                heading.clearProperty(QTextFormat::FontSizeAdjustment);
                heading.setFontPointSize(Points[level - 1]);
                heading.setFontWeight(QFont::Bold);
                heading.setForeground(Ink);
                QTextCursor piece(m_document.get());
                piece.setPosition(fragment.position());
                piece.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
                piece.setCharFormat(heading);
            }
            format.setTopMargin(level == 1 ? 120 : level == 2 ? 28 : 14);
            format.setBottomMargin(level <= 2 ? 12 : 6);
            cursor.setBlockFormat(format);
        } else if (isCode(block)) {
            // Each line is a block of its own: space only around the whole.
            format.setBackground(QColor(0xf2, 0xf4, 0xf7));
            format.setLeftMargin(format.leftMargin() + 10);
            format.setTopMargin(isCode(block.previous()) ? 0 : 4);
            format.setBottomMargin(isCode(block.next()) ? 0 : 10);
            cursor.setBlockFormat(format);
        } else if (!block.textList() && QTextCursor(block).currentTable() == nullptr) {
            format.setBottomMargin(6);
            format.setLineHeight(115, QTextBlockFormat::ProportionalHeight);
            cursor.setBlockFormat(format);
        }
    }
    for (QTextTable* table : tablesIn(m_document->rootFrame())) {
        QTextTableFormat format = table->format();
        format.setBorder(0.75);
        format.setBorderBrush(Rule);
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setBorderCollapse(false);
        format.setCellSpacing(0);
        format.setCellPadding(4);
        format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        format.setBottomMargin(8);
        table->setFormat(format);
        for (int column = 0; column < table->columns(); ++column) {
            QTextTableCell cell = table->cellAt(0, column);
            QTextCharFormat header = cell.format();
            header.setBackground(QColor(0xe6, 0xeb, 0xf2));
            cell.setFormat(header);
        }
    }
}

bool ManualPrinter::fitPictures(const QString& folder)
{
    const qreal widest = m_body.width() * FormatDpi / Resolution;
    for (QTextBlock block : blocksOf(*m_document)) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat()) {
                continue;
            }
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            const QString path = QDir(folder).filePath(format.name());
            const QImage picture(path);
            if (picture.isNull()) {
                return fail(QStringLiteral("cannot read the picture %1").arg(path));
            }
            // Registered by name, so the layout never looks on the disk itself.
            m_document->addResource(QTextDocument::ImageResource, QUrl(format.name()), picture);
            const qreal width = qMin<qreal>(picture.width(), widest);
            format.setWidth(width);
            format.setHeight(width * picture.height() / picture.width());
            QTextCursor cursor(m_document.get());
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
            if (block.text().trimmed().size() == 1) {
                QTextBlockFormat centred = block.blockFormat();
                centred.setAlignment(Qt::AlignHCenter);
                centred.setLineHeight(0, QTextBlockFormat::SingleHeight);
                centred.setTopMargin(6);
                centred.setBottomMargin(10);
                cursor.setBlockFormat(centred);
            }
        }
    }
    return true;
}

void ManualPrinter::insertContents()
{
    std::vector<QTextBlock> chapters;
    for (QTextBlock block : blocksOf(*m_document)) {
        if (block.blockFormat().headingLevel() == 2) {
            chapters.push_back(block);
        }
    }
    if (chapters.empty() || !chapters.front().previous().isValid()) {
        return;
    }
    QTextCursor cursor(chapters.front().previous());
    cursor.movePosition(QTextCursor::EndOfBlock);
    QTextBlockFormat title;
    title.setTopMargin(24);
    title.setBottomMargin(8);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bold.setFontPointSize(13);
    bold.setForeground(Ink);
    cursor.insertBlock(title, bold);
    cursor.insertText(QStringLiteral("Contents"));

    QTextTableFormat format;
    format.setBorder(0);
    format.setCellPadding(3);
    format.setCellSpacing(0);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    format.setColumnWidthConstraints({QTextLength(QTextLength::PercentageLength, 88),
                                      QTextLength(QTextLength::PercentageLength, 12)});
    QTextTable* table = cursor.insertTable(static_cast<int>(chapters.size()), 2, format);
    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    for (int row = 0; row < table->rows(); ++row) {
        setCellText(*table, row, 0, chapters[static_cast<std::size_t>(row)].text());
        QTextCursor page = table->cellAt(row, 1).firstCursorPosition();
        page.setBlockFormat(right);
        page.insertText(QStringLiteral("00"));
    }
    m_contentsTable = table->firstPosition();
    // The title page ends with the contents.
    QTextBlockFormat first = chapters.front().blockFormat();
    first.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    first.setTopMargin(0);
    QTextCursor(chapters.front()).setBlockFormat(first);
}

void ManualPrinter::layOut()
{
    m_document->setPageSize(m_body);
    // A heading at the foot of a page goes over with its text: it gets a
    // page break and the layout runs again, until no heading is left alone.
    for (int pass = 0; pass < 100; ++pass) {
        relayOut();
        bool moved = false;
        const qreal line = QFontMetricsF(m_document->defaultFont(), m_metrics.get()).lineSpacing();
        for (QTextBlock block : blocksOf(*m_document)) {
            const int level = block.blockFormat().headingLevel();
            if (level < 2 || block.blockFormat().pageBreakPolicy() != QTextFormat::PageBreak_Auto) {
                continue;
            }
            // Room for a few lines of text below it, more below a chapter's title.
            const qreal room = (level == 2 ? 8 : 3) * line;
            const QRectF box = m_document->documentLayout()->blockBoundingRect(block);
            const qreal pageEnd = (std::floor(box.top() / m_body.height()) + 1) * m_body.height();
            if (box.bottom() + room > pageEnd) {
                QTextBlockFormat format = block.blockFormat();
                format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                QTextCursor(block).setBlockFormat(format);
                moved = true;
                break;
            }
        }
        if (!moved) {
            break;
        }
    }
    fillContents();
    relayOut();
}

void ManualPrinter::relayOut()
{
    // The layout mends itself lazily after a change and then leaves blocks
    // behind the change undrawn: lay the whole text out afresh instead.
    m_document->markContentsDirty(0, m_document->characterCount());
    m_document->documentLayout()->documentSize();
}

void ManualPrinter::fillContents()
{
    if (m_contentsTable < 0) {
        return;
    }
    QTextCursor at(m_document.get());
    at.setPosition(m_contentsTable);
    QTextTable* table = at.currentTable();
    if (table == nullptr) {
        return;
    }
    int row = 0;
    for (QTextBlock block : blocksOf(*m_document)) {
        if (block.blockFormat().headingLevel() != 2 || row >= table->rows()) {
            continue;
        }
        const QRectF box = m_document->documentLayout()->blockBoundingRect(block);
        const int page = static_cast<int>(std::floor((box.top() + 0.5) / m_body.height())) + 1;
        setCellText(*table, row, 1, QString::number(page));
        ++row;
    }
}

int ManualPrinter::PageCount() const
{
    return m_document ? m_document->pageCount() : 0;
}

void ManualPrinter::paintPage(QPainter& painter, int page) const
{
    painter.save();
    painter.translate(m_origin);
    const QRectF view(0, page * m_body.height(), m_body.width(), m_body.height());
    painter.setClipRect(QRectF(QPointF(0, 0), m_body));
    painter.translate(0, -view.top());
    m_document->drawContents(&painter, view);
    painter.restore();

    if (page == 0) {
        return; // the title page has no footer
    }
    painter.save();
    const qreal top = m_origin.y() + m_body.height() + mm(8);
    painter.setPen(QPen(Rule, mm(0.2)));
    painter.drawLine(QPointF(m_origin.x(), top), QPointF(m_origin.x() + m_body.width(), top));
    painter.setPen(Ink);
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
    const QRectF line(m_origin.x(), top + mm(1.5), m_body.width(), mm(6));
    painter.drawText(line, Qt::AlignLeft | Qt::AlignTop, m_footerTitle);
    painter.drawText(line, Qt::AlignRight | Qt::AlignTop,
                     QStringLiteral("Page %1 of %2").arg(page + 1).arg(PageCount()));
    painter.restore();
}

bool ManualPrinter::Print(const QString& pdfPath)
{
    if (!m_document) {
        return fail(QStringLiteral("nothing loaded"));
    }
    QSaveFile file(pdfPath);
    if (!file.open(QIODevice::WriteOnly)) {
        return fail(QStringLiteral("cannot write %1: %2").arg(pdfPath, file.errorString()));
    }
    QPdfWriter writer(&file);
    setUpDevice(writer);
    writer.setTitle(m_document->begin().text());
    writer.setCreator(QStringLiteral("mkmanual"));

    QPainter painter;
    if (!painter.begin(&writer)) {
        file.cancelWriting();
        return fail(QStringLiteral("cannot paint into %1").arg(pdfPath));
    }
    const int pages = PageCount();
    for (int page = 0; page < pages; ++page) {
        if (page > 0) {
            writer.newPage();
        }
        paintPage(painter, page);
    }
    painter.end();
    if (file.size() == 0 || !file.commit()) {
        return fail(QStringLiteral("cannot write %1: %2").arg(pdfPath, file.errorString()));
    }
    return true;
}

bool ManualPrinter::Preview(const QString& folder)
{
    if (!m_document || !QDir().mkpath(folder)) {
        return fail(QStringLiteral("cannot make %1").arg(folder));
    }
    constexpr qreal PreviewDpi = 100;
    for (int page = 0; page < PageCount(); ++page) {
        QImage image((m_page * PreviewDpi / Resolution).toSize(), QImage::Format_RGB32);
        // Points are resolved as on the PDF, then the page is scaled down.
        image.setDotsPerMeterX(qRound(Resolution / 0.0254));
        image.setDotsPerMeterY(qRound(Resolution / 0.0254));
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(PreviewDpi / Resolution, PreviewDpi / Resolution);
        paintPage(painter, page);
        painter.end();
        const QString name = QStringLiteral("page-%1.png").arg(page + 1, 2, 10, QLatin1Char('0'));
        if (!image.save(QDir(folder).filePath(name))) {
            return fail(QStringLiteral("cannot write %1").arg(QDir(folder).filePath(name)));
        }
    }
    return true;
}
