#include "qor/kernel/data/resbuf.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <cwchar>
#include <new>

#include "qor/kernel/base/status.h"
#include "qor/kernel/data/lisp_form_p.h"

namespace {

bool holdsString(int type) noexcept {
    return type == RTSTR || type == RTDXF0;
}

bool isRealType(int type) noexcept {
    return type == RTREAL || type == RTANG || type == RTORINT;
}

wchar_t* copyString(const wchar_t* text) noexcept {
    if (text == nullptr) text = L"";
    const std::size_t n = std::wcslen(text);
    wchar_t* copy = new (std::nothrow) wchar_t[n + 1];
    if (copy != nullptr) std::wmemcpy(copy, text, n + 1);
    return copy;
}

// Stores a whole number in an integer resbuf when it fits the type's range.
resbuf* makeInteger(int type, std::int64_t value) noexcept {
    if (type == RTSHORT && (value < SHRT_MIN || value > SHRT_MAX)) return nullptr;
    if (type == RTLONG && (value < INT32_MIN || value > INT32_MAX)) return nullptr;
    resbuf* rb = qorNewRb(type);
    if (rb == nullptr) return nullptr;
    if (type == RTSHORT)
        rb->resval.rint = short(value);
    else if (type == RTLONG)
        rb->resval.rlong = std::int32_t(value);
    else
        rb->resval.mnInt64 = value;
    return rb;
}

bool isIntegerType(int type) noexcept {
    return type == RTSHORT || type == RTLONG || type == RTINT64;
}

} // namespace

resbuf* qorNewRb(int type) noexcept {
    resbuf* rb = new (std::nothrow) resbuf{};
    if (rb == nullptr) return nullptr;
    rb->restype = short(type);
    return rb;
}

int qorRelRb(resbuf* rb) noexcept {
    while (rb != nullptr) {
        resbuf* next = rb->rbnext;
        if (holdsString(rb->restype)) delete[] rb->resval.rstring;
        delete rb;
        rb = next;
    }
    return RTNORM;
}

