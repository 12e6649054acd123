#include "qor/slide/gdx_sld.h"

#include "qor/gdx/gdx_types.h"
#include "qor/kernel/base/status.h"
#include "qor/kernel/data/hatch_prop.h"
#include "qor/kernel/geom/point3d_array.h"
#include "qor/kernel/geom/polyline_clip.h"
#include "qor/slide/slide_library_p.h"
#include "qor/slide/slide_reader_p.h"

namespace QOR {

CGdxSld::CGdxSld() noexcept = default;
CGdxSld::~CGdxSld() = default;

bool CGdxSld::load(const wchar_t* name, const wchar_t* library) noexcept {
    detail::loadSlideBytes(name, library, m_data);
    return hasData(); // an empty slide reads but holds nothing to convert
}

void CGdxSld::load(const void* data, int size) noexcept {
    m_data = detail::copySlideBytes(data, size);
}

bool CGdxSld::convert(CQorGDX* gdx, DWORD flags, const CQorDataItem* parm) noexcept {
    if (!gdx || !hasData()) return false;
    return detail::guarded(false, [&] { return convertRecords(*gdx, flags, parm); });
}

bool CGdxSld::convertRecords(CQorGDX& gdx, DWORD flags, const CQorDataItem* parm) {
    // Getters leave their output alone when the key holds no value of that kind.
    CQorGDX::Path path;
    int single = 0;
    if (parm && !parm->get(path, L"STACK") && parm->get(single, L"STACK")) path.append(single);
    path.append(1);
    CQorMatrix3d mtx;
    if (parm) parm->get(mtx, L"MTX");

    detail::SlideHeader header;
    if (!detail::readSlideHeader(m_data, header)) return false;

    const CQorArrayTempl<double> linetype{1.0};
    const CQorPoint3d origin;
    const CHatchProp hatch;
    const int counter = path.len() - 1;
    CQorColor color;
    detail::SlideRecordReader reader(m_data, header);
    detail::SlideRecord record;
    CQorVertexArray segment;
    CQorPoint3dArray points;
    CQorArrayTempl<CQorVertexArray> regions;
    while (reader.next(record)) {
        switch (record.kind) {
        case detail::SlideRecordKind::Color:
            color.setColorIndex(record.color);
            continue;
        case detail::SlideRecordKind::Vector:
            segment.clear();
            segment.append(CQorPoint3d(record.from.x, record.from.y, 0.0),
                           CQorPoint3d(record.to.x, record.to.y, 0.0));
            gdx.imageVl(path, flags, segment, color, mtx, linetype, 1.0, 0, origin);
            break;
        case detail::SlideRecordKind::Fill: {
            points.clear();
            for (const detail::SlidePoint& p : record.polygon)
                points.append(CQorPoint3d(p.x, p.y, 0.0));
            CQorVertexArray outline;
            outline.fromPoints(points, true);
            if (!g_vl_orient(outline, CQorVector3d::kZAxis)) outline.revert();
            regions.clear();
            regions.append(outline);
            gdx.imageReg(path, flags | GdxItemFill, regions, color, mtx, linetype, 1.0, 0, color, hatch,
                         origin);
            break;
        }
        }
        ++path[counter];
    }
    return path[counter] > 1;
}

} // namespace QOR
