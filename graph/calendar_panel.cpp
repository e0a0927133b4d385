#include "calendar_panel.h"

#include "calendar_names.h"
#include "calendar_paint.h"
#include "stamp_store.h"
#include "window_text.h"

#include <QAccessible>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

CCalendarPanel::CCalendarPanel(const CStampStore& store, QWidget* parent)
    : QAbstractScrollArea(parent), m_store(store) {
    setObjectName(QStringLiteral("Dates"));
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    viewport()->setMouseTracking(true); // the readout follows the pointer with no button held
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    UpdateAccessibleTexts();
}

void CCalendarPanel::StoreChanged() {
    m_stale = true;
    m_dragFrom.reset(); // a chosen range stays, as the graph keeps counting it
    viewport()->update();
}

void CCalendarPanel::SetCountRule(CountRule rule) {
    if (rule == m_countRule)
        return;
    m_countRule = rule;
    m_stale = true;
    viewport()->update();
}

void CCalendarPanel::Recount() {
    if (!m_stale)
        return;
    m_stale = false;
    m_days = CountByDay(m_store, m_countRule);
    m_layoutWidth = -1;
    const bool cursorShown =
        !m_days.empty() && m_cursor.day >= m_days.front().day && m_cursor.day <= m_days.back().day;
    if (!cursorShown)
        m_cursor = {m_days.empty() ? 0 : m_days.back().day, std::nullopt};
    UpdateAccessibleTexts();
}

const std::vector<DayCount>& CCalendarPanel::Days() {
    Recount();
    return m_days;
}

void CCalendarPanel::LayOut() {
    Recount();
    const int width = viewport()->width();
    if (width == m_layoutWidth)
        return;
    m_layoutWidth = width;
    const QFontMetrics metrics(font());
    QFont bold = font();
    bold.setBold(true);
    int widest = QFontMetrics(bold).horizontalAdvance(QStringLiteral("0000"));
    for (const std::string_view name : kWeekDayAbbreviations)
        widest = std::max(widest, metrics.horizontalAdvance(
                                      QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()))));
    m_layout = LayOutCalendar(m_days, {width, metrics.height(), widest});
    verticalScrollBar()->setRange(0, std::max(0, m_layout.height - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setSingleStep(std::max(1, m_layout.pitch));
}

const CalendarLayout& CCalendarPanel::Layout() {
    LayOut();
    return m_layout;
}

std::int64_t CCalendarPanel::CursorDay() {
    Recount();
    return m_cursor.day;
}

void CCalendarPanel::SetCursorDay(std::int64_t day) {
    Recount();
    MoveCursor({day, std::nullopt});
}

QString CCalendarPanel::CursorReadout() {
    Recount();
    if (m_days.empty())
        return {};
    return QString::fromStdString(
        DayReadout(m_cursor.day, CountOnDay(m_days, m_cursor.day), m_countRule, m_store.Kind()));
}

void CCalendarPanel::UpdateAccessibleTexts() {
    const QString name =
        m_store.m_nFiles > 0
            ? QStringLiteral("Dates: %1")
                  .arg(TextForWindow(FormatFilesTitle(m_store.m_nFiles, m_store.GetFolder(), m_store.Kind())))
            : QStringLiteral("Dates, nothing analysed");
    if (accessibleName() != name)
        setAccessibleName(name);
    QString description = m_stale ? QString() : CursorReadout();
    if (m_range)
        description += QStringLiteral(" Chosen: %1 to %2.")
                           .arg(QString::fromStdString(DayName(m_range->first)),
                                QString::fromStdString(DayName(m_range->second)));
    if (accessibleDescription() != description) {
        setAccessibleDescription(description);
        QAccessibleEvent changed(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&changed);
    }
}

void CCalendarPanel::paintEvent(QPaintEvent*) {
    if (m_store.m_nFiles == 0)
        return;
    LayOut();
    QPainter painter(viewport());
    painter.translate(0, -verticalScrollBar()->value());
    const bool focused = hasFocus();
    CalendarScene scene{
        m_layout, m_days, m_store.Kind(), m_countRule, focused ? std::optional(m_cursor.day) : std::nullopt,
        m_range};
    PaintCalendar(painter, scene, font());
    if (focused) {
        // A dotted frame one pixel inside, as the graph marks its focus.
        painter.resetTransform();
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(viewport()->rect()).adjusted(1.5, 1.5, -1.5, -1.5));
    }
}

