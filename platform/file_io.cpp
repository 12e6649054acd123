#include "qor/platform/file_io_p.h"

#include "qor/kernel/base/string.h"

#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace QOR::detail {

std::string utf8FromWide(const wchar_t* text) {
    return text ? CQorString::toUtf8(std::wstring_view(text)) : std::string();
}

bool readFileBytes(const wchar_t* path, std::size_t maxBytes, std::vector<unsigned char>& out) {
    out.clear();
    if (!path || !*path) return false;
    std::FILE* f = std::fopen(utf8FromWide(path).c_str(), "rb");
    if (!f) return false;
    bool ok = true;
    unsigned char buffer[65536];
    for (;;) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, f);
        if (n == 0) {
            ok = !std::ferror(f);
            break;
        }
        if (out.size() + n > maxBytes) {
            ok = false;
            break;
        }
        out.insert(out.end(), buffer, buffer + n);
    }
    std::fclose(f);
    return ok;
}

AtomicFile::~AtomicFile() {
    if (m_file) std::fclose(m_file);
    if (!m_temp.empty()) ::unlink(m_temp.c_str());
}

std::FILE* AtomicFile::open(const wchar_t* path) {
    if (m_file || !path || !*path) return nullptr;
    m_target = utf8FromWide(path);
    std::string pattern = m_target + ".tmp-XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) return nullptr;
    m_temp = pattern;
    // mkstemp makes the file private; give it the mode a plain create would have.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    m_file = ::fdopen(fd, "wb");
    if (!m_file) ::close(fd);
    return m_file;
}

bool AtomicFile::commit() {
    if (!m_file) return false;
    bool ok = std::fflush(m_file) == 0 && ::fsync(::fileno(m_file)) == 0;
    ok = std::fclose(m_file) == 0 && ok;
    m_file = nullptr;
    if (!ok || std::rename(m_temp.c_str(), m_target.c_str()) != 0) return false;
    m_temp.clear();
    return true;
}

} // namespace QOR::detail
