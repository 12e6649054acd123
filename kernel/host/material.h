#pragma once

#include "qor/kernel/base/array_templ.h"
#include "qor/kernel/base/export.h"
#include "qor/kernel/base/map_templ.h"
#include "qor/kernel/base/string.h"

class CQorDataItem;

// Materials live in data trees: a directory whose children are the materials, each a directory keyed by
// the material's name (one text component, any characters):
//
//     "S235JR_GALV": {
//         "LABEL": "\\de:Stahl S235JR verzinkt\\en:Steel S235JR galvanised",   label (QOR::label_set form)
//         "BASE": "S235JR",                      base material whose physics this one takes
//         "EDGE": {"$strs": ["ABS 0.4", ...]},   edge entries (the edge's variants)
//         "SUBS": {"$strs": ["..."]},            sub-materials, listed below this one
//         "PHYS": {"DENSITY": 7850.0, ...},       physical properties (upper-case names, SI units)
//         "PHYS_KIND": 1,                        0 none, 1 from the base material, 2 own
//         "EDGE_KIND": 0                         0 none, 2 edge material
//     }
//
// Every entry may be left out. Without "PHYS_KIND" the kind follows the data: 2 when "PHYS" holds
// properties, else 1 when "BASE" names a material, else 0. Without "EDGE_KIND" it is 0.
//
// The library is the configuration's "*MATERIAL*" directory (res/config.json bundles a small one); the
// materials of the current drawing are the host's "*QOR_HOST*\MATERIAL" directory. A material of the
// drawing that the library lacks is a shadow material (drawing-only).

namespace QOR {

/// The properties of one material, as CMatMgr::propGet reads them.
class QOR_EXPORT CMatProp {
public:
    CQorString m_name;                       // the material's name
    CQorString m_label;                      // its label, all languages
    CQorString m_base;                       // base material; empty for none
    CQorArrayTempl<CQorString> m_edges;      // edge entries
    CQorArrayTempl<CQorString> m_subs;       // sub-material names
    CQorMapTempl<CQorString, double> m_phys; // physical properties by upper-case name
    int m_physKind = 0;                      // 0 none, 1 taken from the base material, 2 own
    int m_edgeKind = 0;                      // 0 none, 2 edge material
};

/// The material manager: reads materials from the library and from the current drawing.
/// Threads: a manager holds no state of its own beyond its sources, so several threads may use one. A
/// manager on the configuration reads it under its lock (QOR::CCfgLock); one on given directories reads
/// them as they are, so whoever owns those keeps them unchanged meanwhile.
class QOR_EXPORT CMatMgr {
public:
    /// Reads the configuration's library and the host's drawing materials, looked up anew on every call
    /// (so a manager stays right when the configuration is reloaded).
    CMatMgr() noexcept = default;
    /// Reads the given material directories instead; either may be null (no materials). Does not take
    /// ownership: both must outlive the manager.
    CMatMgr(const CQorDataItem* library, const CQorDataItem* drawing) noexcept
        : m_library(library), m_drawing(drawing), m_fixedSources(true) {}

    /// Fills prop with the material's properties (the drawing's definition when both sources have the
    /// material). False, leaving prop unchanged, for a null, empty or unknown name.
    bool propGet(const wchar_t* name, CMatProp& prop) const noexcept;

    /// The material's label in the language `country` (null: the current language), else in that
    /// language's fallbacks (country table), else in German; empty when the material has no such text
    /// or does not exist. A label that is a plain text is that text.
    CQorString matLabel(const wchar_t* name, const wchar_t* country) const noexcept;

    /// Replaces names by the names of the materials: the library's in its order, then the drawing-only
    /// ones in theirs. With `withSubs` false, materials that another material lists as a sub-material
    /// are left out (they appear below their parent); with true every material is named. False only
    /// when memory runs out.
    bool matDrawAll(CQorArrayTempl<CQorString>& names, bool withSubs) const noexcept;

    /// True for a material of the drawing that the library lacks.
    bool isShadowMat(const wchar_t* name) const noexcept;

private:
    const CQorDataItem* library() const noexcept;
    const CQorDataItem* drawing() const noexcept;
    const CQorDataItem* lookUp(const wchar_t* name) const noexcept;

    const CQorDataItem* m_library = nullptr;
    const CQorDataItem* m_drawing = nullptr;
    bool m_fixedSources = false;
};

} // namespace QOR
