#pragma once

// Kernel-object inputs of qor-render: an object file (objlib/README.md) drawn by an image generator that
// the program registers by name (apps/shared/generators.h), as a host does at start-up.

#include <string>

class CQorGDX;

/// Opens the object file input (checked against its kind's schema) and the options file (a data tree in
/// its JSON form; empty for none) and draws the object into gdx with the generator registered under
/// generator. Returns -1 when something was drawn; otherwise prints the reason and returns qor-render's
/// exit status: 2 for an unknown generator, 3 for an unreadable or malformed file or an object the
/// generator could not draw.
int drawObjectInput(const std::string& input, const std::string& generator, const std::string& optionsFile,
                    CQorGDX& gdx);
