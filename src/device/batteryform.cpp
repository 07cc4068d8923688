#include "batteryform.h"

#include "device/battery.h"
#include "services/translation.h"
#include "services/windowtranslator.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QSvgRenderer>

namespace {

constexpr int IconSize = 64;

QPixmap renderIcon(const QString &path)
{
    QPixmap pixmap(IconSize, IconSize);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(path);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(0, 0, IconSize, IconSize));
    return pixmap;
}

} // namespace

const QPixmap &TBatteryPictures::at(qsizetype i) const
{
    if (m_pixmaps.isEmpty()) {
        initDeviceResources();
        for (int k = 0; k < Count; ++k)
            m_pixmaps.append(renderIcon(QStringLiteral(":/device/battery%1.svg").arg(k)));
    }
    return m_pixmaps.at(i);
}

TBatteryform::TBatteryform(Prompt &prompt, QWidget *centreOn, QWidget *parent)
    : ModalDialog(prompt, centreOn, parent)
{
    setObjectName(QStringLiteral("Batteryform"));
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(N_("Battery status"));
    setFixedSize(260, 136);
    m_centreOnEveryShow = false;

    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);

    Image = new QLabel(this);
    Image->setObjectName(QStringLiteral("Image"));
    Image->setGeometry(22, 10, IconSize, IconSize);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont bold = Label1->font();
    bold.setBold(true);
    bold.setPixelSize(13);
    Label1->setFont(bold);
    Label1->move(102, 35);
    Label1->resize(140, 20);

    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), N_("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(179, 99, 73, 29);
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

    TranslateComponent(this);
}

void TBatteryform::PaintReading(quint16 reading)
{
    // Nothing of an earlier request may remain: start from solid white.
    m_picture = QPixmap(IconSize, IconSize);
    m_picture.fill(Qt::white);
    const BatteryLevel level = BatteryLevelFromReading(reading);
    {
        QPainter painter(&m_picture);
        painter.drawPixmap(0, 0, PngImageList1.at(level.icon));
    }
    Image->setPixmap(m_picture);
    Label1->setText(QString::number(level.percent) + QLatin1Char('%'));
}
