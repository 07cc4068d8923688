#include "setupsform.h"

#include "services/translation.h"
#include "services/windowtranslator.h"

TSetupsform::TSetupsform(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Setupsform"));
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(N_("Setups"));
    resize(635, 202);
    setMinimumSize(535, 202);

    TranslateComponent(this);
}
