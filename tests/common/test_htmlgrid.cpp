
#include "common/HtmlGrid.h"

#include <QHeaderView>
#include <QImage>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace dudodu {
namespace {

// Counts how often each object is freed.
struct Counted : TGridObject {
    explicit Counted(QList<int>* freed, int id) : freed(freed), id(id) {}
    ~Counted() override { freed->append(id); }
    QList<int>* freed;
    int id;
};

class HtmlGridTest : public ::testing::Test {
  protected:
    void SetUp() override {
        grid.setColCount(3);
        grid.setRowCount(4);
        for (int row = 1; row < 4; ++row)
            grid.setObject(row, std::make_unique<Counted>(&freed, row));
    }
    QList<int> freed;
    THtmlGrid grid;
};

TEST_F(HtmlGridTest, TitleRowAndCellsAreAddressedByColumnAndRow) {
    grid.setCells(2, 0, QStringLiteral("限修<BR>模式"));
    grid.setCells(1, 3, QStringLiteral("資料庫系統"));
    EXPECT_EQ(grid.Cells(2, 0), QStringLiteral("限修<BR>模式"));
    EXPECT_EQ(grid.Cells(1, 3), QStringLiteral("資料庫系統"));
    EXPECT_EQ(grid.Cells(1, 4), QString()); // beyond the rows
    EXPECT_EQ(grid.RowCount(), 4);
    grid.setRowCount(1);
    EXPECT_EQ(grid.RowCount(), 2); // a title row and at least one data row
    EXPECT_EQ(grid.Cells(2, 0), QStringLiteral("限修<BR>模式"));
}

TEST_F(HtmlGridTest, RowsFreeTheirObjectsOnceWhateverRemovesThem) {
    QSignalSpy freeing(&grid, &THtmlGrid::objectFreeing);
    grid.setObject(2, std::make_unique<Counted>(&freed, 20)); // replaces object 2
    EXPECT_EQ(freed, (QList<int>{2}));
    grid.removeRow(1);
    EXPECT_EQ(freed, (QList<int>{2, 1}));
    ASSERT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(static_cast<Counted*>(grid.Objects(1))->id, 20); // the rows moved up with their objects

    std::unique_ptr<TGridObject> taken = grid.takeObject(2);
    EXPECT_EQ(grid.Objects(2), nullptr);
    grid.setRowCount(2); // drops row 2, which no longer owns anything
    EXPECT_EQ(freed, (QList<int>{2, 1}));
    grid.clearRow(1);
    EXPECT_EQ(freed, (QList<int>{2, 1, 20}));
    EXPECT_EQ(freeing.count(), 3);
    taken.reset();
    EXPECT_EQ(freed, (QList<int>{2, 1, 20, 3}));
}

TEST_F(HtmlGridTest, TheGridFreesWhatItStillOwnsWhenDestroyed) {
    {
        THtmlGrid other;
        other.setRowCount(3);
        other.setObject(1, std::make_unique<Counted>(&freed, 7));
        other.removeRow(2);
    }
    EXPECT_EQ(freed, (QList<int>{7}));
}

TEST_F(HtmlGridTest, RowsGrowWithTheirLinesAndWrappedText) {
    grid.setColWidths(1, 80);
    grid.setCells(1, 1, QStringLiteral("第一行<BR>第二行<BR>第三行"));
    grid.setCells(1, 2, QStringLiteral("全學年上下連貫之科目全學年上下連貫之科目全學年上下連貫之科目"));
    grid.setCells(1, 3, QStringLiteral("一行"));
    for (int row = 1; row <= 3; ++row)
        grid.autoSizeRow(row);
    const int line = QFontMetrics(grid.font()).height();
    EXPECT_GE(grid.RowHeights(3), line);
    EXPECT_LT(grid.RowHeights(3), 2 * line);
    EXPECT_GE(grid.RowHeights(1), 3 * line); // "<BR>" breaks lines
    EXPECT_GE(grid.RowHeights(2), 2 * line); // wrapped in 80 pixels
}

// Dark pixels of a picture of the grid inside a rectangle given in the coordinates of child.
int inkIn(const QImage& picture, const QWidget& grid, const QWidget* child, QRect rect) {
    rect.moveTopLeft(child->mapTo(&grid, rect.topLeft()));
    int dark = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x)
            dark += qGray(picture.pixel(x, y)) < 100;
    }
    return dark;
}

TEST_F(HtmlGridTest, TitlesAndCellsAreDrawn) {
    grid.setFixedFirstColumn(false);
    grid.setCells(1, 0, QStringLiteral("限修<BR>模式"));
    grid.setCells(1, 1, QStringLiteral("資料庫<BR>系統"));
    grid.autoSizeRow(1);
    grid.resize(400, 200);
    grid.show();
    const QImage picture = grid.grab().toImage();
    const QHeaderView* header = grid.horizontalHeader();
    const auto section = [&](int col) {
        return QRect(header->sectionViewportPosition(col), 0, header->sectionSize(col), header->height())
            .adjusted(2, 2, -2, -2);
    };
    EXPECT_GT(inkIn(picture, grid, header, section(1)), 20);
    EXPECT_EQ(inkIn(picture, grid, header, section(2)), 0); // no title, no ink (nor a section number)
    const QModelIndex cell = grid.model()->index(0, 1);
    EXPECT_GT(inkIn(picture, grid, grid.viewport(), grid.visualRect(cell).adjusted(1, 1, -1, -1)), 20);
}

} // namespace
} // namespace dudodu
