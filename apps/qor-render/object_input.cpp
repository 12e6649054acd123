#include "object_input.h"

#include <cstdio>

#include "qor/gdx/gdx.h"
#include "qor/image/bgr_image.h"
#include "qor/image/drill_image.h"
#include "qor/image/hole_image.h"
#include "qor/image/object_image.h"
#include "qor/image/registry.h"
#include "qor/image/wall_image.h"
#include "qor/kernel/base/string.h"
#include "qor/kernel/data/data_json.h"
#include "qor/kernel/data/dta_file.h"
#include "qor/objlib/object_file.h"

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitInput = 3;

struct Generator {
    const wchar_t* name;
    QOR::GdxImageFcn fcn;
};

/// The wall being edited, as a generator: the wall-edit image takes no options of its own (it reads the
/// configuration's "*WALL_EDIT*") and draws through the generator registered as "WALL".
bool wallEdit(CQorGDX* gdx, QOR::CDtaFilePointer* object, QOR::CDtaFilePointer*) {
    return qor_wall_edit_image(gdx, object);
}

constexpr Generator kGenerators[] = {{L"BGR", qor_gdx_image_bgr},
                                     {L"DRILL", qor_gdx_image_drill},
                                     {L"HOLE", qor_gdx_image_hole},
                                     {L"WALL", qor_gdx_image_wall},
                                     {L"WALL_EDIT", wallEdit}};
constexpr const char* kGeneratorNames = "BGR, DRILL, HOLE, WALL, WALL_EDIT"; // for messages

CQorString wide(const std::string& text) {
    return CQorString::fromUtf8(text.c_str());
}

} // namespace

void registerGenerators() {
    QOR::objectsInit(); // the default host draws drillings handed to it with the solid modeller
    for (const Generator& g : kGenerators)
        QOR::setGdxImageFcn(g.name, g.fcn);
}

int drawObjectInput(const std::string& input, const std::string& generator, const std::string& optionsFile,
                    CQorGDX& gdx) {
    bool known = false;
    for (const Generator& g : kGenerators)
        known = known || wide(generator) == g.name;
    if (!known) {
        std::fprintf(stderr, "qor-render: unknown generator '%s' (known: %s)\n", generator.c_str(),
                     kGeneratorNames);
        return kExitUsage;
    }
    QOR::CDtaFilePointer object;
    CQorString message;
    if (!QOR::objOpen(wide(input).c_str(), QOR::kDtaRead, object, &message)) {
        std::fprintf(stderr, "qor-render: cannot read %s\n", message.toUtf8().c_str());
        return kExitInput;
    }
    QOR::CDtaFilePointer options;
    if (!optionsFile.empty()) {
        options = QOR::dtaOpen(QOR::kDtaFile, QOR::kDtaRead, wide(optionsFile).c_str(), nullptr);
        if (!options) {
            std::fprintf(stderr, "qor-render: cannot read '%s': not a data tree in its JSON form\n",
                         optionsFile.c_str());
            return kExitInput;
        }
    }
    if (!qor_gdx_image(wide(generator).c_str(), &gdx, &object, options ? &options : nullptr)) {
        std::fprintf(stderr, "qor-render: the generator %s cannot draw '%s'\n", generator.c_str(),
                     input.c_str());
        return kExitInput;
    }
    if (gdx.lenGet() == 0) {
        std::fprintf(stderr, "qor-render: the generator %s drew nothing for '%s'\n", generator.c_str(),
                     input.c_str());
        return kExitInput;
    }
    return -1;
}
