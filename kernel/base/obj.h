#pragma once

#include <cstddef>

#include "qor/kernel/base/export.h"

/// Common base of the library's polymorphic classes. Its class-level new and delete make every such
/// object live on the library's own heap, so an object created on one side of the module boundary may be
/// deleted on the other (on Windows each module can have a heap of its own).
class QOR_EXPORT CQorObj {
public:
    CQorObj() = default;
    CQorObj(const CQorObj&) = default;
    CQorObj& operator=(const CQorObj&) = default;
    virtual ~CQorObj();

    static void* operator new(std::size_t size);
    static void operator delete(void* p) noexcept;
    static void* operator new[](std::size_t size);
    static void operator delete[](void* p) noexcept;
};
