#pragma once

#include <memory>

#include "qor/kernel/base/array_templ.h"
#include "qor/kernel/geom/matrix3d.h"
#include "qor/kernel/geom/vertex_array.h"
#include "qor/objlib/export.h"

/// A solid model and its projection with hidden lines.
///
/// A model is a list of bodies, each joined to or cut from the bodies before it, in the order they were
/// added. The add* members only record a body (and check its numbers); solid() builds the boundary
/// representation; project() draws it as seen along a view direction. Model space, drawing units,
/// angles in radians. The modeller behind it stays inside objlib/: nothing of it shows here.
///
/// Nothing throws. A body with a non-finite number, a coordinate or length beyond kMaxCoordinate, or a
/// shape that makes no body (an open profile, a zero radius) is refused with false and not recorded.
class QOR_OBJECTS_EXPORT CQor_Solid {
public:
    /// How a body meets the bodies added before it. The type is fixed, so any other value (read from a
    /// file, say) is a defined value that the adders refuse.
    enum Op : int { kJoin, kCut };

    /// Largest coordinate or length accepted, in drawing units.
    static constexpr double kMaxCoordinate = 1e7;
    /// The chords standing for a curve that is neither a line nor a circle deviate from it by at most
    /// this fraction of the model's bounding-box diagonal.
    static constexpr double kChordRatio = 5e-4;

    CQor_Solid();
    ~CQor_Solid();
    CQor_Solid(CQor_Solid&&) noexcept;
    CQor_Solid& operator=(CQor_Solid&&) noexcept;
    CQor_Solid(const CQor_Solid&) = delete;
    CQor_Solid& operator=(const CQor_Solid&) = delete;

    /// A prism: the region bounded by profile (a closed, plane polyline; arcs as bulges about its
    /// normal()) swept along extrusion, which must not lie in the profile's plane.
    bool addPrism(const CQorVertexArray& profile, const CQorVector3d& extrusion, Op op = kJoin);
    /// A body of revolution: the region bounded by profile turned by angle (0 < angle <= 2 pi,
    /// right-handed about axis) about the line through axisPoint along axis, which lies in the profile's
    /// plane and does not cross the region.
    bool addRevolution(const CQorVertexArray& profile, const CQorPoint3d& axisPoint, const CQorVector3d& axis,
                       double angle, Op op = kJoin);
    /// A cylinder of radius standing on base, height along axis.
    bool addCylinder(const CQorPoint3d& base, const CQorVector3d& axis, double radius, double height,
                     Op op = kJoin);
    /// A truncated cone: baseRadius at base, topRadius at height along axis. One radius may be 0 (a
    /// point, as at the tip of a drill); equal radii make a cylinder.
    bool addCone(const CQorPoint3d& base, const CQorVector3d& axis, double baseRadius, double topRadius,
                 double height, Op op = kJoin);

    /// The built model of other, moved by placement (rigid: orthonormal axes, no mirroring), as one body.
    /// False when other is not built or placement is not rigid. Assemblies place their elements this way:
    /// an element's own cuts (its drillings) stay within it.
    bool addSolid(const CQor_Solid& other, const CQorMatrix3d& placement, Op op = kJoin);

    /// Number of bodies recorded.
    int bodyCount() const noexcept;
    /// Forgets the bodies and the built model.
    void clear() noexcept;

    /// Builds the model: the joined bodies fused, the cut bodies removed, in order (a cut with nothing
    /// before it removes nothing). False when there is no join body, when the modeller fails, or when
    /// nothing is left.
    bool solid() noexcept;
    /// True after a successful solid(), until the bodies change.
    bool isSolid() const noexcept;
    /// Bounding box of the built model (may be slightly larger than exact). False when not built.
    bool extents(CQorPoint3d& min, CQorPoint3d& max) const noexcept;

    /// Projects the built model with hidden-line removal and replaces visible and hidden by its edges.
    ///
    /// view takes view coordinates to model coordinates (CQorMatrix3d::setCoordSystem(origin, x, y, z)):
    /// the eye looks from +z of the view towards -z. Its axes must be orthogonal and of one length (a
    /// uniform scale; a mirroring view is allowed). The edges come back in view coordinates with z = 0:
    /// one polyline per edge piece; straight edges as one straight vertex; circles seen face on as arcs
    /// (bulge about +Z; a full circle as two half circles); other curves (ellipses, splines) as chords
    /// within kChordRatio of the model's size. The polylines of hidden carry isHidden(); edge() is -1.
    ///
    /// flag: true adds the smooth edges, where two faces meet tangentially; false gives only the sharp
    /// edges and the silhouettes. type: 1 exact hidden-line removal; 0 no removal (every edge and
    /// silhouette is visible, hidden stays empty). False, with both arrays empty, when the model is not
    /// built, view is not such a matrix, type is unknown or the modeller fails.
    bool project(const CQorMatrix3d& view, bool flag, CQorArrayTempl<CQorVertexArrayEx>& visible,
                 CQorArrayTempl<CQorVertexArrayEx>& hidden, int type) const noexcept;

private:
    struct Impl;
    /// The state, made anew after a move left this object empty.
    Impl& state();
    std::unique_ptr<Impl> m_impl;
};
