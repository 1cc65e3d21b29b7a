// The cost of one drag notification end to end: a mouse move delivered to the
// canvas during a drag of the left elbow's handle, the game's handler, and the
// repaint of what the move changed, in processor time. Run once per
// device-pixel ratio (the driver sets QT_SCALE_FACTOR).

#include "core/body.h"
#include "core/figure.h"
#include "exposure.h"
#include "measure.h"
#include "probe_game.h"
#include "toolkit/twips.h"
#include "widgets/canvas.h"

#include <QMouseEvent>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <vector>

namespace {

// The left elbow: an upper limb, so each move also carries the forearm along.
constexpr int kJoint = 2;
constexpr int kWarmUpMoves = 20;
// Event-loop passes to wait for the paint a move asked for before giving up.
constexpr int kMostPassesForAPaint = 50;
constexpr int kMoves = 1000;
// The pointer circles on the canvas, about four pixels per move as a brisk hand does.
// Small enough that the circle stays on the canvas: the elbow sits 148 px from its left edge.
constexpr double kRadiusPixels = 60;
constexpr int kMovesPerTurn = 100;

void send(widgets::Canvas& canvas, QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, at, canvas.mapToGlobal(at), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(&canvas, &event);
}

} // namespace

int main(int argc, char** argv)
{
    bench::ProbeGame game(argc, argv);
    const std::unique_ptr<ui::Frm001> window = game.showMainWindow(bench::kNoDisplayTime);
    window->Command1_Click();
    QCoreApplication::processEvents();

    widgets::Canvas& canvas = *window->Picture1;
    const toolkit::Label& handle = window->figure().LblPOI(kJoint);
    // Where the handle's centre lies on the canvas widget, inside its frame.
    const auto handleCentre = [&canvas, &handle] {
        return canvas.contentsRect().topLeft()
            + toolkit::pixelPoint(handle.left() + core::kHandleHalf, handle.top() + core::kHandleHalf);
    };
    const QPointF grab = handleCentre();
    send(canvas, QEvent::MouseButtonPress, grab, Qt::LeftButton, Qt::LeftButton);
    if (canvas.draggedLabel() != &handle) {
        std::fputs("the press did not start a drag of the handle\n", stderr);
        return EXIT_FAILURE;
    }

    // The circle passes through the grab point, so the first move is a small one.
    const QPointF centre = grab - QPointF(kRadiusPixels, 0);
    const bench::PaintCounter canvasPaints(canvas);
    std::vector<double> samples;
    QPointF at = grab;
    for (int move = 1; move <= kWarmUpMoves + kMoves; ++move) {
        const double angle = 2 * std::numbers::pi * move / kMovesPerTurn;
        at = centre + kRadiusPixels * QPointF(std::cos(angle), std::sin(angle));
        const int paintsBefore = canvasPaints.count();
        // Qt paints at its next frame, which may lie a few milliseconds ahead;
        // the cost is the processor time spent, not the wait for that frame.
        const double cpuBefore = bench::cpuSeconds();
        send(canvas, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
        for (int pass = 0; pass < kMostPassesForAPaint && canvasPaints.count() == paintsBefore; ++pass)
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        const double micros = (bench::cpuSeconds() - cpuBefore) * 1e6;
        if (canvasPaints.count() == paintsBefore) {
            std::fputs("a timed move did not repaint the canvas\n", stderr);
            return EXIT_FAILURE;
        }
        if (move > kWarmUpMoves)
            samples.push_back(micros);
    }
    send(canvas, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);

    // Every move must have reached the handler: the handle ends under the pointer.
    const QPointF followed = handleCentre();
    constexpr double kTolerancePixels = 1;
    if (window->POI_SEL != kJoint || std::abs(followed.x() - at.x()) > kTolerancePixels
        || std::abs(followed.y() - at.y()) > kTolerancePixels) {
        std::fputs("the handle did not follow the pointer\n", stderr);
        return EXIT_FAILURE;
    }

    bench::report("drag_us", bench::summarise(samples));
    bench::report("device_pixel_ratio", canvas.devicePixelRatioF());
    return EXIT_SUCCESS;
}
