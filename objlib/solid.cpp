#include "qor/objlib/solid.h"

#include <BRepAdaptor_Curve.hxx>
#include <BRepAlgoAPI_Cut.hxx>
#include <BRepAlgoAPI_Fuse.hxx>
#include <BRepBndLib.hxx>
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakeVertex.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepPrimAPI_MakeCone.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRepPrimAPI_MakePrism.hxx>
#include <BRepPrimAPI_MakeRevol.hxx>
#include <Bnd_Box.hxx>
#include <GCPnts_QuasiUniformDeflection.hxx>
#include <GC_MakeArcOfCircle.hxx>
#include <HLRAlgo_Projector.hxx>
#include <HLRBRep_Algo.hxx>
#include <HLRBRep_HLRToShape.hxx>
#include <ShapeUpgrade_UnifySameDomain.hxx>
#include <Standard_Failure.hxx>
#include <TopExp_Explorer.hxx>
#include <TopLoc_Location.hxx>
#include <TopTools_ListOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Shape.hxx>
#include <gp_Ax2.hxx>
#include <gp_Trsf.hxx>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

using Op = CQor_Solid::Op;

/// One recorded body and the shape made of it.
struct Body {
    TopoDS_Shape shape;
    Op op = CQor_Solid::kJoin;
};

/// Runs body; what the modeller throws (Standard_Failure) or the standard library throws becomes
/// onError. Every entry point that calls the modeller goes through here.
template <class R, class F>
R contained(R onError, F&& body) noexcept {
    try {
        return body();
    } catch (const Standard_Failure&) {
    } catch (...) {
    }
    return onError;
}

bool usable(double v) {
    return std::isfinite(v) && std::abs(v) <= CQor_Solid::kMaxCoordinate;
}
bool usable(const CQorPoint3d& p) {
    return usable(p.x) && usable(p.y) && usable(p.z);
}
bool usable(const CQorVector3d& v) {
    return usable(v.x) && usable(v.y) && usable(v.z);
}

gp_Pnt toPnt(const CQorPoint3d& p) {
    return {p.x, p.y, p.z};
}

/// A unit direction, or false for a zero or unusable vector.
bool toDir(const CQorVector3d& v, gp_Dir& dir) {
    if (!usable(v)) return false;
    const double length = v.abs();
    if (!(length > 1e-12)) return false;
    dir = gp_Dir(v.x / length, v.y / length, v.z / length);
    return true;
}

/// The face bounded by a closed plane polyline: one edge per vertex of non-zero length, arcs through
/// their middle point, consecutive edges sharing one modeller vertex so that the wire is closed by
/// construction. Null when the polyline is not closed, not plane or has unusable coordinates.
TopoDS_Face profileFace(const CQorVertexArray& profile) {
    if (!profile.isClosed()) return {};
    std::vector<const CQorVertex*> pieces;
    for (const CQorVertex& vx : profile) {
        if (!usable(vx.start) || !usable(vx.end) || !std::isfinite(vx.bulge)) return {};
        if (!vx.isZeroLength()) pieces.push_back(&vx);
    }
    if (pieces.size() < 2 && !(pieces.size() == 1 && pieces[0]->isArc())) return {};
    const CQorVector3d normal = profile.normal();
    std::vector<TopoDS_Vertex> corners;
    corners.reserve(pieces.size());
    for (const CQorVertex* vx : pieces)
        corners.push_back(BRepBuilderAPI_MakeVertex(toPnt(vx->start)));
    BRepBuilderAPI_MakeWire wire;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const CQorVertex& vx = *pieces[i];
        const TopoDS_Vertex& from = corners[i];
        const TopoDS_Vertex& to = corners[(i + 1) % corners.size()];
        TopoDS_Edge edge;
        if (vx.isArc()) {
            if (pieces.size() == 1) return {}; // a closed single arc is no circle: its ends coincide
            GC_MakeArcOfCircle arc(toPnt(vx.start), toPnt(vx.mid(normal)), toPnt(vx.end));
            if (!arc.IsDone()) return {};
            BRepBuilderAPI_MakeEdge make(arc.Value(), from, to);
            if (!make.IsDone()) return {};
            edge = make.Edge();
        } else {
            BRepBuilderAPI_MakeEdge make(from, to);
            if (!make.IsDone()) return {};
            edge = make.Edge();
        }
        wire.Add(edge);
        if (!wire.IsDone()) return {};
    }
    BRepBuilderAPI_MakeFace face(wire.Wire(), Standard_True);
    if (!face.IsDone()) return {};
    return face.Face();
}

