#pragma once

#include <cmath>

#include "qor/kernel/base/string.h"
#include "qor/kernel/data/data_item.h"

namespace QOR::detail {

/// Reads the keys of one object's schema and remembers the first key that breaks it: its path and why.
/// Every read after a failure is skipped, so a caller reads on and checks ok() once.
class SchemaReader {
public:
    explicit SchemaReader(const CQorDataItem* root) : m_root(root) {
        if (root == nullptr || !root->isDir()) fail(L"", L"the object is not a directory");
    }

    bool ok() const noexcept { return m_bad.isEmpty() && m_reason.isEmpty(); }
    const CQorString& badKey() const noexcept { return m_bad; }
    const CQorString& reason() const noexcept { return m_reason; }

    /// True when key is there (any kind).
    bool has(const wchar_t* key) const { return ok() && m_root->getItem(key) != nullptr; }

    /// A finite number in [min, max] (bounds inclusive unless open); fallback when absent and optional.
    double number(const wchar_t* key, bool required, double fallback, double min, double max,
                  bool openMin = false, bool openMax = false) {
        if (!ok()) return fallback;
        const CQorDataItem* item = m_root->getItem(key);
        if (item == nullptr) {
            if (required) fail(key, L"missing");
            return fallback;
        }
        double value = 0;
        if (!item->get(value)) {
            fail(key, L"not a number");
            return fallback;
        }
        if (!std::isfinite(value) || value < min || value > max || (openMin && value == min) ||
            (openMax && value == max)) {
            fail(key, L"out of range");
            return fallback;
        }
        return value;
    }

    /// A text; fallback when absent and optional.
    CQorString text(const wchar_t* key, bool required, const wchar_t* fallback = L"") {
        if (!ok()) return fallback;
        const CQorDataItem* item = m_root->getItem(key);
        if (item == nullptr) {
            if (required) fail(key, L"missing");
            return fallback;
        }
        CQorString value;
        if (!item->get(value)) {
            fail(key, L"not a text");
            return fallback;
        }
        return value;
    }

    /// True when key is absent or a directory; otherwise the schema is broken.
    bool optionalDir(const wchar_t* key) {
        if (!ok()) return false;
        const CQorDataItem* item = m_root->getItem(key);
        if (item == nullptr) return false;
        if (!item->isDir()) fail(key, L"not a directory");
        return ok();
    }

    void fail(const wchar_t* key, const wchar_t* reason) {
        if (!ok()) return;
        m_bad = key;
        m_reason = reason;
    }

private:
    const CQorDataItem* m_root;
    CQorString m_bad;
    CQorString m_reason;
};

} // namespace QOR::detail
