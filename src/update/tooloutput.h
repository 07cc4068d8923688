#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringDecoder>
#include <QStringList>

// One piece of a tool's console output as the memo takes it: text that
// starts a new line, continues the last line, or (after a lone carriage
// return, as progress counters print) replaces the last line.
struct OutputPiece
{
    enum Kind { NewLine, Continue, Replace };
    QString text;
    Kind kind = Continue;

    bool operator==(const OutputPiece &other) const = default;
};

// Cuts a byte stream into pieces. The first piece of a run starts a new
// line; "\r\n" counts as one line end; a "\r" at the end of a chunk is held
// until the next chunk shows whether "\n" follows.
class ToolOutputSplitter
{
public:
    QList<OutputPiece> feed(const QByteArray &bytes);
    void reset();

private:
    OutputPiece::Kind m_next = OutputPiece::NewLine;
    bool m_pendingCr = false;
    // Keeps a character whose bytes arrive in two chunks whole.
    QStringDecoder m_decoder { QStringDecoder::System };
};

// The memo's lines.
class MemoLines
{
public:
    void clear() { m_lines.clear(); }
    void addLine(const QString &text) { m_lines.append(text); }
    // Appends to line `index`, or adds a line when there is none.
    void appendTo(int index, const QString &text);
    void apply(const OutputPiece &piece);

    const QStringList &lines() const { return m_lines; }
    QString text() const { return m_lines.join(QLatin1Char('\n')); }
    bool isEmpty() const { return m_lines.isEmpty(); }

private:
    QStringList m_lines;
};
