#pragma once

// The four view directions of qor-view's View menu, and what each is called where it goes.

enum class ViewDirection { Top, Front, Side, Isometric };

/// The display list's name of the direction (CQorGDX::viewDirectionSet): "P" (plan, from +Z), "S" (from
/// the south, -Y), "O" (from -X, the side European drawings show on the right of the front view) and
/// "SO" (isometric from south-east, (1, -1, 1)).
const wchar_t* listViewName(ViewDirection view);

/// The direction as kernel objects store a view (QOR::NormView: 0 top, 1 front, 2 side, 3 isometric).
int normViewOf(ViewDirection view);

/// The kernel objects' name of the direction (objlib/view_dir.h): "T", "F", "S", "I". Both names of a
/// direction look along the same line.
const wchar_t* objectViewName(ViewDirection view);
