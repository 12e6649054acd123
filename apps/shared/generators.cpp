#include "generators.h"

#include <cwchar>

#include "qor/image/bar_image.h"
#include "qor/image/bgr_image.h"
#include "qor/image/drill_image.h"
#include "qor/image/extr_image.h"
#include "qor/image/fsheet_image.h"
#include "qor/image/hole_image.h"
#include "qor/image/object_image.h"
#include "qor/image/wall_image.h"

namespace {

/// The wall being edited, as a generator: the wall-edit image takes no options of its own (it reads the
/// configuration's "*WALL_EDIT*") and draws through the generator registered as "WALL".
bool wallEdit(CQorGDX* gdx, QOR::CDtaFilePointer* object, QOR::CDtaFilePointer*) {
    return qor_wall_edit_image(gdx, object);
}

constexpr NamedGenerator kGenerators[] = {
    {L"BGR", qor_gdx_image_bgr},       {L"DRILL", qor_gdx_image_drill},
    {L"HOLE", qor_gdx_image_hole},     {L"WALL", qor_gdx_image_wall},
    {L"WALL_EDIT", wallEdit},          {L"EXTR", qor_gdx_image_extr},
    {L"FSHEET", qor_gdx_image_fsheet}, {L"BAR_SURFACE", qor_gdx_image_bar_surface}};

} // namespace

std::span<const NamedGenerator> knownGenerators() {
    return kGenerators;
}

bool isKnownGenerator(const wchar_t* name) {
    for (const NamedGenerator& g : kGenerators)
        if (name && std::wcscmp(name, g.name) == 0) return true;
    return false;
}

const char* knownGeneratorNames() {
    return "BGR, DRILL, HOLE, WALL, WALL_EDIT, EXTR, FSHEET, BAR_SURFACE";
}

void registerGenerators() {
    QOR::objectsInit();
    for (const NamedGenerator& g : kGenerators)
        QOR::setGdxImageFcn(g.name, g.fcn);
}
