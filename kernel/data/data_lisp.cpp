// The LISP (result-buffer) form of data items: CQorDataItem::mkLisp and CQorDataItem::setData.

#include "qor/kernel/base/status.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/lisp_form_p.h"

namespace {

using QOR::mkResbuf;
using QOR::detail::RbBuilder;
using QOR::detail::rbClosing;
using QOR::detail::rbIsPair;
using QOR::detail::rbIsPoint;

// Deepest nesting setData accepts; deeper input is refused rather than risking the stack.
constexpr int kMaxLispDepth = 256;

resbuf* keyResbuf(const CQorDataKey& key) {
    switch (key.type()) {
    case CQorDataKey::kShort:
        return mkResbuf(RTSHORT, key.toInt());
    case CQorDataKey::kHandle:
        return mkResbuf(RTDXF0, key.text());
    default:
        return mkResbuf(RTSTR, key.text());
    }
}

bool writeEntries(RbBuilder& out, const CQorDataItem& dir);

bool writeValue(RbBuilder& out, const CQorDataItem& item) {
    using Kind = CQorDataItem::Kind;
    switch (item.kind()) {
    case Kind::None:
        return out.add(mkResbuf(RTNONE));
    case Kind::Bool: {
        bool v = false;
        item.get(v);
        return out.add(mkResbuf(v ? RTT : RTNIL));
    }
    case Kind::Int: {
        int v = 0;
        item.get(v);
        return out.add(mkResbuf(RTLONG, v));
    }
    case Kind::ULong: {
        unsigned long v = 0;
        item.get(v);
        return out.add(mkResbuf(RTINT64, static_cast<std::int64_t>(v)));
    }
    case Kind::Double: {
        double v = 0;
        item.get(v);
        return out.add(mkResbuf(RTREAL, v));
    }
    case Kind::String: {
        CQorString v;
        item.get(v);
        return out.add(mkResbuf(RTSTR, v.c_str()));
    }
    case Kind::IntArray: {
        CQorArrayTempl<int> v;
        item.get(v);
        if (!out.add(mkResbuf(RTLB))) return false;
        for (int i : v)
            if (!out.add(mkResbuf(RTLONG, i))) return false;
        return out.add(mkResbuf(RTLE));
    }
    case Kind::StringArray: {
        CQorArrayTempl<CQorString> v;
        item.get(v);
        if (!out.add(mkResbuf(RTLB))) return false;
        for (const auto& s : v)
            if (!out.add(mkResbuf(RTSTR, s.c_str()))) return false;
        return out.add(mkResbuf(RTLE));
    }
    case Kind::Point: {
        CQorPoint3d v;
        item.get(v);
        return out.point(v);
    }
    case Kind::PointArray: {
        CQorPoint3dArray v;
        item.get(v);
        if (!out.add(mkResbuf(RTLB))) return false;
        for (const auto& p : v)
            if (!out.point(p)) return false;
        return out.add(mkResbuf(RTLE));
    }
    case Kind::VertexArray: {
        CQorVertexArray v;
        item.get(v);
        return out.vertexArray(v);
    }
    case Kind::VertexArrayList: {
        CQorArrayTempl<CQorVertexArray> v;
        item.get(v);
        if (!out.add(mkResbuf(RTLB))) return false;
        for (const auto& vl : v)
            if (!out.vertexArray(vl)) return false;
        return out.add(mkResbuf(RTLE));
    }
    case Kind::Matrix: {
        CQorMatrix3d v;
        item.get(v);
        return out.matrix(v);
    }
    case Kind::Dir:
        return out.add(mkResbuf(RTLB)) && writeEntries(out, item) && out.add(mkResbuf(RTLE));
    }
    return false;
}

bool writeEntries(RbBuilder& out, const CQorDataItem& dir) {
    const CQorDataDir* d = dir.getDir();
    for (int i = 0; i < d->len(); ++i) {
        const CQorDataItem* child = d->at(i);
        if (!out.add(mkResbuf(RTLB)) || !out.add(keyResbuf(child->getKey())) || !writeValue(out, *child) ||
            !out.add(mkResbuf(RTDOTE)))
            return false;
    }
    return true;
}

// --- Reading.

bool readElement(const resbuf* rb, CQorDataItem& item, int depth);

bool readKey(const resbuf* rb, CQorDataKey& key) {
    if (rb == nullptr) return false;
    const wchar_t* text = rb->resval.rstring != nullptr ? rb->resval.rstring : L"";
    switch (rb->restype) {
    case RTSTR:
        return key.set(CQorDataKey::kText, text);
    case RTDXF0:
        return key.set(CQorDataKey::kHandle, text);
    case RTSHORT:
        return key.set(rb->resval.rint);
    default:
        return false;
    }
}

// Entries from first up to (not including) end, each a dotted pair; end null means the end of the chain.
bool readEntries(const resbuf* first, const resbuf* end, CQorDataItem& dir, int depth) {
    CQorDataDir* d = dir.mkDir();
    if (d == nullptr) return false;
    for (const resbuf* e = first; e != end; e = QOR::rbSkip(e)) {
        if (!rbIsPair(e)) return false;
        const resbuf* close = rbClosing(e);
        CQorDataKey key;
        if (!readKey(e->rbnext, key)) return false;
        const resbuf* value = e->rbnext->rbnext;
        // Exactly one element between the key and the RTDOTE.
        if (value == close || QOR::rbSkip(value) != close) return false;
        CQorDataItem* child = d->makeItem(key);
        if (child == nullptr) return false;
        CQorDataItem fresh;
        if (!readElement(value, fresh, depth + 1)) return false;
        child->takeContent(std::move(fresh));
    }
    return true;
}

// Whether every element of the list [first, end) passes test.
template <class F>
bool allElements(const resbuf* first, const resbuf* end, F test) {
    for (const resbuf* e = first; e != end; e = QOR::rbSkip(e))
        if (e == nullptr || !test(e)) return false;
    return true;
}

bool isRow(const resbuf* e) {
    const resbuf* end = rbClosing(e);
    if (end == nullptr || end->restype != RTLE) return false;
    int n = 0;
    for (const resbuf* r = e->rbnext; r != end; r = r->rbnext, ++n)
        if (r->restype != RTREAL) return false;
    return n == 4;
}

bool readList(const resbuf* lb, const resbuf* end, CQorDataItem& item, int depth) {
    const resbuf* first = lb->rbnext;
    if (first == end || allElements(first, end, rbIsPair)) return readEntries(first, end, item, depth);
    auto typed = [](short type) { return [type](const resbuf* e) { return e->restype == type; }; };
    if (allElements(first, end,
                    [](const resbuf* e) { return e->restype == RTLONG || e->restype == RTSHORT; })) {
        CQorArrayTempl<int> a;
        for (const resbuf* e = first; e != end; e = e->rbnext) {
            int v = 0;
            QOR::fromRb(v, e);
            a.append(v);
        }
        return item.set(a);
    }
    if (allElements(first, end, typed(RTSTR))) {
        CQorArrayTempl<CQorString> a;
        for (const resbuf* e = first; e != end; e = e->rbnext)
            a.append(CQorString(e->resval.rstring != nullptr ? e->resval.rstring : L""));
        return item.set(a);
    }
    if (allElements(first, end, rbIsPoint)) {
        CQorPoint3dArray a;
        for (const resbuf* e = first; e != end; e = e->rbnext) {
            CQorPoint3d p;
            QOR::fromRb(p, e);
            a.append(p);
        }
        return item.set(a);
    }
    int count = 0;
    allElements(first, end, [&](const resbuf*) { return ++count, true; });
    if (count == 4 && allElements(first, end, isRow)) {
        CQorMatrix3d m;
        int r = 0;
        for (const resbuf* e = first; e != end; e = QOR::rbSkip(e), ++r) {
            int c = 0;
            for (const resbuf* v = e->rbnext; v->restype == RTREAL; v = v->rbnext, ++c)
                m.entry[r][c] = v->resval.rreal;
        }
        return item.set(m);
    }
    CQorVertex probe;
    if (allElements(first, end, [&](const resbuf* e) { return QOR::detail::readVertex(e, probe); })) {
        CQorVertexArray vl;
        return QOR::detail::readVertexArray(lb, vl, false) && item.set(vl);
    }
    CQorArrayTempl<CQorVertexArray> list;
    const bool polylines = allElements(first, end, [&](const resbuf* e) {
        CQorVertexArray vl;
        if (!QOR::detail::readVertexArray(e, vl, false)) return false;
        list.append(std::move(vl));
        return true;
    });
    return polylines && item.set(list);
}

bool readElement(const resbuf* rb, CQorDataItem& item, int depth) {
    if (rb == nullptr || depth > kMaxLispDepth) return false;
    switch (rb->restype) {
    case RTNONE:
    case RTVOID:
        return true;
    case RTT:
        return item.set(true);
    case RTNIL:
        return item.set(false);
    case RTSHORT:
        return item.set(int(rb->resval.rint));
    case RTLONG:
        return item.set(int(rb->resval.rlong));
    case RTINT64:
        return item.set(static_cast<unsigned long>(rb->resval.mnInt64));
    case RTREAL:
    case RTANG:
    case RTORINT:
        return item.set(rb->resval.rreal);
    case RTSTR:
        return item.set(rb->resval.rstring);
    case RT3DPOINT:
    case RTPOINT: {
        CQorPoint3d p;
        return QOR::fromRb(p, rb) && item.set(p);
    }
    case RTLB: {
        const resbuf* end = rbClosing(rb);
        return end != nullptr && end->restype == RTLE && readList(rb, end, item, depth);
    }
    default:
        return false;
    }
}

} // namespace

resbuf* CQorDataItem::mkLisp() const noexcept {
    return QOR::detail::guarded<resbuf*>(nullptr, [&]() -> resbuf* {
        RbBuilder out;
        if (isDir() ? !writeEntries(out, *this) : !writeValue(out, *this)) return nullptr;
        return out.release();
    });
}

bool CQorDataItem::setData(const resbuf* rb, int flag) noexcept {
    return QOR::detail::guarded(false, [&] {
        CQorDataItem result;
        bool ok = false;
        if (rb == nullptr || rbIsPair(rb))
            ok = readEntries(rb, nullptr, result, 0);
        else if (QOR::rbSkip(rb) == nullptr)
            ok = readElement(rb, result, 0);
        if (!ok) return QOR::detail::fail(QOR::detail::Status::BadInput), false;
        if (flag == 1) {
            if (!result.isDir()) return false;
            return insert(result, true);
        }
        takeContent(std::move(result));
        return true;
    });
}
