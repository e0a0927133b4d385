// The graph's keys: where the keyboard cursor goes, and the keyboard's twins of the axis drags.
#include "analysis_period.h"
#include "cursor_readout.h"
#include "graph_keys.h"

#include <gtest/gtest.h>

namespace {

TEST(GraphStateAfterKey, KeysMoveTheCursorTurnAndStretch) {
    constexpr auto none = Qt::NoModifier;
    constexpr auto shift = Qt::ShiftModifier;
    constexpr auto ctrl = Qt::ControlModifier;
    struct Case {
        const char* what;
        int view;
        GraphKeyState before;
        int key;
        Qt::KeyboardModifiers modifiers;
        std::optional<GraphKeyState> after;
    };
    const Case cases[] = {
        {"right", VIEW_DAY, {0, 0, 6.5}, Qt::Key_Right, none, GraphKeyState{1, 0, 6.5}},
        {"keypad right", VIEW_DAY, {0, 0, 6.5}, Qt::Key_Right, Qt::KeypadModifier, GraphKeyState{1, 0, 6.5}},
        {"left wraps", VIEW_DAY, {0, 0, 6.5}, Qt::Key_Left, none, GraphKeyState{1439, 0, 6.5}},
        {"shift+right: the window", VIEW_DAY, {10, 0, 6.5}, Qt::Key_Right, shift, GraphKeyState{110, 0, 6.5}},
        {"shift+left wraps", VIEW_DAY, {30, 0, 6.5}, Qt::Key_Left, shift, GraphKeyState{1370, 0, 6.5}},
        {"home", VIEW_MONTH, {700, 3, 2}, Qt::Key_Home, none, GraphKeyState{0, 3, 2}},
        {"end", VIEW_YEAR, {7, 0, 6.5}, Qt::Key_End, none, GraphKeyState{1459, 0, 6.5}},
        {"page down: 6am", VIEW_DAY, {0, 0, 6.5}, Qt::Key_PageDown, none, GraphKeyState{360, 0, 6.5}},
        {"page down after 6pm", VIEW_DAY, {1100, 0, 6.5}, Qt::Key_PageDown, none, GraphKeyState{0, 0, 6.5}},
        {"page up to noon", VIEW_DAY, {721, 0, 6.5}, Qt::Key_PageUp, none, GraphKeyState{720, 0, 6.5}},
        {"page up wraps", VIEW_DAY, {0, 0, 6.5}, Qt::Key_PageUp, none, GraphKeyState{1080, 0, 6.5}},
        {"week: Monday", VIEW_WEEK, {5, 0, 6.5}, Qt::Key_PageDown, none, GraphKeyState{240, 0, 6.5}},
        {"month: day 5", VIEW_MONTH, {0, 0, 6.5}, Qt::Key_PageDown, none, GraphKeyState{192, 0, 6.5}},
        {"year: February", VIEW_YEAR, {0, 0, 6.5}, Qt::Key_PageDown, none, GraphKeyState{124, 0, 6.5}},
        {"year: December", VIEW_YEAR, {1459, 0, 6.5}, Qt::Key_PageUp, none, GraphKeyState{1336, 0, 6.5}},
        {"ctrl+right turns", VIEW_DAY, {5, 0, 6.5}, Qt::Key_Right, ctrl, GraphKeyState{5, 60, 6.5}},
        {"ctrl+left wraps", VIEW_WEEK, {5, 0, 6.5}, Qt::Key_Left, ctrl, GraphKeyState{5, 1610, 6.5}},
        {"ctrl+up: taller", VIEW_DAY, {5, 0, 6.5}, Qt::Key_Up, ctrl, GraphKeyState{5, 0, 5.2}},
        {"held at 1", VIEW_DAY, {5, 0, 1.1}, Qt::Key_Up, ctrl, GraphKeyState{5, 0, 1}},
        {"held at 999", VIEW_DAY, {5, 0, 900}, Qt::Key_Down, ctrl, GraphKeyState{5, 0, 999}},
        {"up alone", VIEW_DAY, {5, 0, 6.5}, Qt::Key_Up, none, std::nullopt},
        {"alt+left", VIEW_DAY, {5, 0, 6.5}, Qt::Key_Left, Qt::AltModifier, std::nullopt},
        {"ctrl+home", VIEW_DAY, {5, 0, 6.5}, Qt::Key_Home, ctrl, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<GraphKeyState> after =
            GraphStateAfterKey(c.before, c.key, c.modifiers, c.view, 50);
        ASSERT_EQ(after.has_value(), c.after.has_value());
        if (after) {
            EXPECT_EQ(after->cursorBin, c.after->cursorBin);
            EXPECT_DOUBLE_EQ(after->xOffset, c.after->xOffset);
            EXPECT_DOUBLE_EQ(after->yScale, c.after->yScale);
        }
    }
    // With the trackbar at 0 the window is one bin.
    EXPECT_EQ(GraphStateAfterKey({7, 0, 6.5}, Qt::Key_Right, shift, VIEW_DAY, 0)->cursorBin, 8);
}

// Wherever the plot is wide enough for every bin to have a column, the pointer over the cursor's
// line reads the cursor's bin, whatever the turn; narrower, the line still lies on the plot.
TEST(CursorColumn, ThePointerOnTheLineReadsTheCursorsBin) {
    for (const int width : {1440, 1441, 1999, 3000, 600})
        for (const double offset : {0.0, 10.0, 0.3, 1439.9, 719.5}) {
            for (int bin = 0; bin < 1440; ++bin) {
                const int column = CursorColumn(bin, width, 1440, offset);
                ASSERT_GE(column, 0);
                ASSERT_LT(column, width);
                if (width >= 1440) {
                    ASSERT_EQ(BinUnderPointer(column, width, 1440, offset), bin)
                        << "width " << width << " offset " << offset << " bin " << bin;
                }
            }
        }
    EXPECT_EQ(CursorColumn(0, 0, 1440, 0.0), -1);
}

} // namespace
