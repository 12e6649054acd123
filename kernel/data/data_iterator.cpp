#include "qor/kernel/data/data_iterator.h"

namespace QOR {

bool CDataIterator::done() const noexcept {
    return item() == nullptr;
}

CQorDataItem* CDataIterator::item() const noexcept {
    if (m_dir == nullptr || m_dir->getDir() == nullptr) return nullptr;
    return m_dir->getDir()->at(m_index);
}

const CQorDataKey* CDataIterator::key() const noexcept {
    const CQorDataItem* current = item();
    return current != nullptr ? &current->getKey() : nullptr;
}

} // namespace QOR
