#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// Translates an English message id through the catalogue of the current
// language; returns the id itself when there is no entry. Every text built in
// code passes through here. Format texts are translated first and filled
// afterwards, so translations keep their placeholders.
QString tx(const char *msgid);
QString tx(const QString &msgid);

// Marks a window text for the catalogues without translating it: window
// texts are translated by walking the window, which remembers their ids.
#define N_(text) QString::fromUtf8(text)

// One compiled message catalogue (GNU MO format), read into memory.
//
// Both byte orders are read. Context entries ("context\x04id") are kept apart
// so they never answer a plain lookup; plural entries are stored under their
// singular id with their first form. Every offset and length is checked
// against the data: a damaged, truncated or foreign file gives an empty
// catalogue.
class MoCatalogue
{
public:
    static MoCatalogue fromData(const QByteArray &data);
    static MoCatalogue fromFile(const QString &path);

    bool isEmpty() const { return m_messages.isEmpty() && m_contextMessages.isEmpty(); }
    qsizetype size() const { return m_messages.size() + m_contextMessages.size(); }

    // The translation of msgid, or a null QString when there is none.
    QString lookup(const QString &msgid) const { return m_messages.value(msgid); }
    QString lookup(const QString &context, const QString &msgid) const;

    // Charset named in the catalogue header ("UTF-8" when none is named).
    QString charset() const { return m_charset; }

private:
    QHash<QString, QString> m_messages;
    QHash<QString, QString> m_contextMessages; // key: context + '\x04' + msgid
    QString m_charset;
};

// Binds a text domain to a catalogue file. The program uses only "default".
void bindTextDomain(const QString &domain, const QString &moPath);

// Makes code the current language; the bound catalogue is read (again) at the
// next translation. Without a binding, the catalogue beside the program named
// by the code is used.
void setCurrentLanguage(const QString &code);
QString currentLanguage();

// Program folder + "/" + code + ".locale".
QString catalogueFileFor(const QString &code);
