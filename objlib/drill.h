#pragma once

#include "qor/kernel/base/string.h"
#include "qor/objlib/export.h"

class CQorDataItem;
class CQor_Solid;

// A drilling as a kernel object (the schema is in objlib/README.md). Lengths in drawing units, angles in
// degrees as the file holds them. The drilling starts at the origin and runs down -Z.

namespace QOR {

/// The numbers of a drilling, read and checked.
struct QOR_OBJECTS_EXPORT Drill_st {
    enum Head { kNoHead, kCounterbore, kCountersink };

    double diameter = 0;       ///< "DIA", > 0
    double depth = 0;          ///< "DEPTH", > 0: from the top to where the point begins
    double pointAngle = 118;   ///< "POINT_ANGLE", 0 < angle <= 180; 180 is a flat bottom
    Head head = kNoHead;       ///< "HEAD\TYPE": "BORE" or "SINK"
    double headDiameter = 0;   ///< "HEAD\DIA", > DIA
    double headDepth = 0;      ///< "HEAD\DEPTH" of a counterbore; derived from the angle for a countersink
    double headAngle = 90;     ///< "HEAD\ANGLE" of a countersink, 0 < angle < 180
    bool threaded = false;     ///< a "THREAD" directory is there
    CQorString threadName;     ///< "THREAD\NAME" ("M8"), may be empty
    double threadDiameter = 0; ///< "THREAD\DIA", nominal diameter >= DIA
    double threadPitch = 0;    ///< "THREAD\PITCH", > 0
    double threadDepth = 0;    ///< "THREAD\DEPTH", 0 < depth <= DEPTH

    /// The depth of the tip below DEPTH (0 for a flat bottom).
    double tipLength() const noexcept;
};

/// Reads a drilling from its root item. False when a key is missing, of the wrong kind or out of range;
/// badKey (when given) then receives the key's path ("HEAD\DIA") and reason the reason in English.
QOR_OBJECTS_EXPORT bool drillRead(const CQorDataItem* root, Drill_st& drill, CQorString* badKey = nullptr,
                                  CQorString* reason = nullptr) noexcept;

/// Replaces the bodies of solid by the drilling's: the head, the shaft and the point, joined. False,
/// leaving solid alone, when the modeller refuses a body.
QOR_OBJECTS_EXPORT bool drillModel(CQor_Solid& solid, const Drill_st& drill) noexcept;

} // namespace QOR
