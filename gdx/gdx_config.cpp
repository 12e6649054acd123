// The display list's defaults taken from the host (background), the configuration ("OLV_MENU\COLOR") and,
// for lists created in the registry, from a data item.

#include "qor/gdx/gdx_config_p.h"
#include "qor/gdx/registry.h"
#include "qor/gdx/registry_p.h"
#include "qor/kernel/base/numbers.h"
#include "qor/kernel/base/status.h"
#include "qor/kernel/data/config.h"
#include "qor/kernel/data/data_color.h"
#include "qor/kernel/host/host_app.h"

#include <utility>

namespace QOR::detail {

bool readColorEntry(const CQorDataItem* entry, CQorColor& color) {
    color = CQorColor();
    return QOR::dataItemGet(entry, {}, color);
}

const wchar_t* const kColorTableKeys[5] = {L"HIGHLIGHT", L"REFER", L"AXIS", L"BASE", L"AUX"};

} // namespace QOR::detail

CQorGDX::CQorGDX() {
    QOR::detail::guarded(false, [&] {
        m_backColor.setOleColor(QOR::qorAppPtr()->imageBkColor());
        const QOR::CCfgLock lock; // taken after the host's answer: the lock is never held across it
        const CQorDataItem* menu = QOR::cfg_get(L"OLV_MENU\\COLOR");
        CQorColor color;
        if (menu) {
            menu->get(m_pdSize, L"PDSIZE");
            unsigned long mode = 0;
            if (menu->get(mode, L"PDMODE")) m_pdMode = DWORD(mode);
        }
        for (int slot = 1; slot <= 5; ++slot) {
            QOR::detail::readColorEntry(
                menu ? menu->getItem(QOR::detail::kColorTableKeys[slot - 1]) : nullptr, color);
            ColorTabSet(QOR::GdxColorMode(slot), color);
        }
        return true;
    });
}

int createGdxInMap(const CQorDataItem* data) noexcept {
    return QOR::detail::guarded(-1, [&] {
        const bool useData = data && data->isDir();
        const QOR::CCfgLock lock; // the configuration's values below come from one tree
        int pdSize = 0;
        if (!(useData && data->get(pdSize, L"PDSIZE"))) {
            if (const CQorDataItem* entry = QOR::cfg_get(L"OLV_MENU\\COLOR\\PDSIZE")) entry->get(pdSize);
        }
        int pdMode = 0;
        if (!(useData && data->get(pdMode, L"PDMODE"))) {
            if (const CQorDataItem* entry = QOR::cfg_get(L"OLV_MENU\\COLOR\\PDMODE")) entry->get(pdMode);
        }
        CQorPoint3dArray view;
        CQorMatrix3d proj;
        if (useData) {
            data->get(view, L"EXTVIEW");
            data->get(proj, L"MTX");
        }
        CQorGDX made(CQorColor(0), proj, double(pdSize), DWORD(pdMode), std::as_const(view)[0],
                     std::as_const(view)[1]);
        CQorColor color;
        for (int slot = 1; slot <= 5; ++slot) {
            QOR::detail::readColorEntry(
                QOR::cfg_get(CQorString(L"OLV_MENU\\COLOR\\") + QOR::detail::kColorTableKeys[slot - 1]),
                color);
            made.ColorTabSet(QOR::GdxColorMode(slot), color);
        }
        QOR::detail::readColorEntry(QOR::cfg_get(L"OLV_MENU\\COLOR\\BACKGROUND"), color);
        made.backColorSet(color);
        int index = 0;
        if (useData && data->get(index, L"COLOR")) {
            CQorColor back;
            back.setColorIndex(index);
            CQorString text;
            if (data->get(text, L"RGB")) back.setColor(std::uint32_t(QOR::atoi(text)));
            if (data->get(text, L"TBL")) back.setNames(text, text);
            made.backColorSet(back);
        }
        // Finished before it is stored, under a key found and taken in one step: another thread may
        // create lists at the same time.
        return QOR::detail::gdxMapAdd(made);
    });
}
