// velotrix-manualgen: turns one of the HTML manuals into the A4 PDF that the
// configurator opens from its program folder. Runs at build time, so it reads
// only local files and fails loudly when anything the page needs is missing.
//
//   velotrix-manualgen INPUT.html OUTPUT.pdf
//
// Pictures referenced with <img src="..."> are resolved relative to the HTML
// file; SVG pictures are rendered into document images at print resolution.
// "@VERSION@" in the text is replaced by the program version. The first page
// (the title page, ended by a page break in the HTML) carries no footer.

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHashSeed>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSvgRenderer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <cstdio>
#include <stdexcept>

namespace {

constexpr int Resolution = 300; // dots per inch of the PDF's coordinate system
constexpr int ImageScale = 4; // pictures are rendered at 4 × their CSS pixel size (384 dpi)

class GenError : public std::runtime_error
{
public:
    explicit GenError(const QString &message)
        : std::runtime_error(message.toStdString())
    {
    }
};

// The size an <img> tag asks for, in CSS pixels; 0 where the tag sets none.
QSize requestedSize(const QString &tag)
{
    static const QRegularExpression widthRe(QStringLiteral("\\bwidth\\s*=\\s*\"?(\\d+)"));
    static const QRegularExpression heightRe(QStringLiteral("\\bheight\\s*=\\s*\"?(\\d+)"));
    const QRegularExpressionMatch w = widthRe.match(tag);
    const QRegularExpressionMatch h = heightRe.match(tag);
    return { w.hasMatch() ? w.captured(1).toInt() : 0, h.hasMatch() ? h.captured(1).toInt() : 0 };
}

QImage renderSvg(const QString &path, QSize cssSize)
{
    QSvgRenderer renderer(path);
    if (!renderer.isValid())
        throw GenError(QStringLiteral("%1 is not a valid SVG picture").arg(path));
    QSize size = renderer.defaultSize();
    if (cssSize.width() > 0 && cssSize.height() > 0)
        size = cssSize;
    else if (cssSize.width() > 0)
        size = QSize(cssSize.width(), cssSize.width() * size.height() / qMax(1, size.width()));
    else if (cssSize.height() > 0)
        size = QSize(cssSize.height() * size.width() / qMax(1, size.height()), cssSize.height());
    if (size.isEmpty())
        throw GenError(QStringLiteral("%1 has no size").arg(path));

    // White, not transparent: the PDF viewer's page is white anyway, and an
    // opaque picture keeps the file free of soft masks.
    QImage image(size * ImageScale, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(image.size())));
    }
    // The natural size of the picture in the document stays the CSS size.
    image.setDevicePixelRatio(ImageScale);
    return image;
}

