// The main window's controls: names, kinds, places, contents, fonts, focus
// order and the index ranges of the canvas item arrays.

#include "support/game.h"
#include "support/test_main.h"
#include "toolkit/errors.h"
#include "toolkit/twips.h"
#include "widgets/canvas.h"
#include "widgets/slider.h"
#include "widgets/status_bar.h"

#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

constexpr int kMostGridLines = 11;
constexpr int kSliderSteps = 10;

QStringList itemsOf(const QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

// The focus widget, or the combo box whose line edit holds the focus.
QWidget* focusedControl()
{
    QWidget* focus = QApplication::focusWidget();
    if (focus && qobject_cast<QComboBox*>(focus->parentWidget()))
        return focus->parentWidget();
    return focus;
}

template <class Array> void checkIndexRange(const Array& array, int first, int last)
{
    for (int i = first; i <= last; ++i)
        QCOMPARE(array(i).index(), i);
    QVERIFY_THROWS_EXCEPTION(toolkit::IndexError, array(first - 1));
    QVERIFY_THROWS_EXCEPTION(toolkit::IndexError, array(last + 1));
}

} // namespace

class TestControls : public QObject {
    Q_OBJECT

private slots:
    void controlsHaveTheirNameKindPlaceAndText_data();
    void controlsHaveTheirNameKindPlaceAndText();
    void listsAndRangesOfferTheirChoices();
    void statusBarAndPanelShowJapanese();
    void tabVisitsTheControlsInOrder();
    void resizingTheWindowMovesNoControl();
    void canvasItemArraysCheckTheirIndexRanges();
};

void TestControls::controlsHaveTheirNameKindPlaceAndText_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QRectF>("twips"); // Left, Top, Width, Height
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QString>("shown"); // after load

    const auto row = [](const char* name, const char* kind, QRectF twips, const char* property, const QString& shown) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(kind) << twips << QByteArray(property)
                            << shown;
    };
    row("Picture1", "widgets::Canvas", {0, 0, 6000, 6000}, "", {});
    row("Shape1", "QFrame", {0, 6120, 6015, 615}, "", {});
    row("Label5", "QLabel", {120, 6240, 495, 375}, "text", QStringLiteral("表示時間"));
    row("Slider1", "widgets::Slider", {480, 6240, 1335, 375}, "value", QStringLiteral("5"));
    row("Text1", "QLineEdit", {1800, 6240, 615, 270}, "text", QStringLiteral("0.75"));
    row("Label2", "QLabel", {2400, 6360, 495, 255}, "text", QStringLiteral("秒"));
    row("Label3", "QLabel", {2520, 6240, 855, 375}, "text", QStringLiteral("難易度："));
    row("Combo1", "QComboBox", {3360, 6240, 615, 300}, "currentText", QStringLiteral("1"));
    row("Label4", "QLabel", {4080, 6240, 1095, 255}, "text", QStringLiteral("背景ライン数："));
    row("CmbNline", "QComboBox", {5160, 6240, 615, 300}, "currentText", QStringLiteral("7"));
    row("Command4", "QPushButton", {480, 6960, 1095, 375}, "text", QStringLiteral("CLEAR"));
    row("Command1", "QPushButton", {1560, 6960, 1095, 375}, "text", QStringLiteral("START"));
    row("Command2", "QPushButton", {2640, 6960, 1215, 375}, "text", QStringLiteral("CHEK"));
    row("Label1", "QLabel", {3960, 6960, 615, 255}, "text", QString());
    row("Command3", "QPushButton", {4800, 6960, 1215, 375}, "text", QStringLiteral("END"));
}

// Guards the panel's layout and contents: a control missing, of the wrong
// kind, off its place or with the wrong caption.
void TestControls::controlsHaveTheirNameKindPlaceAndText()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QRectF, twips);
    QFETCH(QByteArray, property);
    QFETCH(QString, shown);

    Game game;
    auto* control = game.w().centralWidget()->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
    QVERIFY(control);
    QVERIFY2(control->inherits(kind.toLatin1()), control->metaObject()->className());
    const QRect pixels(
        QRectF(twips.topLeft() / toolkit::kTwipsPerPixel, twips.size() / toolkit::kTwipsPerPixel).toRect());
    QCOMPARE(control->geometry(), pixels);
    if (!property.isEmpty())
        QCOMPARE(control->property(property).toString(), shown);
}

