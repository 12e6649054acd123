#include "qor/platform/clipboard.h"

namespace QOR {

namespace {

class InProcessClipboard final : public ClipboardBackend {
public:
    bool open() noexcept override {
        if (m_open) return false;
        m_open = true;
        return true;
    }
    bool close() noexcept override {
        const bool was = m_open;
        m_open = false;
        return was;
    }
    bool empty() noexcept override {
        if (!m_open) return false;
        m_metafile = CEnhMetaFile();
        return true;
    }
    bool setEnhMetaFile(HENHMETAFILE& metafile) noexcept override {
        if (!m_open || metafile.isNull()) return false;
        m_metafile = std::move(metafile);
        return true;
    }
    bool hasEnhMetaFile() const noexcept override { return !m_metafile.isNull(); }
    HENHMETAFILE getEnhMetaFile() const noexcept override { return CopyEnhMetaFileW(m_metafile, nullptr); }

private:
    bool m_open = false;
    CEnhMetaFile m_metafile;
};

InProcessClipboard& inProcess() noexcept {
    static InProcessClipboard board;
    return board;
}

ClipboardBackend* g_installed = nullptr;

} // namespace

ClipboardBackend::~ClipboardBackend() = default;

ClipboardBackend& clipboard() noexcept {
    return g_installed ? *g_installed : inProcess();
}

void setClipboardBackend(ClipboardBackend* backend) noexcept {
    g_installed = backend;
}

} // namespace QOR
