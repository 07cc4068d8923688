#pragma once

#include <QList>
#include <QPixmap>
#include <QPointer>
#include <QRect>
#include <QWidget>

class QTextBrowser;
class QTextDocument;

// The two pictures the help texts show through <img src="idx:0"> and
// "idx:1": the device's output jacks with an arrow at the upper (0) or the
// lower (1) jack, 128 x 128 pixels each.
QList<QPixmap> HTML_PngImageList();

// The "Info" pane beside the main window that explains the current mode.
// Made once, hidden and empty at first; closing it only hides it, so its
// text stays for the next time it opens.
class THelpHintForm : public QWidget
{
    Q_OBJECT
public:
    explicit THelpHintForm(QWidget *parent = nullptr);

    // Replaces the whole content. The mark-up may use paragraphs, bold text,
    // line breaks, rules and the "idx:N" pictures.
    void setHelpHtml(const QString &html);
    QString helpHtml() const { return m_html; }

    // Frame rectangle of the pane beside the main window's frame: left edge
    // against the main window's right edge, same top, and the main window's
    // height when takeHeight (otherwise the pane keeps its own).
    static QRect besideRect(const QRect &mainFrame, const QRect &paneFrame, bool takeHeight);
    void placeBeside(const QRect &mainFrame, bool takeHeight);

    // Help button: place beside (height unchanged), show, bring to front.
    void showFromHelpButton(const QRect &mainFrame);
    // A help text was composed: a hidden pane opens beside the main window
    // with its height; a visible one stays where it is.
    void openBesideIfHidden(const QRect &mainFrame);
    // The main window moved or was resized: a visible pane follows it, with
    // its height, and comes to the front; a hidden one stays hidden.
    void followMainWindow(const QRect &mainFrame);

    QTextBrowser *HTMLForm1 = nullptr;

private:
    void registerImages();

    QString m_html;
    // The document that shows m_html; cleared when its contents change.
    QPointer<QTextDocument> m_shown;
};