// Guards the choices the player has: difficulty 1..3 only, grid 0..11 typed or
// picked, display time 0..10 steps.
void TestControls::listsAndRangesOfferTheirChoices()
{
    Game game;
    ui::Frm001& w = game.w();
    QCOMPARE(itemsOf(w.Combo1), (QStringList {"1", "2", "3"}));
    QVERIFY(!w.Combo1->isEditable());
    QStringList lines;
    for (int n = 0; n <= kMostGridLines; ++n)
        lines << QString::number(n);
    QCOMPARE(itemsOf(w.CmbNline), lines);
    QVERIFY(w.CmbNline->isEditable());
    QCOMPARE(w.Slider1->minimum(), 0);
    QCOMPARE(w.Slider1->maximum(), kSliderSteps);
    QCOMPARE(w.Slider1->value(), 5);
}

// Guards the Japanese texts: on a machine without the preferred fonts they
// must fall back to an installed face that has the glyphs, not boxes.
void TestControls::statusBarAndPanelShowJapanese()
{
    Game game;
    ui::Frm001& w = game.w();
    auto* statusText = w.StatusBar1->findChild<QLabel*>(QStringLiteral("text"));
    QVERIFY(statusText);
    for (const QWidget* widget : std::initializer_list<const QWidget*> {statusText, w.Label4, w.Command1}) {
        const QFont font = widget->font();
        QVERIFY(!QFontInfo(font).family().isEmpty());
        QVERIFY2(QFontMetrics(font).inFont(u'ゴ'), qPrintable(QFontInfo(font).family()));
        QVERIFY(QFontMetrics(font).inFont(u'難'));
    }
}

// Guards keyboard use: Tab walks the nine controls in their order and back to
// the canvas, never stopping on a label or the status bar.
void TestControls::tabVisitsTheControlsInOrder()
{
    Game game;
    ui::Frm001& w = game.w();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));

    const QList<QWidget*> order {w.Picture1, w.Command1, w.Text1, w.Command2, w.Command3, w.Slider1, w.Combo1,
        w.CmbNline, w.Command4, w.Picture1};
    w.Picture1->setFocus(Qt::TabFocusReason);
    QCOMPARE(focusedControl(), w.Picture1);
    for (qsizetype i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(focusedControl(), order[i]);
    }
    for (const QLabel* label : w.findChildren<QLabel*>())
        QCOMPARE(label->focusPolicy(), Qt::NoFocus);
    QCOMPARE(w.StatusBar1->focusPolicy(), Qt::NoFocus);
}

// Guards the fixed layout: a bigger or smaller window leaves every control where it was.
void TestControls::resizingTheWindowMovesNoControl()
{
    Game game;
    ui::Frm001& w = game.w();
    const auto controls = w.centralWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    QList<QRect> before;
    for (const QWidget* control : controls)
        before << control->geometry();

    for (const QSize size : {w.size() * 2, w.size() / 2}) {
        w.resize(size);
        QCoreApplication::processEvents();
        for (qsizetype i = 0; i < controls.size(); ++i)
            QCOMPARE(controls[i]->geometry(), before[i]);
    }
}

// Guards the item arrays the handlers index: every index in range reaches its
// own item, one past either end is an error.
void TestControls::canvasItemArraysCheckTheirIndexRanges()
{
    Game game;
    ui::Frm001& w = game.w();
    checkIndexRange(w.figure().LinBG, 0, 24);
    checkIndexRange(w.figure().LinA, 1, 9);
    checkIndexRange(w.figure().LinB, 1, 9);
    checkIndexRange(w.figure().ShpPOINT, 1, 9);
    checkIndexRange(w.figure().ShpEXP, 1, 9);
    checkIndexRange(w.figure().LblPOI, 1, 9);
    checkIndexRange(w.figure().ShpBD, 0, 4);
}

TORMELL_TEST_MAIN(TestControls)
#include "tst_controls.moc"