// Loads every picture the HTML refers to into the document's resources, so
// the document never tries to find a file by itself.
void addImages(QTextDocument &doc, const QString &html, const QDir &baseDir)
{
    static const QRegularExpression imgRe(
        QStringLiteral("<img\\b[^>]*>"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression srcRe(QStringLiteral("\\bsrc\\s*=\\s*\"([^\"]+)\""));
    for (auto it = imgRe.globalMatch(html); it.hasNext();) {
        const QString tag = it.next().captured(0);
        const QRegularExpressionMatch src = srcRe.match(tag);
        if (!src.hasMatch())
            throw GenError(QStringLiteral("picture without src: %1").arg(tag));
        const QString name = src.captured(1);
        const QString path = QDir::cleanPath(baseDir.absoluteFilePath(name));
        if (!QFileInfo(path).isFile())
            throw GenError(QStringLiteral("picture \"%1\" not found (looked for %2)").arg(name, path));

        QImage image;
        if (path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
            image = renderSvg(path, requestedSize(tag));
        } else if (!image.load(path)) {
            throw GenError(QStringLiteral("cannot read picture %1").arg(path));
        }
        doc.addResource(QTextDocument::ImageResource, QUrl(name), image);
    }
}

int pageOf(qreal y, qreal pageHeight)
{
    return static_cast<int>(y / pageHeight);
}

// A page break before something that already starts a page would only add
// an empty page.
bool atPageTop(qreal y, qreal pageHeight)
{
    return y - pageOf(y, pageHeight) * pageHeight < 1.0;
}

// One element of the document's top level: a paragraph or a table.
struct Element
{
    QTextBlock block;
    QTextTable *table = nullptr;
    QRectF rect;
};

void breakBefore(const Element &e)
{
    if (e.table) {
        QTextTableFormat format = e.table->format();
        format.setPageBreakPolicy(format.pageBreakPolicy() | QTextFormat::PageBreak_AlwaysBefore);
        e.table->setFormat(format);
    } else {
        QTextBlockFormat format = e.block.blockFormat();
        format.setPageBreakPolicy(format.pageBreakPolicy() | QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(e.block).setBlockFormat(format);
    }
}

bool breaksBefore(const Element &e)
{
    const QTextFormat format = e.table ? QTextFormat(e.table->format()) : QTextFormat(e.block.blockFormat());
    return format.intProperty(QTextFormat::PageBreakPolicy) & QTextFormat::PageBreak_AlwaysBefore;
}

bool isHeading(const Element &e)
{
    return !e.table && e.block.blockFormat().headingLevel() > 0;
}

// Finds the first table that a page break would cut although it fits on one
// page, or the first heading left alone at the foot of a page, and moves it
// to the next page; a table takes its heading and introduction with it.
// Returns false when the pages need no such move.
bool moveFirstCutToNextPage(QTextDocument &doc, qreal pageHeight)
{
    QAbstractTextDocumentLayout *layout = doc.documentLayout();
    QList<Element> elements;
    for (QTextFrame::iterator it = doc.rootFrame()->begin(); !it.atEnd(); ++it) {
        if (auto *table = qobject_cast<QTextTable *>(it.currentFrame()))
            elements.append({ {}, table, layout->frameBoundingRect(table) });
        else if (it.currentBlock().isValid())
            elements.append({ it.currentBlock(), nullptr, layout->blockBoundingRect(it.currentBlock()) });
    }

    for (qsizetype i = 0; i < elements.size(); ++i) {
        const Element &e = elements.at(i);
        const int page = pageOf(e.rect.top(), pageHeight);
        if (e.table) {
            if (e.rect.height() >= pageHeight || page == pageOf(e.rect.bottom() - 1, pageHeight))
                continue;
            qsizetype target = i;
            // The nearest heading goes along when it stands close above the
            // table on the same page.
            for (qsizetype j = i - 1; j >= 0; --j) {
                const Element &before = elements.at(j);
                if (pageOf(before.rect.top(), pageHeight) != page
                    || e.rect.top() - before.rect.top() > pageHeight / 4)
                    break;
                if (isHeading(before)) {
                    target = j;
                    break;
                }
            }
            if (breaksBefore(elements.at(target)) || atPageTop(elements.at(target).rect.top(), pageHeight))
                continue;
            breakBefore(elements.at(target));
            return true;
        }
        if (isHeading(e) && i + 1 < elements.size() && !breaksBefore(e)
            && !atPageTop(e.rect.top(), pageHeight)
            && pageOf(elements.at(i + 1).rect.top(), pageHeight) != page) {
            breakBefore(e);
            return true;
        }
    }
    return false;
}

// Reproducible builds: with SOURCE_DATE_EPOCH set, the PDF's creation date
// is that time instead of now. The date has a fixed length, so replacing it
// in place keeps the cross-reference offsets valid.
void pinCreationDate(QByteArray &pdf)
{
    bool ok = false;
    const qint64 epoch = qEnvironmentVariable("SOURCE_DATE_EPOCH").toLongLong(&ok);
    if (!ok)
        return;
    static const QRegularExpression dateRe(QStringLiteral("/CreationDate \\(D:(\\d{14})Z\\)"));
    const QRegularExpressionMatch m = dateRe.match(QString::fromLatin1(pdf));
    if (!m.hasMatch())
        return;
    const QByteArray stamp
        = QDateTime::fromSecsSinceEpoch(epoch, Qt::UTC).toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1();
    if (stamp.size() == 14)
        pdf.replace(m.capturedStart(1), 14, stamp);
}

void generate(const QString &inputPath, const QString &outputPath)
{
    QFile input(inputPath);
    if (!input.open(QIODevice::ReadOnly))
        throw GenError(QStringLiteral("cannot read %1: %2").arg(inputPath, input.errorString()));
    QString html = QString::fromUtf8(input.readAll());
    html.replace(QLatin1String("@VERSION@"), QStringLiteral(VELOTRIX_VERSION));

    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    QPdfWriter writer(&pdf);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(20, 18, 20, 14), QPageLayout::Millimeter);
    writer.setResolution(Resolution);
    writer.setCreator(QStringLiteral("Velotrix Configurator ") + QStringLiteral(VELOTRIX_VERSION));

    QTextDocument doc;
    // Lay the text out for the PDF device so that point sizes come out as
    // points on paper.
    doc.documentLayout()->setPaintDevice(&writer);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(10);
    doc.setDefaultFont(font);
    doc.setDocumentMargin(0);
    // Both languages share one style sheet lying beside the HTML sources.
    const QDir sourceDir = QFileInfo(inputPath).absoluteDir();
    QFile css(sourceDir.filePath(QStringLiteral("manual.css")));
    if (css.exists()) {
        if (!css.open(QIODevice::ReadOnly))
            throw GenError(QStringLiteral("cannot read %1: %2").arg(css.fileName(), css.errorString()));
        doc.setDefaultStyleSheet(QString::fromUtf8(css.readAll()));
    }
    addImages(doc, html, sourceDir);
    doc.setHtml(html);
    writer.setTitle(doc.metaInformation(QTextDocument::DocumentTitle));

    const qreal mm = Resolution / 25.4;
    const qreal footerHeight = 10 * mm;
    const QSizeF body(writer.width(), writer.height() - footerHeight);
    doc.setPageSize(body);
    // Each move shifts what follows, so the layout is checked again from the
    // top after every one; a move can only push content down, which bounds
    // the loop by the number of tables and headings.
    while (moveFirstCutToNextPage(doc, body.height())) { }
    const int pages = doc.pageCount();

    QFont footerFont = font;
    footerFont.setPointSizeF(8);

    QPainter painter;
    if (!painter.begin(&writer))
        throw GenError(QStringLiteral("cannot start the PDF %1").arg(outputPath));
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            writer.newPage();
        painter.save();
        painter.translate(0, -page * body.height());
        doc.drawContents(&painter, QRectF(QPointF(0, page * body.height()), body));
        painter.restore();

        if (page == 0)
            continue;
        const qreal lineY = body.height() + 4 * mm;
        painter.setPen(QPen(QColor(0x90, 0xa4, 0xae), 0.3 * mm));
        painter.drawLine(QPointF(0, lineY), QPointF(body.width(), lineY));
        painter.setPen(QColor(0x45, 0x5a, 0x64));
        painter.setFont(footerFont);
        const QRectF textRect(0, lineY + 1 * mm, body.width(), footerHeight - 5 * mm);
        painter.drawText(
            textRect, Qt::AlignLeft | Qt::AlignTop, doc.metaInformation(QTextDocument::DocumentTitle));
        painter.drawText(
            textRect, Qt::AlignRight | Qt::AlignTop, QStringLiteral("%1 / %2").arg(page + 1).arg(pages));
    }
    if (!painter.end())
        throw GenError(QStringLiteral("cannot finish the PDF %1").arg(outputPath));

    QByteArray bytes = pdf.data();
    pinCreationDate(bytes);
    // Written in one go, so a failed run leaves no half-written manual behind.
    QSaveFile output(outputPath);
    if (!output.open(QIODevice::WriteOnly) || output.write(bytes) != bytes.size() || !output.commit())
        throw GenError(QStringLiteral("cannot write %1: %2").arg(outputPath, output.errorString()));
}

} // namespace

int main(int argc, char *argv[])
{
    // A build machine has no display; the offscreen platform still has fonts.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The PDF writer walks hashes when it writes fonts; a fixed seed keeps the
    // output the same from run to run.
    QHashSeed::setDeterministicGlobalSeed();
    QGuiApplication app(argc, argv);

    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: velotrix-manualgen INPUT.html OUTPUT.pdf\n");
        return 2;
    }
    try {
        generate(args.at(1), args.at(2));
    } catch (const std::exception &e) {
        std::fprintf(stderr, "velotrix-manualgen: %s: %s\n", qPrintable(args.at(1)), e.what());
        return 1;
    }
    return 0;
}
