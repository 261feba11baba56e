// Message classes of a host program and a renderer for them.
#pragma once
#include "LogRenderers.h"
#include <string>

class TPoint : public HierLog::TObject {
    HIERLOG_CLASS(TPoint)
    TPoint(int x = 0, int y = 0) : X(x), Y(y) {}
    int X, Y;
};

class TPoint3 : public TPoint {
    HIERLOG_CLASS(TPoint3)
    TPoint3(int x = 0, int y = 0, int z = 0) : TPoint(x, y), Z(z) {}
    int Z;
};

class TUnrendered : public HierLog::TObject {
    HIERLOG_CLASS(TUnrendered)
};

// "(x, y)"; the renderer's "prefix" option goes before it.
class TPointRenderer : public HierLog::TLogCustomRenderer {
    HIERLOG_CLASS(TPointRenderer)
    std::string Render(HierLog::TObject* message) override {
        auto* point = static_cast<TPoint*>(message);
        return GetOption("prefix") + "(" + std::to_string(point->X) + ", " + std::to_string(point->Y) + ")";
    }
};
