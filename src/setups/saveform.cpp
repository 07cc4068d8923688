#include "saveform.h"

#include "services/translation.h"

TSaveform::TSaveform(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Saveform"));
    setWindowTitle(N_("Save Setup"));
    resize(635, 202);
    setMinimumSize(635, 202);
}
