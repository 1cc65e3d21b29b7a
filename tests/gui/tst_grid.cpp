// The background grid and the grid-line list that sets it.

#include "core/body.h"
#include "support/game.h"
#include "support/test_main.h"
#include "toolkit/items.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QtTest>
#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace {

double toHundredths(double value)
{
    return std::round(value * 100) / 100;
}

struct Grid {
    QList<double> across; // heights of the visible horizontal lines
    QList<double> down; // x of the visible vertical lines
    int strays = 0; // visible lines that are neither, or not black
};

Grid gridOn(const ui::Frm001& w)
{
    Grid grid;
    if (w.figure().LinBG(0).visible())
        ++grid.strays;
    for (int i = 1; i <= w.figure().LinBG.last; ++i) {
        const toolkit::Line& l = w.figure().LinBG(i);
        if (!l.visible())
            continue;
        if (l.borderColor() != QColor(Qt::black))
            ++grid.strays;
        else if (l.x1() == 0 && l.x2() == core::kCanvasSide && l.y1() == l.y2())
            grid.across << toHundredths(l.y1());
        else if (l.y1() == 0 && l.y2() == core::kCanvasSide && l.x1() == l.x2())
            grid.down << toHundredths(l.x1());
        else
            ++grid.strays;
    }
    std::sort(grid.across.begin(), grid.across.end());
    std::sort(grid.down.begin(), grid.down.end());
    return grid;
}

// Where `lines` lines each way divide the canvas into equal bands, with the
// edge line at 6000 that every grid also sets.
QList<double> bandsFor(int lines)
{
    QList<double> positions;
    for (int k = 1; k <= lines + 1; ++k)
        positions << toHundredths(k * core::kCanvasSide / (lines + 1));
    return positions;
}

// Picks `text` from the list the way the keyboard does: an arrow key moves to
// the neighbouring entry and reports it as chosen.
bool chooseFromList(QComboBox* combo, const QString& text)
{
    const int index = combo->findText(text);
    if (index < 0)
        return false;
    if (index > 0) {
        combo->setCurrentIndex(index - 1);
        QTest::keyClick(combo, Qt::Key_Down);
    } else {
        combo->setCurrentIndex(1);
        QTest::keyClick(combo, Qt::Key_Up);
    }
    return combo->currentText() == text;
}

void paintGridRed(ui::Frm001& w)
{
    for (int i = w.figure().LinBG.first; i <= w.figure().LinBG.last; ++i)
        w.figure().LinBG(i).setBorderColor(QColor(0xFF, 0x00, 0x00));
}

} // namespace

class GridTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void choosingACountDrawsExactlyThatGrid_data();
    void choosingACountDrawsExactlyThatGrid();
    void typedCountsAreClampedWherePicked_data();
    void typedCountsAreClampedWherePicked();
    void typingIntoTheListDoesNotRedrawTheGrid();
};

void GridTest::init()
{
    // An error caught by the error boundary inside an event must fail the test too.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("^error boundary")));
}

// Guards against stale lines of an earlier, finer grid and against misplaced
// or miscoloured lines.
void GridTest::choosingACountDrawsExactlyThatGrid_data()
{
    QTest::addColumn<QStringList>("choices");
    QTest::addColumn<QList<double>>("positions");
    QTest::newRow("7 lines every 750") << QStringList {"7"}
                                       << QList<double> {750, 1500, 2250, 3000, 3750, 4500, 5250, 6000};
    QTest::newRow("11 lines every 500") << QStringList {
        "11"} << QList<double> {500, 1000, 1500, 2000, 2500, 3000, 3500, 4000, 4500, 5000, 5500, 6000};
    QTest::newRow("3 after 11 leaves no finer line")
        << QStringList {"11", "3"} << QList<double> {1500, 3000, 4500, 6000};
    QTest::newRow("0 leaves only the edge lines") << QStringList {"11", "0"} << QList<double> {6000};
    QTest::newRow("the same count twice draws the same grid")
        << QStringList {"5", "5"} << QList<double> {1000, 2000, 3000, 4000, 5000, 6000};
}

