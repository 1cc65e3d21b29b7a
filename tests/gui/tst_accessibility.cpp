// What a screen reader gets: Japanese names and descriptions for the controls
// of the windows, labels read with the values they show, every window
// announced as one, and a result dialog that works from the keyboard alone.
// (The main window's Tab order is covered with the other controls.)

#include "app/title_window.h"
#include "support/checked_round.h"
#include "support/game.h"
#include "support/record_window.h"
#include "support/test_main.h"
#include "ui/result_dialog.h"
#include "widgets/status_bar.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <algorithm>

namespace {

// Kana or kanji: a name a Japanese screen reader can say, not a leftover English one.
bool isJapanese(const QString& text)
{
    constexpr char16_t kKanaFirst = 0x3040;
    constexpr char16_t kKanaLast = 0x30FF;
    constexpr char16_t kKanjiFirst = 0x4E00;
    constexpr char16_t kKanjiLast = 0x9FFF;
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= kKanaFirst && u <= kKanaLast) || (u >= kKanjiFirst && u <= kKanjiLast);
    });
}

// What a screen reader may announce as a control's name: its own, or that of
// the label related to it. On Linux a combo box's own name is its current
// text, so there only the label says what the box is for.
QStringList announcedNames(QAccessibleInterface& control)
{
    QStringList names{control.text(QAccessible::Name)};
    for (const auto& [label, relation] : control.relations(QAccessible::Label))
        names << label->text(QAccessible::Name);
    return names;
}

// A control built directly on QWidget, as a window of the program's own is.
class PlainControl : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;
};

QString announcedName(QWidget& widget)
{
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&widget);
    return accessible ? accessible->text(QAccessible::Name) : QString();
}

// The record window over a round saved, and the main window after the seconds
// count has moved on: every window with values on show.
ui::FrmSCORE& recordWithARoundSaved(Game& game)
{
    QTest::mouseClick(checkARound(game).Command1, Qt::LeftButton);
    game.w().MNU点数->trigger();
    return *recordWindowOf(game.w());
}