void CCalendarPanel::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    m_layoutWidth = -1;
    LayOut();
}

std::optional<std::int64_t> CCalendarPanel::DayAt(const QPoint& viewportPoint) {
    LayOut();
    return DayAtPoint(m_layout, viewportPoint.x(), viewportPoint.y() + verticalScrollBar()->value());
}

void CCalendarPanel::ShowDay(std::int64_t day) {
    if (const std::optional<CalendarRect> cell = DayCell(m_layout, day)) {
        QScrollBar& bar = *verticalScrollBar();
        const int top = cell->y - m_layout.margin;
        const int bottom = cell->y + cell->height + m_layout.margin;
        if (top < bar.value())
            bar.setValue(top);
        else if (bottom > bar.value() + viewport()->height())
            bar.setValue(bottom - viewport()->height());
    }
}

void CCalendarPanel::MoveCursor(const CalendarCursor& cursor) {
    m_cursor = cursor;
    LayOut();
    ShowDay(cursor.day);
    UpdateAccessibleTexts();
    viewport()->update();
    emit ReadoutChanged(CursorReadout());
}

void CCalendarPanel::ChooseRange(std::int64_t first, std::int64_t last) {
    const auto range = std::pair(std::min(first, last), std::max(first, last));
    if (m_range == range)
        return;
    const std::optional<DaySpan> span = DaysSpan(range.first, range.second, m_store.Basis());
    if (!span)
        return;
    m_range = range;
    UpdateAccessibleTexts();
    viewport()->update();
    emit DateRangeChosen(span->since, span->until);
}

void CCalendarPanel::ClearChosenRange() {
    ForgetChosenRange();
    emit DateRangeCleared();
}

void CCalendarPanel::ForgetChosenRange() {
    m_range.reset();
    m_cursor.anchor.reset();
    UpdateAccessibleTexts();
    viewport()->update();
}

void CCalendarPanel::RequestCursorDayFiles() {
    Recount();
    if (m_days.empty())
        return;
    if (const std::optional<DaySpan> span = DaysSpan(m_cursor.day, m_cursor.day, m_store.Basis()))
        emit DayFilesRequested(span->since, span->until, QString::fromStdString(DayName(m_cursor.day)));
}

void CCalendarPanel::keyPressEvent(QKeyEvent* event) {
    Recount();
    if (m_days.empty()) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    const int key = event->key();
    const Qt::KeyboardModifiers held = event->modifiers() & ~Qt::KeypadModifier;
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && held == Qt::NoModifier) {
        RequestCursorDayFiles();
        return;
    }
    if (key == Qt::Key_Escape && held == Qt::NoModifier && m_range) {
        ClearChosenRange();
        return;
    }
    const std::optional<CalendarCursor> next = CalendarCursorAfterKey(
        m_cursor, key, event->modifiers(), Layout(), m_days.front().day, m_days.back().day);
    if (!next) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    MoveCursor(*next);
    if (next->anchor)
        ChooseRange(*next->anchor, next->day);
}

void CCalendarPanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const std::optional<std::int64_t> day = DayAt(event->position().toPoint());
    if (!day)
        return;
    m_dragFrom = day;
    MoveCursor({*day, std::nullopt});
}

void CCalendarPanel::mouseMoveEvent(QMouseEvent* event) {
    const std::optional<std::int64_t> day = DayAt(event->position().toPoint());
    if (day && !m_days.empty())
        emit ReadoutChanged(
            QString::fromStdString(DayReadout(*day, CountOnDay(m_days, *day), m_countRule, m_store.Kind())));
    // A drag chooses the days from the one it began on to the one under the pointer, as it goes.
    if (m_dragFrom && day && (event->buttons() & Qt::LeftButton) && (*day != *m_dragFrom || m_range)) {
        m_cursor = {*day, m_dragFrom};
        ChooseRange(*m_dragFrom, *day);
    }
}

void CCalendarPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_dragFrom.reset();
}

void CCalendarPanel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    if (const std::optional<std::int64_t> day = DayAt(event->position().toPoint())) {
        MoveCursor({*day, std::nullopt});
        RequestCursorDayFiles();
    }
}

void CCalendarPanel::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void CCalendarPanel::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}