void GridTest::choosingACountDrawsExactlyThatGrid()
{
    QFETCH(QStringList, choices);
    QFETCH(QList<double>, positions);
    Game g;
    for (const QString& choice : choices) {
        paintGridRed(g.w());
        QVERIFY(chooseFromList(g.w().CmbNline, choice));
    }
    const Grid grid = gridOn(g.w());
    QCOMPARE(grid.across, positions);
    QCOMPARE(grid.down, positions);
    QCOMPARE(grid.strays, 0);
}

// Guards against a typed count overflowing, asking for grid items that do
// not exist, or rounding differently in different callers.
void GridTest::typedCountsAreClampedWherePicked_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("lines");
    QTest::newRow("one more than the list") << "12" << 11;
    QTest::newRow("far too many") << "99999" << 11;
    QTest::newRow("beyond 16 bits") << "1e9" << 11;
    QTest::newRow("beyond a double") << "1e400" << 11;
    QTest::newRow("a fraction above the list") << "11.6" << 11;
    QTest::newRow("negative") << "-3" << 0;
    QTest::newRow("no number") << "abc" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("number then letters") << "7abc" << 7;
    QTest::newRow("leading blanks") << "  5" << 5;
    // The edge interval is added before rounding: 7.5 intervals round up to 8, 8.5 down to 8.
    QTest::newRow("a half, rounded with the edge interval, up") << "6.5" << 7;
    QTest::newRow("a half, rounded with the edge interval, down") << "7.5" << 7;
}

void GridTest::typedCountsAreClampedWherePicked()
{
    QFETCH(QString, text);
    QFETCH(int, lines);
    Game g;
    ui::Frm001& w = g.w();
    w.CmbNline->setEditText(text);
    qint16 intervals = 0;
    QVERIFY_THROWS_NO_EXCEPTION(intervals = w.gridIntervals());
    QCOMPARE(intervals, qint16(lines + 1));

    const std::array<std::pair<const char*, void (ui::Frm001::*)()>, 4> redrawers {{
        {"grid list", &ui::Frm001::CmbNline_Click},
        {"CLEAR", &ui::Frm001::Command4_Click},
        {"CHEK", &ui::Frm001::Command2_Click},
        {"START", &ui::Frm001::Command1_Click},
    }};
    // A grid no row expects, so each caller has to draw its own.
    constexpr qint16 kOtherIntervals = 5;
    for (const auto& [name, redraw] : redrawers) {
        w.figure().SUB_MKLINE(kOtherIntervals);
        QVERIFY_THROWS_NO_EXCEPTION((w.*redraw)());
        QCOMPARE(w.CmbNline->currentText(), text);
        const Grid grid = gridOn(w);
        QVERIFY2(grid.across == bandsFor(lines) && grid.down == bandsFor(lines) && grid.strays == 0, name);
    }
}

// Guards against typed text reaching the grid through the list's own
// matching of the edit text to an entry: only picking an entry redraws.
void GridTest::typingIntoTheListDoesNotRedrawTheGrid()
{
    Game g;
    ui::Frm001& w = g.w();
    const Grid loaded = gridOn(w);
    QCOMPARE(loaded.across, bandsFor(7)); // the grid the window loads with
    QLineEdit* edit = w.CmbNline->lineEdit();
    QVERIFY(edit);
    for (const char* typed : {"3", "11", "0"}) {
        edit->selectAll();
        QTest::keyClicks(edit, QString::fromLatin1(typed));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(w.CmbNline->currentText(), QString::fromLatin1(typed));
        const Grid grid = gridOn(w);
        QCOMPARE(grid.across, loaded.across);
        QCOMPARE(grid.down, loaded.down);
    }
    // The same box still redraws when an entry is picked.
    QVERIFY(chooseFromList(w.CmbNline, QStringLiteral("2")));
    QCOMPARE(gridOn(w).across, bandsFor(2));
}

TORMELL_TEST_MAIN(GridTest)
#include "tst_grid.moc"
