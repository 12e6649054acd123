#include "qor/platform/clipboard.h"

#include <atomic>
#include <mutex>

namespace QOR {

namespace {

/// Every call holds the lock, so threads may share it; open() still admits one opener at a time.
class InProcessClipboard final : public ClipboardBackend {
public:
    bool open() noexcept override {
        const std::lock_guard<std::mutex> guard(m_lock);
        if (m_open) return false;
        m_open = true;
        return true;
    }
    bool close() noexcept override {
        const std::lock_guard<std::mutex> guard(m_lock);
        const bool was = m_open;
        m_open = false;
        return was;
    }
    bool empty() noexcept override {
        CEnhMetaFile dropped; // released after the lock
        const std::lock_guard<std::mutex> guard(m_lock);
        if (!m_open) return false;
        dropped = std::move(m_metafile);
        return true;
    }
    bool setEnhMetaFile(HENHMETAFILE& metafile) noexcept override {
        CEnhMetaFile dropped;
        const std::lock_guard<std::mutex> guard(m_lock);
        if (!m_open || metafile.isNull()) return false;
        dropped = std::move(m_metafile);
        m_metafile = std::move(metafile);
        return true;
    }
    bool hasEnhMetaFile() const noexcept override {
        const std::lock_guard<std::mutex> guard(m_lock);
        return !m_metafile.isNull();
    }
    HENHMETAFILE getEnhMetaFile() const noexcept override {
        const std::lock_guard<std::mutex> guard(m_lock);
        return CopyEnhMetaFileW(m_metafile, nullptr);
    }

private:
    mutable std::mutex m_lock;
    bool m_open = false;
    CEnhMetaFile m_metafile;
};

InProcessClipboard& inProcess() noexcept {
    static InProcessClipboard board;
    return board;
}

std::atomic<ClipboardBackend*> g_installed{nullptr};

} // namespace

ClipboardBackend::~ClipboardBackend() = default;

ClipboardBackend& clipboard() noexcept {
    ClipboardBackend* installed = g_installed.load(std::memory_order_acquire);
    return installed ? *installed : inProcess();
}

void setClipboardBackend(ClipboardBackend* backend) noexcept {
    g_installed.store(backend, std::memory_order_release);
}

} // namespace QOR
