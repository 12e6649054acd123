#pragma once

// The image generators the programs register by name, as a host does at start-up.

#include <span>

#include "qor/image/registry.h"

struct NamedGenerator {
    const wchar_t* name;
    QOR::GdxImageFcn fcn;
};

/// The generators of qor_objects with their registered names: "BGR" (an assembly), "DRILL" (a drilling),
/// "HOLE" (a hole pattern), "WALL" (walls), "WALL_EDIT" (the wall being edited, as the configuration says),
/// "EXTR" (an extrusion's section), "FSHEET" (a formed sheet or sandwich panel) and "BAR_SURFACE" (a bar
/// element's section, named by the options).
std::span<const NamedGenerator> knownGenerators();

/// True when name is one of knownGenerators().
bool isKnownGenerator(const wchar_t* name);

/// The names of knownGenerators() for messages.
const char* knownGeneratorNames();

/// Registers knownGenerators() under their names and installs the default host's object image, which
/// draws drillings handed to the host with the solid modeller.
void registerGenerators();
