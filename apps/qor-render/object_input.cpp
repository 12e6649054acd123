#include "object_input.h"

#include <cstdio>

#include "shared/generators.h"

#include "qor/gdx/gdx.h"
#include "qor/image/registry.h"
#include "qor/kernel/base/string.h"
#include "qor/kernel/data/data_json.h"
#include "qor/kernel/data/dta_file.h"
#include "qor/objlib/object_file.h"

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitInput = 3;

CQorString wide(const std::string& text) {
    return CQorString::fromUtf8(text.c_str());
}

} // namespace

int drawObjectInput(const std::string& input, const std::string& generator, const std::string& optionsFile,
                    CQorGDX& gdx) {
    if (!isKnownGenerator(wide(generator).c_str())) {
        std::fprintf(stderr, "qor-render: unknown generator '%s' (known: %s)\n", generator.c_str(),
                     knownGeneratorNames());
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
