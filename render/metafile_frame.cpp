// The metafile target: the view fitted to the drawing's extents, every item recorded into an enhanced
// metafile, which goes to a file or onto the clipboard.
#include <algorithm>

#include "qor/kernel/base/status.h"
#include "qor/platform/clipboard.h"
#include "qor/platform/emf/emf_dc.h"
#include "qor/render/render_p.h"

namespace QOR {

namespace {

// A side of 0 still gets a view fitted as for a picture of 320 x 240 (getViewMtx), so only the largest
// sides need bounding here.
int metafileSide(int side) {
    return std::min(side, kMetafileSideLimit);
}

} // namespace

HENHMETAFILE paintToMetafile(CQorGDX* gdx, const wchar_t* path, int width, int height) noexcept {
    if (!gdx) return {};
    width = metafileSide(width);
    height = metafileSide(height);
    return detail::guardedAt("paintToMetafile", HENHMETAFILE{}, [&]() -> HENHMETAFILE {
        CMetaFileDC dc;
        const bool recording = dc.CreateEnhanced(nullptr, path, nullptr, nullptr);
        // The list shows the extents fit afterwards whether or not the metafile could be made, so that a
        // window sharing the list does not depend on the file system.
        CQorPoint3d min, max;
        gdx->extMaxViewGet(min, max);
        gdx->viewMtxSet(getViewMtx(min, max, height, width, render::kFitMargin));
        if (!recording) return {};
        // A picture only part drawn is no picture: the recorder is dropped unclosed, which removes its
        // temporary file and leaves a file at path as it was.
        if (!render::drawFrame(*gdx, dc, width, height, RenderTarget::Metafile)) return {};
        return dc.CloseEnhanced();
    });
}

} // namespace QOR

void refresh(CQorGDX* gdx, const wchar_t* path, int height, int width) noexcept {
    HENHMETAFILE metafile = QOR::paintToMetafile(gdx, path, width, height);
    if (path || !metafile) return; // the file is complete; the handle is released here
    QOR::ClipboardBackend& board = QOR::clipboard();
    if (!board.open()) {
        DeleteEnhMetaFile(metafile);
        return;
    }
    board.empty();
    board.setEnhMetaFile(metafile);
    board.close();
}
