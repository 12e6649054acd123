#pragma once

#include "qor/kernel/base/string.h"
#include "qor/kernel/data/data_item.h"
#include "qor/objlib/export.h"

/// The drawing attributes of a configuration class: the layers and hatch a kind of material is drawn
/// with, such as the gaskets ("DICHT") and the insulation ("DM") of a sandwich panel. A class lives in
/// the configuration under its class key (QOR::getCfgKey: "*DM*"):
///
///   "*DM*": {"PART_CON": "DAEMMUNG", "PART_FILL": "DAEMMUNG", "HPNAME": "INSUL", "HPSCALE": 1.0, "HPANG":
///   0.0}
///
/// The manager copies the class when it is made, under the configuration's lock, so it reads the same
/// values however the configuration changes afterwards. One thread at a time.
class QOR_OBJECTS_EXPORT CQorAttributeMgr {
public:
    /// The attributes of class name ("DM" or "*DM*"); none when the configuration has no such directory.
    explicit CQorAttributeMgr(const wchar_t* name) noexcept;

    /// True when the class was found.
    bool isValid() const noexcept { return m_valid; }

    /// A text or number attribute; false, leaving value alone, when the class lacks it or holds
    /// another kind.
    bool get(CQorString& value, const wchar_t* attribute) const noexcept;
    bool get(double& value, const wchar_t* attribute) const noexcept;

private:
    CQorDataItem m_attributes;
    bool m_valid = false;
};
