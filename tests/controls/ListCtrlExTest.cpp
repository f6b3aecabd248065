#include "controls/CListCtrlEx.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QColor kText(162, 246, 166);
const QColor kBackground(24, 26, 37);

class ListCtrlExTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_list.resize(300, 160);
        m_list.InsertColumn(0, QStringLiteral("TRACK INDEX"), Qt::AlignLeft, 80);
        m_list.InsertColumn(1, QStringLiteral("TITLE"), Qt::AlignLeft, 100);
        m_list.InsertColumn(2, QStringLiteral("TIMES"), Qt::AlignRight, 90);
        m_list.InsertColumn(3, QStringLiteral("START POS"), Qt::AlignLeft, 0);
        FillRows(4);
        m_list.EnableFullRowSelect(true);
        m_list.MarkHeaderColumn(0);
        m_list.SetTextColor(kText);
        m_list.SetBkColor(kBackground);
        m_list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_list));
    }

    void FillRows(int count) {
        m_list.DeleteAllItems();
        for (int row = 0; row < count; ++row) {
            m_list.InsertItem(row, QString::number(row + 1), 0);
            m_list.SetItemText(row, 1, QStringLiteral("Track %1").arg(row + 1));
            m_list.SetItemText(row, 2, QStringLiteral("03:10:00"));
        }
    }

    // Middle of `row` in viewport coordinates.
    int RowY(int row) const {
        return m_list.visualRect(m_list.model()->index(row, 0)).center().y();
    }

    void Press(int x, int row, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(m_list.viewport(), Qt::LeftButton, modifiers, QPoint(x, RowY(row)));
    }

    void PressHeader(int x) {
        QWidget* header = m_list.Header().viewport();
        QTest::mouseClick(header, Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    }

    // Dark pixels (the tick) inside the heading's check box.
    int HeadingTickPixels() {
        const QImage heading = m_list.Header().viewport()->grab().toImage();
        int dark = 0;
        for (int y = 0; y < heading.height(); ++y) {
            for (int x = 5; x < 15; ++x) {
                dark += heading.pixelColor(x, y).lightness() < 40 ? 1 : 0;
            }
        }
        return dark;
    }

    bool RowSelected(int row) const {
        return m_list.selectionModel()->isRowSelected(row, QModelIndex());
    }

    CListCtrlEx m_list;
};

TEST_F(ListCtrlExTest, FreshListHasEveryRowCheckedAndTheHeadingTicked) {
    for (int row = 0; row < CListCtrlEx::kCheckedRows; ++row) {
        ASSERT_TRUE(m_list.IsItemChecked(row)) << row;
    }
    EXPECT_FALSE(m_list.IsItemChecked(512));
    EXPECT_FALSE(m_list.IsItemChecked(-1));
    EXPECT_TRUE(m_list.Header().IsCheckAll());
    EXPECT_GT(HeadingTickPixels(), 0);
}

TEST_F(ListCtrlExTest, PressLeftOf38TogglesTheMarkAnyPlainPressSelectsAndReports) {
    QSignalSpy activity(&m_list, &CListCtrlEx::listActivity);
    Press(37, 1);
    EXPECT_FALSE(m_list.IsItemChecked(1));
    EXPECT_TRUE(RowSelected(1));
    Press(38, 2);
    EXPECT_TRUE(m_list.IsItemChecked(2));
    EXPECT_TRUE(RowSelected(2));
    Press(0, 1);
    EXPECT_TRUE(m_list.IsItemChecked(1));
    // Below the last row there is no row to mark.
    QTest::mouseClick(m_list.viewport(), Qt::LeftButton, {}, QPoint(10, RowY(3) + 40));
    EXPECT_TRUE(m_list.IsItemChecked(4));
    QTest::keyClick(&m_list, Qt::Key_Down);
    EXPECT_EQ(activity.count(), 5);
}

TEST_F(ListCtrlExTest, HeadingBoxUpTo15ClearsAllPositionsAndRefilledRowsStayClear) {
    PressHeader(16);
    EXPECT_TRUE(m_list.IsItemChecked(0));
    EXPECT_TRUE(m_list.Header().IsCheckAll());
    PressHeader(15);
    EXPECT_FALSE(m_list.Header().IsCheckAll());
    EXPECT_EQ(HeadingTickPixels(), 0);
    EXPECT_FALSE(m_list.IsItemChecked(0));
    EXPECT_FALSE(m_list.IsItemChecked(511));
    FillRows(6);
    for (int row = 0; row < 6; ++row) {
        EXPECT_FALSE(m_list.IsItemChecked(row)) << row;
    }
    PressHeader(3);
    EXPECT_TRUE(m_list.IsItemChecked(511));
    EXPECT_FALSE(m_list.IsItemChecked(512));
}

TEST_F(ListCtrlExTest, AltPressOpensTheLabelEditorWhoseEditIsRefused) {
    QSignalSpy activity(&m_list, &CListCtrlEx::listActivity);
    Press(60, 2, Qt::AltModifier);
    QLineEdit* editor = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        editor = m_list.findChild<QLineEdit*>();
        return editor != nullptr && editor->isVisible();
    }));
    EXPECT_EQ(editor->text(), QStringLiteral("3"));
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("renamed"));
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(m_list.GetItemText(2, 0), QStringLiteral("3"));
    EXPECT_EQ(activity.count(), 0);
    EXPECT_TRUE(m_list.IsItemChecked(2));
}

TEST_F(ListCtrlExTest, SelectedRowWithoutFocusLooksUnselectedUnlessSelectionIsAlwaysShown) {
    m_list.clearFocus();
    ASSERT_FALSE(m_list.hasFocus());
    const QImage unselected = m_list.viewport()->grab().toImage();
    m_list.selectionModel()->select(m_list.model()->index(1, 0),
                                    QItemSelectionModel::ClearAndSelect |
                                        QItemSelectionModel::Rows);
    EXPECT_EQ(m_list.viewport()->grab().toImage(), unselected);

    m_list.SetShowSelectionAlways(true);
    const QImage shown = m_list.viewport()->grab().toImage();
    EXPECT_NE(shown, unselected);
    const int y = RowY(1);
    // The highlight runs to the client's right edge; the strip under the
    // check box keeps the background.
    EXPECT_EQ(shown.pixelColor(shown.width() - 1, y), kText);
    EXPECT_EQ(shown.pixelColor(0, y), kBackground);
    EXPECT_EQ(unselected.pixelColor(unselected.width() - 1, y), kBackground);
}

} // namespace
