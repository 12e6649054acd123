#include "qor/kernel/host/material.h"

#include <cwctype>
#include <set>
#include <string>

#include "qor/kernel/base/status.h"
#include "qor/kernel/data/config.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/data_key.h"
#include "qor/kernel/host/material_sources_p.h"
#include "qor/kernel/locale/countries.h"
#include "qor/kernel/locale/label.h"
#include "qor/kernel/locale/messages.h"

namespace {

CQorDataKey nameKey(const wchar_t* name) {
    CQorDataKey key;
    key.set(CQorDataKey::kText, name);
    return key;
}

bool equalsIgnoringCase(const wchar_t* a, const wchar_t* b) noexcept {
    for (; *a && *b; ++a, ++b)
        if (std::towlower(wint_t(*a)) != std::towlower(wint_t(*b))) return false;
    return *a == *b;
}

// The material directory called name in a source: the exact key first, else the first whose name
// differs only in case.
const CQorDataItem* findIn(const CQorDataItem* source, const wchar_t* name) {
    if (!source || !source->isDir()) return nullptr;
    const CQorDataItem* item = source->getItem(nameKey(name));
    if (item && item->isDir()) return item;
    const CQorDataDir* dir = source->getDir();
    for (int i = 0; i < dir->len(); ++i) {
        const CQorDataItem* child = dir->at(i);
        if (child->isDir() && child->getKey().type() == CQorDataKey::kText &&
            equalsIgnoringCase(child->getKey().text(), name))
            return child;
    }
    return nullptr;
}

CQorArrayTempl<CQorString> readNames(const CQorDataItem& material, const wchar_t* key) {
    CQorArrayTempl<CQorString> names;
    material.get(names, key);
    return names;
}

void readProperties(const CQorDataItem& material, QOR::CMatProp& prop) {
    prop.m_name = material.getKey().text();
    material.get(prop.m_label, L"LABEL");
    material.get(prop.m_base, L"BASE");
    prop.m_edges = readNames(material, L"EDGE");
    prop.m_subs = readNames(material, L"SUBS");
    if (const CQorDataItem* phys = material.getItem(L"PHYS"); phys && phys->isDir()) {
        const CQorDataDir* dir = phys->getDir();
        for (int i = 0; i < dir->len(); ++i) {
            double value = 0;
            if (!dir->at(i)->get(value)) continue;
            CQorString name(dir->at(i)->getKey().text());
            prop.m_phys.set(name.makeUpper(), value);
        }
    }
    if (!material.get(prop.m_physKind, L"PHYS_KIND"))
        prop.m_physKind = !prop.m_phys.isEmpty() ? 2 : !prop.m_base.isEmpty() ? 1 : 0;
    if (!material.get(prop.m_edgeKind, L"EDGE_KIND")) prop.m_edgeKind = 0;
}

} // namespace

namespace QOR {

const CQorDataItem* CMatMgr::library() const noexcept {
    return m_fixedSources ? m_library : detail::configMaterialLibrary();
}

const CQorDataItem* CMatMgr::drawing() const noexcept {
    return m_fixedSources ? m_drawing : detail::configDrawingMaterials();
}

const CQorDataItem* CMatMgr::lookUp(const wchar_t* name) const noexcept {
    if (!name || !*name) return nullptr;
    return detail::guarded<const CQorDataItem*>(nullptr, [&] {
        const CQorDataItem* item = findIn(drawing(), name);
        return item ? item : findIn(library(), name);
    });
}

bool CMatMgr::propGet(const wchar_t* name, CMatProp& prop) const noexcept {
    const CCfgLock lock;
    const CQorDataItem* material = lookUp(name);
    if (!material) {
        detail::fail(detail::Status::BadInput);
        return false;
    }
    return detail::guarded(false, [&] {
        CMatProp fresh;
        readProperties(*material, fresh);
        prop = std::move(fresh);
        return true;
    });
}

CQorString CMatMgr::matLabel(const wchar_t* name, const wchar_t* country) const noexcept {
    CQorString label;
    CQorString text;
    {
        const CCfgLock lock;
        const CQorDataItem* material = lookUp(name);
        if (!material || !material->get(label, L"LABEL")) return text;
    }
    // The language asked for, its fallbacks, then German: the language the library is written in.
    const wchar_t* code = country ? country : msgLangSet(nullptr);
    if (label_get(label, text, code)) return text;
    const Country_st* language = countryFind(code);
    for (int hop = 0; language && language->fallback && hop < 4; ++hop) {
        if (label_get(label, text, language->fallback)) return text;
        language = countryFind(language->fallback);
    }
    label_get(label, text, dlCountries()[0].code);
    return text;
}

bool CMatMgr::matDrawAll(CQorArrayTempl<CQorString>& names, bool withSubs) const noexcept {
    const CCfgLock lock;
    return detail::guarded(false, [&] {
        const CQorDataItem* sources[] = {library(), drawing()};
        std::set<std::wstring> subs;
        if (!withSubs) {
            for (const CQorDataItem* source : sources) {
                if (!source || !source->isDir()) continue;
                for (int i = 0; i < source->getDir()->len(); ++i)
                    for (const CQorString& sub : readNames(*source->getDir()->at(i), L"SUBS"))
                        subs.emplace(sub.view());
            }
        }
        CQorArrayTempl<CQorString> found;
        for (const CQorDataItem* source : sources) {
            if (!source || !source->isDir()) continue;
            const bool isDrawing = source == sources[1];
            for (int i = 0; i < source->getDir()->len(); ++i) {
                const CQorDataItem* material = source->getDir()->at(i);
                const wchar_t* name = material->getKey().text();
                if (!material->isDir() || subs.count(name)) continue;
                if (isDrawing && findIn(sources[0], name)) continue; // listed with the library already
                found.append(CQorString(name));
            }
        }
        names = std::move(found);
        return true;
    });
}

bool CMatMgr::isShadowMat(const wchar_t* name) const noexcept {
    if (!name || !*name) return false;
    const CCfgLock lock;
    return detail::guarded(false, [&] { return findIn(drawing(), name) && !findIn(library(), name); });
}

} // namespace QOR