namespace QOR {

resbuf* mkResbuf(int type) noexcept {
    switch (type) {
    case RTLB:
    case RTLE:
    case RTDOTE:
    case RTNIL:
    case RTT:
    case RTVOID:
    case RTNONE:
        return qorNewRb(type);
    default:
        detail::fail(detail::Status::BadInput);
        return nullptr;
    }
}

resbuf* mkResbuf(int type, double value) noexcept {
    if (isRealType(type)) {
        resbuf* rb = qorNewRb(type);
        if (rb != nullptr) rb->resval.rreal = value;
        return rb;
    }
    // 2^63 is the first double past the int64 range; the range check of makeInteger does the rest.
    if (isIntegerType(type) && std::trunc(value) == value && std::fabs(value) < 9223372036854775808.0)
        return makeInteger(type, std::int64_t(value));
    detail::fail(detail::Status::BadInput);
    return nullptr;
}

resbuf* mkResbuf(int type, int value) noexcept {
    return mkResbuf(type, std::int64_t(value));
}

resbuf* mkResbuf(int type, std::int64_t value) noexcept {
    if (isIntegerType(type)) return makeInteger(type, value);
    if (isRealType(type)) return mkResbuf(type, double(value));
    detail::fail(detail::Status::BadInput);
    return nullptr;
}

resbuf* mkResbuf(int type, const wchar_t* text) noexcept {
    if (!holdsString(type)) {
        detail::fail(detail::Status::BadInput);
        return nullptr;
    }
    wchar_t* copy = copyString(text);
    if (copy == nullptr) return nullptr;
    resbuf* rb = qorNewRb(type);
    if (rb == nullptr) {
        delete[] copy;
        return nullptr;
    }
    rb->resval.rstring = copy;
    return rb;
}

resbuf* mkResbuf(int type, const double* xyz) noexcept {
    if (xyz == nullptr || (type != RT3DPOINT && type != RTPOINT)) {
        detail::fail(detail::Status::BadInput);
        return nullptr;
    }
    resbuf* rb = qorNewRb(type);
    if (rb == nullptr) return nullptr;
    rb->resval.rpoint[0] = xyz[0];
    rb->resval.rpoint[1] = xyz[1];
    rb->resval.rpoint[2] = type == RT3DPOINT ? xyz[2] : 0.0;
    return rb;
}

resbuf* rbToList(resbuf* items) noexcept {
    resbuf* begin = qorNewRb(RTLB);
    resbuf* end = qorNewRb(RTLE);
    if (begin == nullptr || end == nullptr) {
        qorRelRb(begin);
        qorRelRb(end);
        qorRelRb(items);
        return nullptr;
    }
    begin->rbnext = items;
    rbLast(begin)->rbnext = end;
    return begin;
}

resbuf* rbAppend(resbuf* head, resbuf* tail) noexcept {
    if (head == nullptr) return tail;
    rbLast(head)->rbnext = tail;
    return head;
}

resbuf* rbLast(resbuf* rb) noexcept {
    if (rb == nullptr) return nullptr;
    while (rb->rbnext != nullptr)
        rb = rb->rbnext;
    return rb;
}

const resbuf* rbSkip(const resbuf* rb) noexcept {
    if (rb == nullptr) return nullptr;
    if (rb->restype != RTLB) return rb->rbnext;
    int depth = 0;
    for (; rb != nullptr; rb = rb->rbnext) {
        if (rb->restype == RTLB)
            ++depth;
        else if (rb->restype == RTLE || rb->restype == RTDOTE) {
            if (--depth == 0) return rb->rbnext;
        }
    }
    return nullptr;
}

resbuf* rbCopy(const resbuf* rb) noexcept {
    resbuf* head = nullptr;
    resbuf* last = nullptr;
    for (; rb != nullptr; rb = rb->rbnext) {
        resbuf* copy =
            holdsString(rb->restype) ? mkResbuf(rb->restype, rb->resval.rstring) : qorNewRb(rb->restype);
        if (copy == nullptr) {
            qorRelRb(head);
            return nullptr;
        }
        if (!holdsString(rb->restype)) copy->resval = rb->resval;
        if (last == nullptr)
            head = copy;
        else
            last->rbnext = copy;
        last = copy;
    }
    return head;
}

bool rbEqual(const resbuf* a, const resbuf* b) noexcept {
    for (; a != nullptr && b != nullptr; a = a->rbnext, b = b->rbnext) {
        if (a->restype != b->restype) return false;
        const int type = a->restype;
        if (holdsString(type)) {
            const wchar_t* sa = a->resval.rstring ? a->resval.rstring : L"";
            const wchar_t* sb = b->resval.rstring ? b->resval.rstring : L"";
            if (std::wcscmp(sa, sb) != 0) return false;
        } else if (isRealType(type)) {
            if (!(a->resval.rreal == b->resval.rreal)) return false;
        } else if (type == RTPOINT || type == RT3DPOINT) {
            for (int i = 0; i < 3; ++i)
                if (!(a->resval.rpoint[i] == b->resval.rpoint[i])) return false;
        } else if (type == RTSHORT) {
            if (a->resval.rint != b->resval.rint) return false;
        } else if (type == RTLONG) {
            if (a->resval.rlong != b->resval.rlong) return false;
        } else if (type == RTINT64) {
            if (a->resval.mnInt64 != b->resval.mnInt64) return false;
        } else if (type == RTENAME || type == RTPICKS) {
            if (a->resval.rlname[0] != b->resval.rlname[0] || a->resval.rlname[1] != b->resval.rlname[1])
                return false;
        }
    }
    return a == nullptr && b == nullptr;
}

bool fromRb(double& value, const resbuf* rb) noexcept {
    if (rb == nullptr) return false;
    if (isRealType(rb->restype))
        value = rb->resval.rreal;
    else if (rb->restype == RTSHORT)
        value = rb->resval.rint;
    else if (rb->restype == RTLONG)
        value = rb->resval.rlong;
    else if (rb->restype == RTINT64)
        value = double(rb->resval.mnInt64);
    else
        return false;
    return true;
}

bool fromRb(int& value, const resbuf* rb) noexcept {
    if (rb == nullptr) return false;
    if (rb->restype == RTSHORT)
        value = rb->resval.rint;
    else if (rb->restype == RTLONG)
        value = rb->resval.rlong;
    else if (rb->restype == RTINT64 && rb->resval.mnInt64 >= INT_MIN && rb->resval.mnInt64 <= INT_MAX)
        value = int(rb->resval.mnInt64);
    else
        return false;
    return true;
}

resbuf* mkResbuf(int type, const CQorPoint3d& point) noexcept {
    const double xyz[3] = {point.x, point.y, point.z};
    return mkResbuf(type, xyz);
}

bool fromRb(CQorString& value, const resbuf* rb) noexcept {
    if (rb == nullptr || !holdsString(rb->restype)) return false;
    CQorString text(rb->resval.rstring != nullptr ? rb->resval.rstring : L"");
    if (text.isNull()) return false;
    value = std::move(text);
    return true;
}

bool fromRb(CQorPoint3d& value, const resbuf* rb) noexcept {
    if (!detail::rbIsPoint(rb)) return false;
    value.set(rb->resval.rpoint[0], rb->resval.rpoint[1],
              rb->restype == RT3DPOINT ? rb->resval.rpoint[2] : 0.0);
    return true;
}

bool fromRb(CQorVertexArray& value, const resbuf* rb) noexcept {
    return detail::guarded(false, [&] {
        CQorVertexArray vl;
        if (!detail::readVertexArray(rb, vl, true)) return false;
        value = std::move(vl);
        return true;
    });
}

namespace {

// A list (or RTNIL) whose elements each pass read; the results are appended to out.
template <class T, class F>
bool readList(const resbuf* rb, CQorArrayTempl<T>& out, F read) {
    if (rb == nullptr) return false;
    if (rb->restype == RTNIL) return true;
    const resbuf* end = detail::rbClosing(rb);
    if (end == nullptr || end->restype != RTLE) return false;
    for (const resbuf* e = rb->rbnext; e != end; e = rbSkip(e)) {
        T item;
        if (e == nullptr || !read(e, item)) return false;
        out.append(std::move(item));
    }
    return true;
}

bool readPolyline(const resbuf* e, CQorVertexArray& vl) {
    return detail::readVertexArray(e, vl, true);
}

} // namespace

bool fromRb(CQorArrayTempl<CQorVertexArray>& value, const resbuf* rb) noexcept {
    return detail::guarded(false, [&] {
        CQorArrayTempl<CQorVertexArray> list;
        if (!readList(rb, list, readPolyline)) return false;
        value = std::move(list);
        return true;
    });
}

bool fromRb(CQorArrayTempl<CQorArrayTempl<CQorVertexArray>>& out, const resbuf* list, int flags) noexcept {
    return detail::guarded(false, [&] {
        CQorArrayTempl<CQorArrayTempl<CQorVertexArray>> groups;
        const bool ok = readList(list, groups, [](const resbuf* e, CQorArrayTempl<CQorVertexArray>& group) {
            return readList(e, group, readPolyline);
        });
        if (!ok) return detail::fail(detail::Status::BadInput), false;
        if ((flags & 1) == 0)
            out = std::move(groups);
        else
            out += groups;
        return true;
    });
}

} // namespace QOR
