#include "view_direction.h"

namespace {

struct Names {
    const wchar_t* list;
    int normView;
    const wchar_t* object;
};

// Indexed by ViewDirection.
constexpr Names kNames[] = {{L"P", 0, L"T"}, {L"S", 1, L"F"}, {L"O", 2, L"S"}, {L"SO", 3, L"I"}};

const Names& namesOf(ViewDirection view) {
    return kNames[static_cast<int>(view)];
}

} // namespace

const wchar_t* listViewName(ViewDirection view) {
    return namesOf(view).list;
}

int normViewOf(ViewDirection view) {
    return namesOf(view).normView;
}

const wchar_t* objectViewName(ViewDirection view) {
    return namesOf(view).object;
}
