#include "pinwidgets.h"

#include "device/modaldialog.h"

#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QProxyStyle>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace {

// Masks with "*" whatever the platform style uses. A style sheet rule would
// be lost under the main window's own style sheet.
class PinEditStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
        QStyleHintReturn *returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

QLineEdit *createPinEdit(QWidget *parent, const char *objectName)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(objectName));
    edit->setMaxLength(4);
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), edit));
    auto *style = new PinEditStyle;
    style->setParent(edit);
    edit->setStyle(style);
    edit->setEchoMode(QLineEdit::Password);
    return edit;
}

QLabel *createPadlockImage(QWidget *parent)
{
    initDeviceResources();
    auto *image = new QLabel(parent);
    image->setObjectName(QStringLiteral("Image1"));
    // The three PIN windows show the same picture; it is rendered once.
    static const QPixmap padlock = QIcon(QStringLiteral(":/device/padlock.svg")).pixmap(48, 48);
    image->setPixmap(padlock);
    image->setGeometry(12, 12, 48, 48);
    return image;
}
