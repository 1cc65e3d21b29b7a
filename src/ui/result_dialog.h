#pragma once
// The result dialog of a check: difficulty, display time, score and elapsed
// time. Modeless; at most one exists, owned by the main window.

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;
class Frm001;

class FrmMSG : public QDialog {
    Q_OBJECT

public:
    explicit FrmMSG(Frm001& owner);

    QLabel* Label1;
    QLabel* LBLDATA1;
    QLabel* Label7;
    QLabel* LBLDATA2;
    QFrame* Line1;
    QLabel* Label3;
    QLabel* Label2;
    QLabel* LBLDATA3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* LBLDATA4;
    QLabel* Label6;
    QPushButton* Command1;
    QPushButton* Command2;

    /// "点数保存": closes the dialog; the main window stays as it is.
    void Command1_Click();
    /// "終了": returns the main window to the ready state and closes the dialog.
    void Command2_Click();

private:
    Frm001& m_owner;
};
