#pragma once
// A figure at rest on a scene of its own, with no window: what the core's
// tests start from.

#include "core/figure.h"
#include "toolkit/scene.h"

struct RestFigure {
    toolkit::Scene scene;
    core::Figure figure{scene, Qt::black};

    RestFigure() { figure.SUB_SETDEFAULT(); }
};
