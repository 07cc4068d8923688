#include "helphintform.h"

#include <QPainter>
#include <QSvgRenderer>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

// Resources of a static library need an explicit initialisation.
static void initHelpResources()
{
    Q_INIT_RESOURCE(help);
}

QList<QPixmap> HTML_PngImageList()
{
    static QList<QPixmap> images;
    if (images.isEmpty()) {
        initHelpResources();
        for (const char *name : { ":/help/help_jack_0.svg", ":/help/help_jack_1.svg" }) {
            QPixmap pixmap(128, 128);
            pixmap.fill(Qt::white);
            QSvgRenderer renderer(QString::fromLatin1(name));
            QPainter painter(&pixmap);
            renderer.render(&painter, QRectF(0, 0, 128, 128));
            images.append(pixmap);
        }
    }
    return images;
}

THelpHintForm::THelpHintForm(QWidget *parent)
    : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("HelpHintForm"));
    // The caption is the same in every language and is not translated.
    setWindowTitle(QStringLiteral("Info"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::Base, Qt::white);
    setPalette(pal);

    HTMLForm1 = new QTextBrowser(this);
    HTMLForm1->setObjectName(QStringLiteral("HTMLForm1"));
    HTMLForm1->setFrameShape(QFrame::NoFrame);
    HTMLForm1->setOpenLinks(false);
    HTMLForm1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(HTMLForm1);

    resize(223, 628);
    // The pictures are rendered and registered with the first help text;
    // the pane starts empty and hidden.

    connect(HTMLForm1->document(), &QTextDocument::contentsChanged, this, [this] { m_shown = nullptr; });
}

void THelpHintForm::registerImages()
{
    const QList<QPixmap> images = HTML_PngImageList();
    for (qsizetype i = 0; i < images.size(); ++i)
        HTMLForm1->document()->addResource(
            QTextDocument::ImageResource, QUrl(QStringLiteral("idx:%1").arg(i)), QVariant(images.at(i)));
}

void THelpHintForm::setHelpHtml(const QString &html)
{
    // The same text again (pages added in a row all start with the same
    // help) is not laid out again while the view still shows it.
    if (html == m_html && m_shown && m_shown == HTMLForm1->document())
        return;
    m_html = html;
    // Clearing the view drops the document's resources; register the
    // pictures again before they are laid out.
    registerImages();
    HTMLForm1->setHtml(html);
    m_shown = HTMLForm1->document();
}

QRect THelpHintForm::besideRect(const QRect &mainFrame, const QRect &paneFrame, bool takeHeight)
{
    QRect r(QPoint(mainFrame.left() + mainFrame.width(), mainFrame.top()), paneFrame.size());
    if (takeHeight)
        r.setHeight(mainFrame.height());
    return r;
}

void THelpHintForm::placeBeside(const QRect &mainFrame, bool takeHeight)
{
    const QRect frame = frameGeometry();
    const QRect target = besideRect(mainFrame, frame, takeHeight);
    // Before the window is mapped its frame is not known and equals the
    // client area.
    const int decoration = frame.height() - geometry().height();
    move(target.topLeft());
    if (takeHeight)
        resize(width(), qMax(1, target.height() - decoration));
}

void THelpHintForm::showFromHelpButton(const QRect &mainFrame)
{
    placeBeside(mainFrame, false);
    show();
    raise();
}

void THelpHintForm::openBesideIfHidden(const QRect &mainFrame)
{
    if (isVisible())
        return;
    placeBeside(mainFrame, true);
    show();
}

void THelpHintForm::followMainWindow(const QRect &mainFrame)
{
    if (!isVisible())
        return;
    placeBeside(mainFrame, true);
    show();
    raise();
}
