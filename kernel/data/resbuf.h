#pragma once

#include <cstdint>

#include "qor/kernel/base/export.h"
#include "qor/kernel/base/string.h"
#include "qor/kernel/geom/vertex_array.h"

// AutoCAD result buffers: a singly linked chain of typed values, the form in which LISP data travels
// between the library and the host's functions. The layout and the result codes are AutoCAD's, so a host
// can hand its own chains over unchanged.
//
// Conventions
//  - A chain is owned by whoever created it and is freed as a whole with qorRelRb; strings inside it
//    (RTSTR, RTDXF0) are owned by their resbuf.
//  - A list is RTLB, its elements, RTLE. A dotted pair (a . b) is RTLB, a, b, RTDOTE: the RTDOTE takes the
//    place of the RTLE. The empty list is RTNIL; the LISP truth value is RTT.
//  - "Element" below means one value or one complete list (from its RTLB up to its RTLE or RTDOTE).
//  - Geometry travels as lists: a point is one RT3DPOINT (RTPOINT is read with z = 0); a vertex is
//    (start end bulge), two points and an RTREAL; a polyline (CQorVertexArray) is a list of vertices;
//    a list of polylines is a list of such lists. Readers also take a polyline written as a list of points
//    (straight vertices from each point to the next), a vertex without its bulge (straight), and RTNIL for
//    an empty list.

// Result types (resbuf::restype).
constexpr short RTNONE = 5000;    ///< no value
constexpr short RTREAL = 5001;    ///< double, resval.rreal
constexpr short RTPOINT = 5002;   ///< 2D point, resval.rpoint[0..1]
constexpr short RTSHORT = 5003;   ///< 16-bit integer, resval.rint
constexpr short RTANG = 5004;     ///< angle in radians, resval.rreal
constexpr short RTSTR = 5005;     ///< string, resval.rstring
constexpr short RTENAME = 5006;   ///< entity name, resval.rlname
constexpr short RTPICKS = 5007;   ///< selection set name, resval.rlname
constexpr short RTORINT = 5008;   ///< orientation in radians, resval.rreal
constexpr short RT3DPOINT = 5009; ///< 3D point, resval.rpoint
constexpr short RTLONG = 5010;    ///< 32-bit integer, resval.rlong
constexpr short RTVOID = 5014;    ///< blank symbol
constexpr short RTLB = 5016;      ///< list begin
constexpr short RTLE = 5017;      ///< list end
constexpr short RTDOTE = 5018;    ///< end of a dotted pair
constexpr short RTNIL = 5019;     ///< nil, the empty list
constexpr short RTDXF0 = 5020;    ///< DXF group 0 text, resval.rstring
constexpr short RTT = 5021;       ///< T, the truth value
constexpr short RTINT64 = 5031;   ///< 64-bit integer, resval.mnInt64

// Status codes of functions that run host code.
constexpr int RTNORM = 5100;   ///< normal completion
constexpr int RTERROR = -5001; ///< the function could not be run (unknown name, bad arguments)
constexpr int RTCAN = -5002;   ///< cancelled by the user
constexpr int RTREJ = -5003;   ///< request rejected
constexpr int RTFAIL = -5004;  ///< the call failed

union resval_u {
    double rreal;
    double rpoint[3];
    short rint;
    wchar_t* rstring;
    std::int64_t rlname[2];
    std::int32_t rlong;
    std::int64_t mnInt64;
};

struct resbuf {
    resbuf* rbnext;
    short restype;
    resval_u resval;
};

/// A new resbuf of the given type with a zero value and no successor; null when out of memory. The caller
/// owns it (qorRelRb).
QOR_EXPORT resbuf* qorNewRb(int type) noexcept;

/// Frees a whole chain with its strings. Null is allowed. Returns RTNORM.
QOR_EXPORT int qorRelRb(resbuf* rb) noexcept;

