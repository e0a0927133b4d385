#include "averaging_bar.h"

#include "analysis_period.h"
#include "dialog_units.h"

#include <QAccessible>

namespace {

// The bar's template, in dialog units.
constexpr QSize kBarSize(209, 16);
constexpr QRect kTitleRect(0, 4, 56, 8);
constexpr QRect kSliderRect(60, 0, 100, 16);
constexpr QRect kLabelRect(164, 4, 45, 8);

// The trackbar's standard range and steps.
constexpr int kSliderMax = 100;
constexpr int kPageStep = 20;

} // namespace

CAveragingBar::CAveragingBar(QWidget* parent)
    : QWidget(parent), m_title(QStringLiteral("Averaging period:"), this), m_slider(Qt::Horizontal, this),
      m_label(this) {
    setFont(DialogFont());
    const DialogBaseUnits base = BaseUnitsOf(font());
    setFixedSize(DialogUnitsToPixels(QRect(QPoint(0, 0), kBarSize), base).size());
    setAccessibleName(QStringLiteral("Averaging"));

    m_title.setGeometry(DialogUnitsToPixels(kTitleRect, base));
    m_title.setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    m_slider.setGeometry(DialogUnitsToPixels(kSliderRect, base));
    m_slider.setRange(0, kSliderMax);
    m_slider.setSingleStep(1);
    m_slider.setPageStep(kPageStep);
    m_slider.setTickPosition(QSlider::NoTicks);
    m_slider.setFocusPolicy(Qt::StrongFocus);
    m_slider.setValue(m_nAverage);
    m_slider.setAccessibleName(QStringLiteral("Averaging period"));

    m_label.setGeometry(DialogUnitsToPixels(kLabelRect, base));
    m_label.setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    connect(&m_slider, &QSlider::valueChanged, this, &CAveragingBar::OnHScroll);
}

void CAveragingBar::SetView(int view) {
    m_view = view;
    update();
}

void CAveragingBar::RefreshAveraging() {
    m_nAverage = m_slider.value();
    if (const auto text = FormatAveragingPeriod(m_view, m_nAverage)) {
        m_strAverage = QString::fromStdString(*text);
        if (m_label.text() != m_strAverage) {
            m_label.setText(m_strAverage);
            // A screen reader reads the slider's width in time, not its position.
            m_slider.setAccessibleDescription(m_strAverage);
            QAccessibleEvent changed(&m_slider, QAccessible::DescriptionChanged);
            QAccessible::updateAccessibility(&changed);
        }
    }
    emit AveragingRead();
}

void CAveragingBar::OnHScroll() {
    RefreshAveraging();
}

void CAveragingBar::paintEvent(QPaintEvent* /*event*/) {
    RefreshAveraging();
}
