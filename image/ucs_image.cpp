#include "qor/image/ucs_image.h"

#include "qor/gdx/gdx.h"
#include "qor/kernel/base/status.h"
#include "qor/kernel/data/data_item.h"

namespace {

constexpr double kIconTolerance = 0.001;
constexpr double kAxisLength = 0.15;  ///< in the icon's units: the view fits the icon to its place
constexpr double kLabelOffset = 0.19; ///< the label's centre, a little beyond the axis' end
constexpr double kLabelHeight = 0.04;
constexpr double kTextItemHeight = 20.0;
constexpr DWORD kIconFlags = QOR::GdxItemAnchored | (QOR::GdxColorAux << QOR::kGdxColorModeShift);

bool drawUcs(CQorGDX* gdx, const CQorMatrix3d& view) {
    if (gdx == nullptr) return false;
    if (CQorVector3d::tol != kIconTolerance) CQorVector3d::tol = kIconTolerance;
    static constexpr const wchar_t* kNames[3] = {L"X", L"Y", L"Z"};
    const CQorVector3d units[3] = {CQorVector3d::kXAxis, CQorVector3d::kYAxis, CQorVector3d::kZAxis};
    for (int i = 0; i < 3; ++i) {
        if (view.axis(i) == CQorVector3d::kZAxis) continue; // seen end on: no line to draw
        CQorVertexArray line;
        line.append(view * CQorPoint3d::kOrigin, view * (CQorPoint3d::kOrigin + units[i] * kAxisLength));
        gdx->imageVl({}, kIconFlags, line, CQorColor(), CQorMatrix3d(), {1.0}, 1.0, 0, CQorPoint3d::kOrigin);

        CQorDataItem text;
        text.set(kLabelHeight, L"HEIGHT");
        text.set(L"CC", L"ALIGN");
        text.set(kNames[i], L"TEXT");
        CQorMatrix3d at;
        at.setToTranslation(view * (units[i] * kLabelOffset));
        gdx->imageTxt({}, kIconFlags, &text, CQorColor(), at, kTextItemHeight, CQorPoint3d::kOrigin);
    }
    return true;
}

} // namespace

bool qor_gdx_image_ucs(CQorGDX* gdx, const CQorMatrix3d& view) noexcept {
    return QOR::detail::guardedAt("qor_gdx_image_ucs", false, [&] { return drawUcs(gdx, view); });
}
