#include "translation.h"

QString tx(const char *msgid)
{
    return tx(QString::fromUtf8(msgid));
}

QString tx(const QString &msgid)
{
    return msgid;
}
