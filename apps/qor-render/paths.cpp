#include "paths.h"

#include <cctype>
#include <system_error>

std::string lowerAscii(std::string text) {
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool endsWithLower(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() &&
           lowerAscii(std::string(text.substr(text.size() - tail.size()))) == tail;
}

std::string lowerExtension(const std::filesystem::path& p) {
    return lowerAscii(p.extension().string());
}

void makeParentFolders(const std::filesystem::path& out) {
    std::error_code ec;
    if (out.has_parent_path()) std::filesystem::create_directories(out.parent_path(), ec);
}
