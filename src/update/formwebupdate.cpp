#include "formwebupdate.h"

#include "services/translation.h"
#include "services/windowtranslator.h"

TFormwebupdate::TFormwebupdate(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Formwebupdate"));
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(N_("Web-Update"));
    setFixedSize(253, 158);

    TranslateComponent(this);
}
