#pragma once
// The stick figure: the rest, target and player pose, and the canvas items
// that show them. No widgets: a window shows the items through a view of the
// scene they live in, and a test can drive the figure with no window at all.
//
// The procedures are the figure's share of the game; the window's handlers
// call them between reading and writing their controls.

#include "core/joints.h"
#include "core/pose.h"
#include "toolkit/item_array.h"
#include "tormell_export.h"

#include <QColor>

#include <utility>

namespace toolkit {
class Scene;
}

namespace core {

class Figure {
public:
    /// Creates the items on `scene` in painting order: grid, target, player,
    /// trunk, discs, handles. The player's lines are drawn in `playerLineColour`,
    /// the system's text colour.
    TORMELL_EXPORT Figure(toolkit::Scene& scene, QColor playerLineColour);
    Figure(const Figure&) = delete;
    Figure& operator=(const Figure&) = delete;

    toolkit::ItemArray<toolkit::Line, 0, 24> LinBG;
    toolkit::ItemArray<toolkit::Line, 1, 9> LinA;
    toolkit::ItemArray<toolkit::Line, 1, 9> LinB;
    toolkit::Line* LinBODY;
    toolkit::Line* LinSHOLD;
    toolkit::Line* LinWEST;
    toolkit::ItemArray<toolkit::Shape, 0, 4> ShpBD;
    toolkit::ItemArray<toolkit::Shape, 1, 9> ShpEXP;
    toolkit::ItemArray<toolkit::Shape, 1, 9> ShpPOINT;
    toolkit::ItemArray<toolkit::Label, 1, 9> LblPOI;

    PoseAngles DTT_DEF;
    PoseAngles DTT_TGT;
    PoseAngles DTT_USR;
    PoseCoords DXY_DEF;
    PoseCoords DXY_TGT;
    PoseCoords DXY_USR;

    /// Slots 1..9 name the nine segment lines of one figure; slot 0 stays empty.
    using LineList = toolkit::CheckedArray<toolkit::Line*, 0, kLastSegment>;
    LineList targetLines() const;
    LineList playerLines() const;

    /// The rest pose: every item of the figure as a fresh round finds it.
    TORMELL_EXPORT void SUB_SETDEFAULT();
    /// Joint markers black.
    void SETCOLOR();
    /// The trunk at its fixed place.
    void SUB_BODPOSI();
    /// With IFLG 1, the coordinates of every segment from its angle, hanging
    /// from the trunk or the segment above; then, with any flag, the lines of
    /// LINEO on those coordinates.
    void SUB_FIXPOSI(const qint16& IFLG, const PoseAngles& DTT, PoseCoords& DXY, const LineList& LINEO);
    /// The background grid: LL lines each way, one every LL-th of the canvas,
    /// the last on its far edge.
    void SUB_MKLINE(const qint16& LL);

    /// Trunk lines and discs in one colour: red while a target shows.
    void setTrunkColour(QColor colour);

    /// START's display: the target in red with its markers, the player's
    /// lines and handles hidden, the joint discs on the target's joints.
    void presentTarget();
    /// START's hand-over: the target hidden, the player's figure laid on the
    /// rest pose with a shown handle on every joint.
    void handOverRestPose();
    /// CHEK's reveal: the target's lines and markers shown beside the player's.
    void revealTarget();

    /// A round played before, as CHEK showed it: the player's pose through
    /// `player`, the target's in red through `target`, the grid of
    /// `gridIntervals`. The trunk and the rest pose are this figure's own.
    TORMELL_EXPORT void showRound(const Joints& target, const Joints& player, qint16 gridIntervals);

    /// A drag over handle i, the pointer at (X, Y) inside it: the handle is
    /// re-centred under the pointer, its joint follows, an elbow or knee
    /// carries the hand or foot.
    void dragOverHandle(int i, float X, float Y);
    /// A drag of handle i over the bare canvas, the pointer at (X, Y).
    void dragOverCanvas(int i, float X, float Y);

private:
    /// Segment coordinates through nine joints: upper segments from the trunk.
    PoseCoords coordsThrough(const Joints& joints) const;
    /// The offset of the carried joint's handle from joint i's handle.
    std::pair<float, float> carryOffset(int i) const;
    /// Puts joint i's line end on (cx, cy) and carries the joint below an
    /// elbow or knee along by (dx, dy).
    void applyJoint(int i, double cx, double cy, float dx, float dy);

    toolkit::Scene& m_scene;
};

} // namespace core