bool hasSolid(const TopoDS_Shape& shape) {
    return !shape.IsNull() && TopExp_Explorer(shape, TopAbs_SOLID).More();
}

/// Fuses or cuts a group of tools in one operation; null on failure.
TopoDS_Shape combine(const TopoDS_Shape& base, const TopTools_ListOfShape& tools, Op op) {
    TopTools_ListOfShape arguments;
    arguments.Append(base);
    if (op == CQor_Solid::kCut) {
        BRepAlgoAPI_Cut cut;
        cut.SetArguments(arguments);
        cut.SetTools(tools);
        cut.Build();
        if (!cut.IsDone() || cut.HasErrors()) return {};
        return cut.Shape();
    }
    BRepAlgoAPI_Fuse fuse;
    fuse.SetArguments(arguments);
    fuse.SetTools(tools);
    fuse.Build();
    if (!fuse.IsDone() || fuse.HasErrors()) return {};
    // Fusing leaves the seams where the bodies touched; faces on one surface become one again.
    ShapeUpgrade_UnifySameDomain unify(fuse.Shape(), Standard_True, Standard_True, Standard_False);
    unify.Build();
    return unify.Shape();
}

/// The projection frame of a view matrix: its origin, unit z (towards the eye) and x, its scale and
/// whether it mirrors. False when the axes are not orthogonal and of one length.
struct ViewFrame {
    gp_Ax2 axes;
    double scale = 1.0;
    bool mirrored = false;
};

bool viewFrame(const CQorMatrix3d& view, ViewFrame& frame) {
    const CQorVector3d x = view.axis(0), y = view.axis(1), z = view.axis(2);
    const CQorPoint3d origin = CQorPoint3d::kOrigin + view.axis(3);
    if (!usable(x) || !usable(y) || !usable(z) || !usable(origin)) return false;
    const double sx = x.abs(), sy = y.abs(), sz = z.abs();
    if (!(sx > 1e-12)) return false;
    constexpr double kRel = 1e-9;
    if (std::abs(sx - sy) > kRel * sx || std::abs(sx - sz) > kRel * sx) return false;
    const double square = sx * sx;
    if (std::abs(x.dot(y)) > kRel * square || std::abs(x.dot(z)) > kRel * square ||
        std::abs(y.dot(z)) > kRel * square)
        return false;
    frame.scale = sx;
    frame.mirrored = (x * y).dot(z) < 0;
    frame.axes = gp_Ax2(toPnt(origin), gp_Dir(z.x, z.y, z.z), gp_Dir(x.x, x.y, x.z));
    return true;
}

/// Turns one projected edge (lying in the projection plane, coordinates along the frame's x and y)
/// into a polyline in view coordinates.
CQorVertexArrayEx edgePolyline(const TopoDS_Edge& edge, const ViewFrame& frame, double deflection,
                               bool hidden) {
    BRepAdaptor_Curve curve(edge);
    const double first = curve.FirstParameter(), last = curve.LastParameter();
    const double ySign = frame.mirrored ? -1.0 : 1.0;
    auto at = [&](double t) {
        const gp_Pnt p = curve.Value(t);
        return CQorPoint3d(p.X() / frame.scale, ySign * p.Y() / frame.scale, 0.0);
    };
    CQorVertexArrayEx out;
    out.setHidden(hidden);
    switch (curve.GetType()) {
    case GeomAbs_Line:
        out.append(at(first), at(last));
        break;
    case GeomAbs_Circle: {
        const double sweep = std::abs(last - first);
        const CQorPoint3d start = at(first), middle = at(0.5 * (first + last)), end = at(last);
        // The sense follows from the three points, so mirroring and the curve's own axis need no care.
        const double turn =
            (middle.x - start.x) * (end.y - middle.y) - (middle.y - start.y) * (end.x - middle.x);
        const double sense = turn >= 0 ? 1.0 : -1.0;
        if (sweep >= 2 * std::numbers::pi - 1e-9) {
            out.append(start, middle, sense);
            out.append(middle, start, sense);
        } else {
            out.append(start, end, sense * std::tan(sweep / 4));
        }
        break;
    }
    default: {
        GCPnts_QuasiUniformDeflection points(curve, deflection * frame.scale, first, last);
        if (!points.IsDone() || points.NbPoints() < 2) {
            out.append(at(first), at(last));
            break;
        }
        CQorPoint3d previous = at(points.Parameter(1));
        for (int i = 2; i <= points.NbPoints(); ++i) {
            const CQorPoint3d next = at(points.Parameter(i));
            out.append(previous, next);
            previous = next;
        }
        break;
    }
    }
    return out;
}