namespace QOR {

/// One resbuf without a value: list markers, RTNIL, RTT, RTVOID, RTNONE. Null for any other type.
QOR_EXPORT resbuf* mkResbuf(int type) noexcept;
/// One numeric resbuf. Real types (RTREAL, RTANG, RTORINT) take the value as a double; integer types
/// (RTSHORT, RTLONG, RTINT64) take it when it is a whole number within their range. Null otherwise.
QOR_EXPORT resbuf* mkResbuf(int type, double value) noexcept;
QOR_EXPORT resbuf* mkResbuf(int type, int value) noexcept;
QOR_EXPORT resbuf* mkResbuf(int type, std::int64_t value) noexcept;
/// A string resbuf (RTSTR or RTDXF0) holding a copy of text; null text gives the empty string.
QOR_EXPORT resbuf* mkResbuf(int type, const wchar_t* text) noexcept;
/// A point resbuf: RT3DPOINT takes x, y, z; RTPOINT takes x, y and sets z to 0. Null xyz gives null.
QOR_EXPORT resbuf* mkResbuf(int type, const double* xyz) noexcept;

/// Wraps a chain into one list: RTLB, items, RTLE. Takes ownership of items (null makes the empty list
/// RTLB RTLE). Null when out of memory, with items freed.
QOR_EXPORT resbuf* rbToList(resbuf* items) noexcept;

/// Appends tail to the chain head (head may be null). Takes ownership of tail. Returns the new head.
QOR_EXPORT resbuf* rbAppend(resbuf* head, resbuf* tail) noexcept;

/// The last resbuf of a chain, or null for null.
QOR_EXPORT resbuf* rbLast(resbuf* rb) noexcept;

/// The element after the one that starts at rb: a value's successor, or the resbuf after the RTLE or
/// RTDOTE closing a list. Null at the end of the chain or when a list is not closed.
QOR_EXPORT const resbuf* rbSkip(const resbuf* rb) noexcept;

/// A deep copy of a chain, strings included; null for null or when out of memory.
QOR_EXPORT resbuf* rbCopy(const resbuf* rb) noexcept;

/// Whether two chains hold the same types and values (reals compared exactly, strings by content).
QOR_EXPORT bool rbEqual(const resbuf* a, const resbuf* b) noexcept;

/// A 3D point resbuf (RT3DPOINT, or RTPOINT taking x and y).
QOR_EXPORT resbuf* mkResbuf(int type, const CQorPoint3d& point) noexcept;

/// Reads one number element: RTREAL, RTANG, RTORINT, RTSHORT, RTLONG or RTINT64. False otherwise.
QOR_EXPORT bool fromRb(double& value, const resbuf* rb) noexcept;
/// Reads one integer element: RTSHORT, RTLONG or RTINT64 (the last only within the int range).
QOR_EXPORT bool fromRb(int& value, const resbuf* rb) noexcept;

/// Reads one text element (RTSTR or RTDXF0).
QOR_EXPORT bool fromRb(CQorString& value, const resbuf* rb) noexcept;
/// Reads one point element (RT3DPOINT; RTPOINT with z = 0).
QOR_EXPORT bool fromRb(CQorPoint3d& value, const resbuf* rb) noexcept;
/// Reads the polyline that starts at rb (see the conventions above). value is replaced; on failure it is
/// left unchanged.
QOR_EXPORT bool fromRb(CQorVertexArray& value, const resbuf* rb) noexcept;
/// Reads the list of polylines that starts at rb. value is replaced; on failure it is left unchanged.
QOR_EXPORT bool fromRb(CQorArrayTempl<CQorVertexArray>& value, const resbuf* rb) noexcept;
/// Reads stroke groups: a list of groups, each a list of polylines (RTNIL: no groups). This is what a
/// host's text function answers with: one group per glyph shape, its outline first. flags: 0 replaces
/// the content of out, 1 appends to it. On failure out is left unchanged.
QOR_EXPORT bool fromRb(CQorArrayTempl<CQorArrayTempl<CQorVertexArray>>& out, const resbuf* list,
                       int flags) noexcept;

/// Owns a chain and frees it with qorRelRb.
class QOR_EXPORT CUniqResbuf {
public:
    CUniqResbuf() noexcept = default;
    explicit CUniqResbuf(resbuf* rb) noexcept : m_rb(rb) {}
    CUniqResbuf(const CUniqResbuf&) = delete;
    CUniqResbuf& operator=(const CUniqResbuf&) = delete;
    CUniqResbuf(CUniqResbuf&& other) noexcept : m_rb(other.release()) {}
    CUniqResbuf& operator=(CUniqResbuf&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~CUniqResbuf() { qorRelRb(m_rb); }

    resbuf* get() const noexcept { return m_rb; }
    resbuf* operator->() const noexcept { return m_rb; }
    explicit operator bool() const noexcept { return m_rb != nullptr; }
    /// Gives up ownership without freeing.
    resbuf* release() noexcept {
        resbuf* rb = m_rb;
        m_rb = nullptr;
        return rb;
    }
    /// Frees the chain held and takes rb.
    void reset(resbuf* rb = nullptr) noexcept {
        if (rb == m_rb) return;
        qorRelRb(m_rb);
        m_rb = rb;
    }
    /// Appends a chain at the end of the one held (takes ownership of tail).
    void append(resbuf* tail) noexcept { m_rb = rbAppend(m_rb, tail); }
    /// For functions that fill a resbuf* out-parameter: frees what is held first.
    resbuf*& out() noexcept {
        reset();
        return m_rb;
    }

private:
    resbuf* m_rb = nullptr;
};

} // namespace QOR
