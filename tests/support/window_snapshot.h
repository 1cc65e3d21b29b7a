#pragma once
// The main window's state as comparable text: every item of the figure, the
// three poses and what the window shows around them, one line per item or
// pose slot, so that a failed comparison names what changed.

#include "core/figure.h"
#include "toolkit/items.h"
#include "ui/main_window.h"
#include "widgets/canvas.h"
#include "widgets/status_bar.h"

#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <initializer_list>

/// Numbers written so that equal texts mean equal values.
inline QString numbers(std::initializer_list<double> values)
{
    constexpr int kRoundTripDigits = 17;
    QStringList parts;
    for (double value : values)
        parts << QString::number(value, 'g', kRoundTripDigits);
    return parts.join(u' ');
}

inline QString describe(const toolkit::Line& l)
{
    return numbers(
               {l.x1(), l.y1(), l.x2(), l.y2(), double(l.visible()), double(l.borderWidth()), double(l.borderStyle())})
        + u' ' + l.borderColor().name();
}

inline QString describe(const toolkit::Shape& s)
{
    return numbers({s.left(), s.top(), s.width(), s.height(), double(s.visible())}) + u' ' + s.backColor().name() + u' '
        + s.borderColor().name();
}

inline QString describe(const toolkit::Label& l)
{
    return numbers({l.left(), l.top(), l.width(), l.height(), double(l.visible()), double(l.borderStyle())});
}

/// One line per item of an item array, named `name(index)`.
template <class Array> void describeAll(QStringList& out, const char* name, const Array& items)
{
    for (int i = Array::first; i <= Array::last; ++i)
        out << QStringLiteral("%1(%2) %3").arg(QLatin1String(name)).arg(i).arg(describe(items(i)));
}

/// One line per pose slot, the empty slot 0 included.
inline void describePose(QStringList& out, const char* name, const core::PoseAngles& dtt, const core::PoseCoords& dxy)
{
    for (int i = 0; i <= core::kLastSegment; ++i)
        out << QStringLiteral("%1(%2) ").arg(QLatin1String(name)).arg(i)
                + numbers({dtt(i), dxy(0, i), dxy(1, i), dxy(2, i), dxy(3, i), dxy(4, i)});
}

/// Everything a player can see or a later handler reads.
inline QStringList snapshot(const ui::Frm001& w)
{
    const core::Figure& f = w.figure();
    QStringList out;
    describeAll(out, "LinA", f.LinA);
    describeAll(out, "LinB", f.LinB);
    describeAll(out, "LinBG", f.LinBG);
    describeAll(out, "ShpBD", f.ShpBD);
    describeAll(out, "ShpEXP", f.ShpEXP);
    describeAll(out, "ShpPOINT", f.ShpPOINT);
    describeAll(out, "LblPOI", f.LblPOI);
    out << describe(*f.LinBODY) << describe(*f.LinSHOLD) << describe(*f.LinWEST);
    describePose(out, "DEF", f.DTT_DEF, f.DXY_DEF);
    describePose(out, "TGT", f.DTT_TGT, f.DXY_TGT);
    describePose(out, "USR", f.DTT_USR, f.DXY_USR);
    out << w.Text1->text() << w.Label1->text() << w.StatusBar1->text() << w.Picture1->scene().backColor().name()
        << QString::number(w.Timer1.interval()) << QString::number(w.SEC_CNT);
    return out;
}