void collect(const TopoDS_Shape& compound, const ViewFrame& frame, double deflection, bool hidden,
             CQorArrayTempl<CQorVertexArrayEx>& out) {
    if (compound.IsNull()) return;
    for (TopExp_Explorer it(compound, TopAbs_EDGE); it.More(); it.Next()) {
        CQorVertexArrayEx polyline = edgePolyline(TopoDS::Edge(it.Current()), frame, deflection, hidden);
        if (!polyline.isEmpty()) out.append(std::move(polyline));
    }
}

} // namespace

struct CQor_Solid::Impl {
    std::vector<Body> bodies;
    TopoDS_Shape model; ///< null until solid() succeeds

    bool record(TopoDS_Shape shape, Op op) {
        if (!hasSolid(shape) || (op != kJoin && op != kCut)) return false;
        bodies.push_back({std::move(shape), op});
        model.Nullify();
        return true;
    }
};

CQor_Solid::Impl& CQor_Solid::state() {
    if (!m_impl) m_impl = std::make_unique<Impl>();
    return *m_impl;
}

CQor_Solid::CQor_Solid() : m_impl(std::make_unique<Impl>()) {}
CQor_Solid::~CQor_Solid() = default;
CQor_Solid::CQor_Solid(CQor_Solid&&) noexcept = default;
CQor_Solid& CQor_Solid::operator=(CQor_Solid&&) noexcept = default;

bool CQor_Solid::addPrism(const CQorVertexArray& profile, const CQorVector3d& extrusion, Op op) {
    return contained(false, [&] {
        if (!usable(extrusion)) return false;
        const TopoDS_Face face = profileFace(profile);
        if (face.IsNull()) return false;
        const CQorVector3d normal = profile.normal();
        if (std::abs(normal.dot(extrusion)) <= 1e-9 * std::max(1.0, extrusion.abs())) return false;
        BRepPrimAPI_MakePrism prism(face, gp_Vec(extrusion.x, extrusion.y, extrusion.z));
        if (!prism.IsDone()) return false;
        return state().record(prism.Shape(), op);
    });
}

bool CQor_Solid::addRevolution(const CQorVertexArray& profile, const CQorPoint3d& axisPoint,
                               const CQorVector3d& axis, double angle, Op op) {
    return contained(false, [&] {
        gp_Dir dir;
        if (!usable(axisPoint) || !toDir(axis, dir) || !std::isfinite(angle) || angle <= 0 ||
            angle > 2 * std::numbers::pi + 1e-12)
            return false;
        const TopoDS_Face face = profileFace(profile);
        if (face.IsNull()) return false;
        const gp_Ax1 line(toPnt(axisPoint), dir);
        const bool full = angle >= 2 * std::numbers::pi - 1e-12;
        BRepPrimAPI_MakeRevol revol =
            full ? BRepPrimAPI_MakeRevol(face, line) : BRepPrimAPI_MakeRevol(face, line, angle);
        if (!revol.IsDone()) return false;
        return state().record(revol.Shape(), op);
    });
}

bool CQor_Solid::addCylinder(const CQorPoint3d& base, const CQorVector3d& axis, double radius, double height,
                             Op op) {
    return addCone(base, axis, radius, radius, height, op);
}

bool CQor_Solid::addCone(const CQorPoint3d& base, const CQorVector3d& axis, double baseRadius,
                         double topRadius, double height, Op op) {
    return contained(false, [&] {
        gp_Dir dir;
        if (!usable(base) || !toDir(axis, dir) || !usable(baseRadius) || !usable(topRadius) ||
            !usable(height))
            return false;
        if (baseRadius < 0 || topRadius < 0 || height <= 0 || (baseRadius <= 0 && topRadius <= 0))
            return false;
        const gp_Ax2 frame(toPnt(base), dir);
        if (baseRadius == topRadius) {
            BRepPrimAPI_MakeCylinder cylinder(frame, baseRadius, height);
            return state().record(cylinder.Shape(), op);
        }
        BRepPrimAPI_MakeCone cone(frame, baseRadius, topRadius, height);
        return state().record(cone.Shape(), op);
    });
}

