#pragma once

#include <QBuffer>
#include <QPdfWriter>
#include <QString>
#include <QTextDocument>

#include <memory>

class QPainter;

// Lays a Markdown manual out on A4 pages and prints it: a title page (the
// "#" title and what follows it up to the first "##" chapter) with the
// contents, each chapter with its page; pictures fitted to the text width,
// headings kept with their text, and a footer with the page number.
class ManualPrinter
{
public:
    explicit ManualPrinter(QString footerTitle);

    // Reads the text; pictures are found relative to its folder. False, with
    // Error() set, when the text or one of its pictures cannot be read.
    bool Load(const QString& markdownPath);
    // Writes the PDF atomically: on failure the old file stays as it was.
    bool Print(const QString& pdfPath);
    // Each page as a PNG file (page-01.png, ...), to look at the layout.
    bool Preview(const QString& folder);

    int PageCount() const;
    const QString& Error() const { return m_error; }

private:
    void styleBlocks();
    bool fitPictures(const QString& folder);
    void layOut();
    void relayOut();
    void insertContents();
    void fillContents();
    void paintPage(QPainter& painter, int page) const;
    bool fail(const QString& message);

    QString m_footerTitle;
    QString m_error;
    // The device the text is laid out for; it never writes anything.
    QBuffer m_sink;
    std::unique_ptr<QPdfWriter> m_metrics;
    std::unique_ptr<QTextDocument> m_document;
    // The text's own page in layout units: the page less margins and footer.
    QSizeF m_body;
    // Device pixels per layout unit, and the page's margins in device pixels.
    qreal m_scale = 1;
    QPointF m_origin;
    QSizeF m_page;
    // Where the contents table starts, -1 without one.
    int m_contentsTable = -1;
};
