#pragma once

// The display-list registry: one process-wide map from positive int keys to display lists that it owns,
// so that code which cannot hold a pointer into this library (host functions evaluated by name) can
// address a display list by number. Created on first use, destroyed with every list still in it when the
// library is unloaded.
//
// Threads: any thread may call these functions; the map is guarded by a mutex. The lists in it are not:
// a list reached through getGdxFromMap is used by one thread at a time, and its key is not removed or
// stored under again while that thread uses it (the pointer then dangles or the list changes under it).

#include "qor/gdx/gdx.h"

class CQorDataItem;

/// The smallest key >= 1 not in the registry. Reserves nothing: two calls without a store in between
/// return the same key, and another thread may store under it first (createGdxInMap takes its key and
/// stores in one step).
QOR_EXPORT int gdxMapKeyNew() noexcept;

/// Stores a copy of gdx under key, replacing (by assignment, in the same node) the list already there.
/// Nothing changes when memory runs out.
QOR_EXPORT void gdxMapSetAt(int key, CQorGDX& gdx) noexcept;

/// Destroys and removes the list under key; false when there is none.
QOR_EXPORT bool gdxMapRemoveAt(int key) noexcept;

/// The list under key, or null. The pointer stays valid until that key is removed; storing under the
/// same key again assigns into the same list.
QOR_EXPORT CQorGDX* getGdxFromMap(int key) noexcept;

/// Creates a configured display list under a new key and returns the key (-1 when it cannot be stored).
/// data (may be null; used only when it is a directory) may give "PDSIZE" and "PDMODE" (ints), "EXTVIEW"
/// (two points: the view box), "MTX" (the projection), "COLOR" (background colour index) with "RGB" (its
/// true colour, 0x00RRGGBB as decimal text) and "TBL" (its colour-book names). What data does not give
/// comes from the configuration "OLV_MENU\COLOR" (PDSIZE, PDMODE, the colour-table slots 1-5 HIGHLIGHT,
/// REFER, AXIS, BASE, AUX, and BACKGROUND), else 0, the identity and default colours.
QOR_EXPORT int createGdxInMap(const CQorDataItem* data) noexcept;