bool CQor_Solid::addSolid(const CQor_Solid& other, const CQorMatrix3d& placement, Op op) {
    if (!other.isSolid()) return false;
    return contained(false, [&] {
        const CQorVector3d x = placement.axis(0), y = placement.axis(1), z = placement.axis(2);
        const CQorVector3d t = placement.translation();
        constexpr double kRel = 1e-9;
        if (!usable(x) || !usable(y) || !usable(z) || !usable(t)) return false;
        if (std::abs(x.abs() - 1) > kRel || std::abs(y.abs() - 1) > kRel || (x * y - z).abs() > 1e-6 ||
            std::abs(x.dot(y)) > kRel)
            return false;
        gp_Trsf move;
        move.SetValues(x.x, y.x, z.x, t.x, x.y, y.y, z.y, t.y, x.z, y.z, z.z, t.z);
        return state().record(other.m_impl->model.Moved(TopLoc_Location(move)), op);
    });
}

int CQor_Solid::bodyCount() const noexcept {
    return m_impl ? int(m_impl->bodies.size()) : 0;
}

void CQor_Solid::clear() noexcept {
    if (!m_impl) return;
    m_impl->bodies.clear();
    m_impl->model.Nullify();
}

bool CQor_Solid::solid() noexcept {
    if (!m_impl) return false;
    m_impl->model.Nullify();
    return contained(false, [&] {
        TopoDS_Shape result;
        std::size_t i = 0;
        const std::vector<Body>& bodies = m_impl->bodies;
        while (i < bodies.size()) {
            // Runs of bodies with the same operation go to the modeller together: one cut of a hundred
            // holes is much faster than a hundred cuts.
            const Op op = bodies[i].op;
            TopTools_ListOfShape tools;
            std::size_t j = i;
            if (result.IsNull() && op == kJoin) result = bodies[j++].shape;
            for (; j < bodies.size() && bodies[j].op == op; ++j)
                tools.Append(bodies[j].shape);
            if (!result.IsNull() && !tools.IsEmpty()) {
                result = combine(result, tools, op);
                if (result.IsNull()) return false;
            }
            i = j;
        }
        if (!hasSolid(result)) return false;
        m_impl->model = result;
        return true;
    });
}

bool CQor_Solid::isSolid() const noexcept {
    return m_impl && !m_impl->model.IsNull();
}

bool CQor_Solid::extents(CQorPoint3d& min, CQorPoint3d& max) const noexcept {
    if (!isSolid()) return false;
    return contained(false, [&] {
        Bnd_Box box;
        BRepBndLib::Add(m_impl->model, box);
        if (box.IsVoid()) return false;
        double x0, y0, z0, x1, y1, z1;
        box.Get(x0, y0, z0, x1, y1, z1);
        min.set(x0, y0, z0);
        max.set(x1, y1, z1);
        return true;
    });
}

bool CQor_Solid::project(const CQorMatrix3d& view, bool flag, CQorArrayTempl<CQorVertexArrayEx>& visible,
                         CQorArrayTempl<CQorVertexArrayEx>& hidden, int type) const noexcept {
    visible.clear();
    hidden.clear();
    if (!isSolid() || (type != 0 && type != 1)) return false;
    const bool ok = contained(false, [&] {
        ViewFrame frame;
        if (!viewFrame(view, frame)) return false;
        Bnd_Box box;
        BRepBndLib::Add(m_impl->model, box);
        const double size = box.IsVoid() ? 1.0 : std::sqrt(box.SquareExtent());
        const double deflection = std::max(size * kChordRatio, 1e-9) / frame.scale;

        Handle(HLRBRep_Algo) algo = new HLRBRep_Algo();
        algo->Add(m_impl->model);
        algo->Projector(HLRAlgo_Projector(frame.axes));
        algo->Update();
        if (type == 1)
            algo->Hide();
        else
            algo->ShowAll();

        HLRBRep_HLRToShape extract(algo);
        std::vector<HLRBRep_TypeOfResultingEdge> kinds{HLRBRep_Sharp, HLRBRep_OutLine};
        if (flag) kinds.push_back(HLRBRep_Rg1Line);
        for (const HLRBRep_TypeOfResultingEdge kind : kinds) {
            collect(extract.CompoundOfEdges(kind, Standard_True, Standard_False), frame, deflection, false,
                    visible);
            if (type == 1)
                collect(extract.CompoundOfEdges(kind, Standard_False, Standard_False), frame, deflection,
                        true, hidden);
        }
        return true;
    });
    if (!ok) {
        visible.clear();
        hidden.clear();
    }
    return ok;
}
