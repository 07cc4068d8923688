#include "update/tooloutput.h"

QList<OutputPiece> ToolOutputSplitter::feed(const QByteArray &bytes)
{
    QList<OutputPiece> pieces;
    QByteArray current;
    const auto flush = [&] {
        if (current.isEmpty())
            return;
        pieces.append({ m_decoder.decode(current), m_next });
        current.clear();
        m_next = OutputPiece::Continue;
    };
    for (const char c : bytes) {
        if (m_pendingCr) {
            m_pendingCr = false;
            if (c == '\n') {
                m_next = OutputPiece::NewLine;
                continue;
            }
            m_next = OutputPiece::Replace;
        }
        if (c == '\n') {
            flush();
            m_next = OutputPiece::NewLine;
        } else if (c == '\r') {
            flush();
            m_pendingCr = true;
        } else {
            current.append(c);
        }
    }
    flush();
    return pieces;
}

void ToolOutputSplitter::reset()
{
    m_decoder.resetState();
    m_next = OutputPiece::NewLine;
    m_pendingCr = false;
}

void MemoLines::appendTo(int index, const QString &text)
{
    if (index < 0 || index >= m_lines.size())
        m_lines.append(text);
    else
        m_lines[index] += text;
}

void MemoLines::apply(const OutputPiece &piece)
{
    if (m_lines.isEmpty() || piece.kind == OutputPiece::NewLine)
        m_lines.append(piece.text);
    else if (piece.kind == OutputPiece::Replace)
        m_lines.last() = piece.text;
    else
        m_lines.last() += piece.text;
}
