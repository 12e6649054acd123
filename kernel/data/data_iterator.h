#pragma once

#include "qor/kernel/base/export.h"
#include "qor/kernel/data/data_item.h"

namespace QOR {

/// Walks the children of a directory item in order:
///     for (QOR::CDataIterator it(dir); !it.done(); it.next()) use(it.item());
/// A null or non-directory item gives an empty walk. Removing the current child while walking moves the
/// walk past the child that followed it; adding children is seen by the walk. The iterator changes
/// nothing; item() hands out the children with the constness the iterator was built with in mind.
class QOR_EXPORT CDataIterator {
public:
    CDataIterator() noexcept = default;
    explicit CDataIterator(CQorDataItem* dir) noexcept : m_dir(dir) {}
    explicit CDataIterator(const CQorDataItem* dir) noexcept : m_dir(const_cast<CQorDataItem*>(dir)) {}

    /// Starts over at the first child.
    void start() noexcept { m_index = 0; }
    /// Starts over on another directory.
    void start(CQorDataItem* dir) noexcept {
        m_dir = dir;
        m_index = 0;
    }
    bool done() const noexcept;
    void next() noexcept { ++m_index; }
    /// The current child, or null when done.
    CQorDataItem* item() const noexcept;
    /// The current child's key, or null when done.
    const CQorDataKey* key() const noexcept;

private:
    CQorDataItem* m_dir = nullptr;
    int m_index = 0;
};

} // namespace QOR