// Keys as the window system delivers them: to the window, which hands them to its focus widget.
void press(QWidget& window, Qt::Key key)
{
    QTest::keyClick(window.windowHandle(), key);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

private slots:
    // Guards against a control left unnamed or undescribed, named in English,
    // or named on the widget but not passed on to the accessibility layer.
    // Rows: window/objectName.
    void controlsHaveJapaneseNamesAndDescriptions_data()
    {
        QTest::addColumn<bool>("inDialog");
        QTest::addColumn<QString>("objectName");
        for (const char* name : {"Picture1", "Label5", "Slider1", "Text1", "Label2", "Label3", "Combo1", "Label4",
                                 "CmbNline", "Command4", "Command1", "Command2", "Label1", "Command3", "StatusBar1"})
            QTest::newRow(qPrintable(QStringLiteral("main/") + QLatin1String(name)))
                << false << QString::fromLatin1(name);
        for (const char* name : {"LBLDATA1", "LBLDATA2", "LBLDATA3", "LBLDATA4", "Command1", "Command2"})
            QTest::newRow(qPrintable(QStringLiteral("dialog/") + QLatin1String(name)))
                << true << QString::fromLatin1(name);
    }
    void controlsHaveJapaneseNamesAndDescriptions()
    {
        QFETCH(bool, inDialog);
        QFETCH(QString, objectName);
        Game game;
        QWidget* window = &game.w();
        if (inDialog)
            window = &checkARound(game);
        auto* control = window->findChild<QWidget*>(objectName);
        QVERIFY(control);

        QVERIFY2(isJapanese(control->accessibleName()), qPrintable(control->accessibleName()));
        QVERIFY2(isJapanese(control->accessibleDescription()), qPrintable(control->accessibleDescription()));
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        QVERIFY(accessible);
        QVERIFY2(announcedNames(*accessible).contains(control->accessibleName()),
                 qPrintable(announcedNames(*accessible).join(u'|')));
        QCOMPARE(accessible->text(QAccessible::Description), control->accessibleDescription());
    }

    // Guards against a control added later without a name: whatever Tab can
    // reach in any window must say what it is, the box of a combo box one
    // types into and the area a chart is drawn in among them.
    void everyControlTabReachesIsNamed()
    {
        Game game;
        ui::FrmSCORE& record = recordWithARoundSaved(game);
        ui::FrmMSG& dialog = checkARound(game);
        for (QWidget* window : std::initializer_list<QWidget*>{&game.w(), &dialog, &record}) {
            for (QWidget* child : window->findChildren<QWidget*>()) {
                // A combo box's popup list is a window of its own.
                if (!(child->focusPolicy() & Qt::TabFocus) || child->window() != window)
                    continue;
                QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(child);
                QVERIFY(accessible);
                const QStringList names = announcedNames(*accessible);
                QVERIFY2(std::any_of(names.cbegin(), names.cend(), isJapanese), qPrintable(child->objectName()));
            }
        }
    }

    // Guards against a button Tab passes over in the record window, or one it
    // reaches out of the order the buttons stand in.
    void tabReachesTheRecordWindowsButtonsInOrder()
    {
        Game game;
        ui::FrmSCORE& record = recordWithARoundSaved(game);
        QStringList reached;
        QWidget* widget = record.CmbSETTING;
        do {
            if (qobject_cast<QPushButton*>(widget) && (widget->focusPolicy() & Qt::TabFocus)
                && widget->window() == &record && widget->isVisibleTo(&record))
                reached << widget->objectName();
            widget = widget->nextInFocusChain();
        } while (widget != record.CmbSETTING);
        QCOMPARE(reached, QStringList({"CmdCOACH", "CmdDELETE", "CmdEXPORT", "CmdIMPORT", "CmdBACKUP", "CmdCLOSE"}));
    }

    // Guards against a label read by a name that hides what it shows, as a
    // purpose alone ("経過時間") hides the count beside it. A heading's colon
    // is not read.
    void noLabelsNameHidesItsText()
    {
        Game game;
        TemporaryRecord titleRecord;
        app::Form1 title(game.clock, game.random, titleRecord.store);
        ui::FrmSCORE& record = recordWithARoundSaved(game);
        ui::FrmMSG& dialog = checkARound(game);
        game.w().Timer1_Timer();
        for (QWidget* window : std::initializer_list<QWidget*>{&title, &game.w(), &dialog, &record}) {
            for (QLabel* label : window->findChildren<QLabel*>()) {
                QString text = label->text();
                if (text.endsWith(u'：'))
                    text.chop(1);
                if (!text.isEmpty())
                    QVERIFY2(announcedName(*label).contains(text),
                             qPrintable(label->objectName() + QStringLiteral(": ") + announcedName(*label)));
            }
        }
    }

    // Guards against a value read without what it is or its unit, and a name
    // left behind when the value goes.
    void aValueIsReadAfterWhatItIsAndBeforeItsUnit()
    {
        Game game;
        ui::Frm001& w = game.w();
        ui::FrmMSG& dialog = checkARound(game);
        QCOMPARE(announcedName(*w.Label1), QStringLiteral("経過時間 1 秒"));
        QCOMPARE(announcedName(*dialog.LBLDATA3), QStringLiteral("点数 %1 点").arg(w.SCORE));
        QCOMPARE(announcedName(*dialog.LBLDATA1), QStringLiteral("難易度レベル 1"));
        w.Command4_Click();
        QCOMPARE(announcedName(*w.Label1), QStringLiteral("経過時間"));
    }

    // Guards against a window announced as a filler, a part of something
    // else: a screen reader then says nothing of a window opening.
    void everyWindowIsAnnouncedAsAWindow()
    {
        Game game;
        TemporaryRecord titleRecord;
        app::Form1 title(game.clock, game.random, titleRecord.store);
        ui::FrmSCORE& record = recordWithARoundSaved(game);
        ui::FrmMSG& dialog = checkARound(game);
        const auto role = [](QWidget& window) {
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&window);
            return accessible ? accessible->role() : QAccessible::NoRole;
        };
        QCOMPARE(role(title), QAccessible::Window);
        QCOMPARE(role(game.w()), QAccessible::Window);
        QCOMPARE(role(record), QAccessible::Window);
        QCOMPARE(role(dialog), QAccessible::Dialog);
        // Only windows: a control built on a plain widget stays what Qt makes it.
        PlainControl control(&record);
        QCOMPARE(role(control), QAccessible::Client);
    }

    // Guards against "点数保存" needing the mouse, or touching the figure on the way out.
    void spaceOnSaveClosesTheDialogAndKeepsThePose()
    {
        Game game;
        ui::Frm001& w = game.w();
        const QPointer<ui::FrmMSG> dialog = &checkARound(game);
        const core::PoseCoords player = w.figure().DXY_USR;
        dialog->activateWindow();
        QCOMPARE(dialog->focusWidget(), dialog->Command1);

        press(*dialog, Qt::Key_Space);

        QVERIFY(dialog.isNull());
        QVERIFY(w.figure().DXY_USR == player);
        QVERIFY(!(w.figure().DXY_USR == w.figure().DXY_DEF));
    }

    // Guards against "終了" being out of the keyboard's reach, or Space on it
    // closing the dialog without the reset.
    void tabThenSpaceOnEndResetsTheFigure()
    {
        Game game;
        ui::Frm001& w = game.w();
        const QPointer<ui::FrmMSG> dialog = &checkARound(game);
        dialog->activateWindow();

        press(*dialog, Qt::Key_Tab);
        QCOMPARE(dialog->focusWidget(), dialog->Command2);
        press(*dialog, Qt::Key_Space);

        QVERIFY(dialog.isNull());
        QVERIFY(w.figure().DXY_USR == w.figure().DXY_DEF);
        QCOMPARE(w.StatusBar1->text(), QStringLiteral("READY"));
    }
};

TORMELL_TEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
