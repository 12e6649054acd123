// The matrices of a frame: the scene matrix every unanchored item uses, and the fixed-scale matrix that
// anchored items (symbols, markers) are drawn with so that they keep their size when the view zooms.
#include "qor/render/render_p.h"

namespace QOR::render {

CQorMatrix3d sceneMatrix(const CQorGDX& gdx) {
    return (gdx.zoomMtxGet() * gdx.viewMtxGet()) * gdx.projMtxGet();
}

CQorMatrix3d fixedScaleMatrix(const CQorGDX& gdx, int width, int height) {
    // The scale a unit square would get when fitted into the surface: anchored items keep it whatever
    // the drawing's extents and zoom.
    const CQorPoint3d origin = CQorPoint3d::kOrigin;
    CQorMatrix3d fit = getViewMtx(origin, CQorPoint3d(1.0, 1.0, 0.0), height, width, kFitMargin);
    const double s = fit.axis(0).x;
    CQorMatrix3d scale;
    scale.setToScaling(s, origin);

    CQorMatrix3d flip;
    flip.setCoordSystem(origin + gdx.viewMtxGet().translation(), CQorVector3d::kXAxis, -CQorVector3d::kYAxis,
                        CQorVector3d::kZAxis);

    // Put the model origin where the scene puts it.
    const CQorPoint3d a = (gdx.zoomMtxGet() * gdx.viewMtxGet()) * origin;
    const CQorPoint3d b = (flip * scale) * origin;
    CQorMatrix3d shift;
    shift.setToTranslation(a - b);
    return shift * flip * scale * gdx.projMtxGet();
}

CQorMatrix3d baseMatrix(const Frame& frame, int item) {
    if (!(frame.gdx.flagGet(item) & GdxItemAnchored)) return frame.scene;
    const CQorDisplayItem& it = frame.item(item);
    // Points and texts carry their anchor as the start of their one vertex (the origin without one).
    const bool fromVertex = it.m_type == QorDisplayPt || it.m_type == QorDisplayTxt;
    const CQorPoint3d& anchor = fromVertex ? it.m_vl[0].start : it.m_point;
    // As a vector: the scene's translation already sits in the fixed-scale matrix.
    const CQorVector3d offset = anchor.asVector() * frame.scene;
    CQorMatrix3d shift;
    shift.setToTranslation(offset);
    return shift * frame.fixed;
}

} // namespace QOR::render
