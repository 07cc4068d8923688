#include "trackbar.h"

#include "controlstyle.h"
#include "services/windowtranslator.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolTip>
#include <QVBoxLayout>

namespace {

// The value label shows a text built from labelFormat; the window translator
// translates the format on the track bar, never the label's own text.
class TrackBarValueLabel : public QLabel
{
    Q_OBJECT

public:
    explicit TrackBarValueLabel(QWidget *parent)
        : QLabel(parent)
    {
        ignoreClassForTranslation(QStringLiteral("TrackBarValueLabel"));
    }
};

// A slider that, when asked, moves its handle straight to a click on the
// groove instead of paging towards it. With the keyboard focus its handle is
// ringed, since the style shows no focus on sliders.
class TrackBarSlider : public QSlider
{
    Q_OBJECT

public:
    explicit TrackBarSlider(QWidget *parent)
        : QSlider(Qt::Horizontal, parent)
    {
    }

    bool jumpToClick = false;

    QRect handleRect() const
    {
        QStyleOptionSlider option;
        initStyleOption(&option);
        return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QSlider::paintEvent(event);
        if (!hasFocus())
            return;
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(ControlStyle::Focus, 2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(handleRect()).adjusted(1, 1, -1, -1), 3, 3);
    }

    void mousePressEvent(QMouseEvent *event) override
    {
        if (!jumpToClick || event->button() != Qt::LeftButton || maximum() == minimum()) {
            QSlider::mousePressEvent(event);
            return;
        }
        const QPoint pos = event->position().toPoint();
        if (handleRect().contains(pos)) {
            QSlider::mousePressEvent(event);
            return;
        }
        QStyleOptionSlider option;
        initStyleOption(&option);
        const QRect groove
            = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
        const int handleWidth = handleRect().width();
        // The handle's centre goes to the click; the handle's span is
        // [groove left, groove right - handle width].
        const int span = groove.width() - handleWidth;
        const int offset = pos.x() - groove.x() - handleWidth / 2;
        const int value
            = QStyle::sliderValueFromPosition(minimum(), maximum(), offset, span, option.upsideDown);
        setValue(value);
        // Keep dragging from the new place when the handle is under the mouse.
        if (handleRect().contains(pos))
            QSlider::mousePressEvent(event);
        else
            event->accept();
    }
};

} // namespace

TTrackBar::TTrackBar(QWidget *parent)
    : QWidget(parent)
    , m_label(new TrackBarValueLabel(this))
    , m_slider(new TrackBarSlider(this))
{
    m_label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_slider->setRange(m_min, m_max);
    m_slider->setSingleStep(m_step);
    m_slider->setPageStep(m_step);
    m_slider->setValue(m_position);
    m_slider->setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(m_slider);
    setFocusPolicy(Qt::StrongFocus);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_label);
    layout->addWidget(m_slider);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    connect(m_slider, &QSlider::valueChanged, this, &TTrackBar::sliderValueChanged);
    updateLabel();
}

void TTrackBar::setRange(int min, int max)
{
    m_min = min;
    m_max = qMax(min, max);
    // The slider clamps its value into the new range and reports it through
    // sliderValueChanged; the clamp of the stored position covers the rest.
    m_slider->setRange(m_min, m_max);
    setPosition(m_position);
}

void TTrackBar::setStep(int step)
{
    m_step = qMax(1, step);
    m_slider->setSingleStep(m_step);
    m_slider->setPageStep(m_step);
}

void TTrackBar::setPosition(int value)
{
    value = qBound(m_min, value, m_max);
    if (value == m_position)
        return;
    // Stored before the slider moves, so the slider's own report of the new
    // value finds nothing to do; a handler that calls setPosition() again
    // from changed() sees the value it was told about.
    m_position = value;
    m_slider->setValue(value);
    updateLabel();
    Q_EMIT changed();
}

void TTrackBar::setLabelFormat(const QString &format)
{
    m_labelFormat = format;
    updateLabel();
}

QString TTrackBar::labelText() const
{
    QString text = m_labelFormat;
    return text.replace(QLatin1String("%d"), QString::number(m_position));
}

void TTrackBar::setJumpToClick(bool on)
{
    m_jumpToClick = on;
    static_cast<TrackBarSlider *>(m_slider)->jumpToClick = on;
}

void TTrackBar::sliderValueChanged(int value)
{
    setPosition(value);
    if (m_slider->isSliderDown())
        showDragHint();
}

void TTrackBar::showDragHint()
{
    const QRect handle = static_cast<TrackBarSlider *>(m_slider)->handleRect();
    const QPoint at = m_slider->mapToGlobal(QPoint(handle.center().x(), handle.top()));
    QToolTip::showText(at, QString::number(m_position), m_slider, handle);
}

void TTrackBar::updateLabel()
{
    const QString text = labelText();
    m_label->setText(text);
    m_label->setVisible(!text.isEmpty());
    m_slider->setAccessibleName(text);
}

#include "trackbar.moc"
