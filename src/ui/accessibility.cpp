#include "ui/accessibility.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QWidget>

#include <span>

namespace ui {

namespace {

struct Described {
    const char* objectName;
    const char* name;
    const char* description;
    // Set for a label that shows a value: the unit said after it, "" for none.
    const char* valueUnit = nullptr;
};

constexpr Described kMainWindow[] = {
    {"Picture1", "キャンバス", "人形と背景の線。STARTのあと、関節をドラッグしてポーズを再現します"},
    {"Label5", "表示時間", "表示時間の見出し"},
    {"Slider1", "表示時間スライダー", "目標のポーズを表示する時間を0.15秒きざみで0から1.5秒まで決めます"},
    {"Text1", "表示時間（秒）", "目標のポーズを表示する秒数"},
    {"Label2", "秒", "表示時間の単位"},
    {"Label3", "難易度", "難易度の見出し"},
    {"Combo1", "難易度", "動かす関節の数（1から3）"},
    {"Label4", "背景ライン数", "背景ライン数の見出し"},
    {"CmbNline", "背景ライン数", "背景の格子の線の数（0から11）"},
    {"Command4", "クリア", "人形を基本のポーズに戻し、時計を止めます"},
    {"Command1", "スタート", "目標のポーズを表示してラウンドを始めます"},
    {"Command2", "採点", "再現したポーズを目標と比べて採点します"},
    {"Label1", "経過時間", "ポーズの再現にかかっている秒数", "秒"},
    {"Command3", "終了", "ゲームを終了します"},
    {"StatusBar1", "状況", "準備の状況と採点の結果"},
};

constexpr Described kResultDialog[] = {
    {"LBLDATA1", "難易度レベル", "このラウンドの難易度", ""},
    {"LBLDATA2", "表示時間", "目標のポーズを表示した秒数", "秒"},
    {"LBLDATA3", "点数", "0から100点の点数", "点"},
    {"LBLDATA4", "経過時間", "再現にかかった秒数", "秒"},
    {"Command1", "点数保存", "このラウンドを点数の記録に保存して結果を閉じます。人形はそのまま残ります"},
    {"Command2", "終了", "保存せずに結果を閉じ、人形を基本のポーズに戻します"},
    {"LblSAVE", "保存の知らせ",
        "この回を記録するかどうか、点数を保存できなかった理由、おまかせ練習で記録したことと次の表示時間", ""},
};

constexpr Described kScoreRecord[] = {
    {"CmbSETTING", "表示する記録", "難易度と表示時間の組み合わせ、または難易度のすべての表示時間。選んだ記録を表示します"},
    {"LblSUMMARY", "まとめ", "回数、最高点、直近10回の平均点、その難易度の記憶の速さと1週間前からの差", ""},
    {"TabCHART", "グラフの切り替え", "表示中の回の点数と、難易度ごとの記憶の速さの推移を切り替えます"},
    {"ChtSCORE", "点数のグラフ", "保存した回の点数と直近10回の平均の移り変わり"},
    {"ChtSPEED", "記憶の速さのグラフ", "日ごとの記憶の速さ（その日までの直近7日、足りなければ28日の回から）と68%区間"},
    {"ChkCOACH", "おまかせ練習", "オンにすると、採点した回をすべて記録し、次の表示時間をゲームが決めます"},
    {"LblCOACH", "次のおまかせ表示時間", "この難易度で、おまかせ練習が次に選ぶ表示時間", ""},
    {"CmdCOACH", "この難易度と時間で練習", "メイン画面の難易度と表示時間を、おまかせ練習の次の回に合わせます"},
    {"GrdROUND", "記録した回", "日時、難易度、表示時間、点数、経過時間、判定の表。見出しで並べ替えられます"},
    {"PicROUND", "選んだ回のポーズ", "目標のポーズを赤、再現したポーズを黒で表示します"},
    {"LblROUND", "描けない理由", "選んだ回のポーズを描けないときの理由", ""},
    {"CmdDELETE", "削除", "選んだ回を確認のあと記録から削除します"},
    {"CmdEXPORT", "CSVに書き出す", "すべての回をCSVファイルに書き出します"},
    {"CmdIMPORT", "記録を取り込む", "ほかのコンピューターの記録やCSVファイルから、まだ記録にない回を取り込みます"},
    {"CmdBACKUP", "記録を保存", "記録全体の写しをファイルに保存します。ほかのコンピューターで取り込めます"},
    {"CmdCLOSE", "閉じる", "点数の記録を閉じます"},
};

// On Linux the accessibility layer names a combo box by its current text, so a
// screen reader learns what the box is for only from the label related to it.
struct Labelled {
    const char* label;
    const char* control;
};

constexpr Labelled kMainWindowLabels[] = {
    {"Label3", "Combo1"},
    {"Label4", "CmbNline"},
};

// What a value label is and the unit of its value, kept on the label for showValue().
constexpr char kValuePurpose[] = "tormellValuePurpose";
constexpr char kValueUnit[] = "tormellValueUnit";

QString valueName(const QLabel& label)
{
    const QString purpose = label.property(kValuePurpose).toString();
    if (label.text().isEmpty())
        return purpose;
    const QString unit = label.property(kValueUnit).toString();
    return QStringList{purpose, label.text(), unit}.join(u' ').trimmed();
}

void describe(QWidget& window, std::span<const Described> table)
{
    for (const Described& entry : table) {
        auto* control = window.findChild<QWidget*>(QString::fromLatin1(entry.objectName));
        if (!control)
            continue;
        const QString name = QString::fromUtf8(entry.name);
        control->setAccessibleName(name);
        control->setAccessibleDescription(QString::fromUtf8(entry.description));
        // The list a combo box opens, the box one types into and the area a
        // scroll area shows are focused on their own, and say nothing unless
        // named too.
        if (auto* combo = qobject_cast<QComboBox*>(control)) {
            combo->view()->setAccessibleName(name);
            if (QLineEdit* edit = combo->lineEdit())
                edit->setAccessibleName(name);
        }
        if (auto* area = qobject_cast<QAbstractScrollArea*>(control))
            area->viewport()->setAccessibleName(name);
        // So are the buttons that scroll a tab bar too narrow for its tabs.
        if (auto* tabs = qobject_cast<QTabWidget*>(control))
            for (QToolButton* scroll : tabs->tabBar()->findChildren<QToolButton*>())
                scroll->setAccessibleName(name + QStringLiteral("のスクロール"));
        auto* label = qobject_cast<QLabel*>(control);
        if (label && entry.valueUnit) {
            label->setProperty(kValuePurpose, name);
            label->setProperty(kValueUnit, QString::fromUtf8(entry.valueUnit));
            label->setAccessibleName(valueName(*label));
        }
    }
}

} // namespace

void describeMainWindow(QWidget& window)
{
    describe(window, kMainWindow);
    for (const Labelled& pair : kMainWindowLabels) {
        auto* label = window.findChild<QLabel*>(QString::fromLatin1(pair.label));
        auto* control = window.findChild<QWidget*>(QString::fromLatin1(pair.control));
        if (label && control)
            label->setBuddy(control);
    }
}

void describeResultDialog(QWidget& dialog)
{
    describe(dialog, kResultDialog);
}

void describeScoreRecord(QWidget& window)
{
    describe(window, kScoreRecord);
}

void showValue(QLabel& label, const QString& text)
{
    label.setText(text);
    if (label.property(kValuePurpose).isValid())
        label.setAccessibleName(valueName(label));
}

} // namespace ui
