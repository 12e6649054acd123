#pragma once

// File-name helpers shared by qor-render's display-list and slide inputs.

#include <filesystem>
#include <string>
#include <string_view>

/// text with its ASCII letters in lower case.
std::string lowerAscii(std::string text);

/// True when text ends in tail, ignoring the letter case of text (tail is given in lower case).
bool endsWithLower(std::string_view text, std::string_view tail);

/// The extension of p in lower case, dot included; empty for none.
std::string lowerExtension(const std::filesystem::path& p);

/// Creates the folders above the file out; a failure shows later, when the file cannot be written.
void makeParentFolders(const std::filesystem::path& out);
