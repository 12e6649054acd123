#include "qor/objlib/attribute.h"

#include "qor/kernel/base/status.h"
#include "qor/kernel/data/config.h"

CQorAttributeMgr::CQorAttributeMgr(const wchar_t* name) noexcept {
    m_valid = QOR::detail::guardedAt("CQorAttributeMgr", false, [&] {
        CQorDataKey key;
        const QOR::CCfgLock lock;
        if (!QOR::getCfgKey(key, name)) return false;
        const CQorDataItem* found = QOR::cfg_get(key);
        if (found == nullptr || !found->isDir()) return false;
        m_attributes = *found;
        return true;
    });
}

bool CQorAttributeMgr::get(CQorString& value, const wchar_t* attribute) const noexcept {
    return m_valid && attribute != nullptr && *attribute != 0 && m_attributes.get(value, attribute);
}

bool CQorAttributeMgr::get(double& value, const wchar_t* attribute) const noexcept {
    return m_valid && attribute != nullptr && *attribute != 0 && m_attributes.get(value, attribute);
}
