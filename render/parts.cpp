// Large window frames drawn by several threads at once. Every item paints its pixels opaquely, whatever
// was there before, so a stretch of the list can be drawn into a layer of its own and laid over what the
// stretches before it drew: a pixel the layer's items painted wins, as if drawn later in the same pass.
// The first stretch is drawn straight into the bitmap. WorkShares decides who draws what, so a thread
// slowed by a busy core or a wrong estimate leaves its work to the others instead of holding up the frame.
#include <algorithm>
#include <atomic>
#include <climits>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <system_error>
#include <thread>

#include "qor/kernel/base/status.h"
#include "qor/platform/raster/raster_dc.h"
#include "qor/render/render_p.h"
#include "qor/render/work_shares_p.h"

namespace QOR::render {

namespace {

/// Below this estimated cost (some 10 ms of drawing) more threads and layers cost more than they save.
constexpr std::int64_t kMinCost = 125'000;
/// Most threads drawing one frame: beyond that, memory bandwidth and layers eat the gain.
constexpr unsigned kMaxThreads = 4;
/// Most layer pixels a frame holds at once (128 MB).
constexpr std::int64_t kMaxLayerPixels = std::int64_t(1) << 25;
/// A layer pixel no drawing writes: painted pixels are 0x00RRGGBB.
constexpr std::uint32_t kUnpainted = 0xFF000000;
/// Layer pixels per unit of cost: making, filling and laying over a layer (some 2 ms for 1920 x 1080).
constexpr std::int64_t kLayerPixelsPerUnit = 80;
/// Most stretches stolen in one frame.
constexpr std::int64_t kMaxStolen = 32;

/// Looks up, on the host's thread, every hatch pattern the items 0 to last - 1 use: once for a list
/// that has not changed since, as going through every item would hold up every other thread.
void lookUpPatterns(const Frame& frame, int last) {
    const std::uint64_t revision = frame.gdx.revisionGet();
    if (frame.lookups.hasPatternsOf(revision)) return;
    for (int i = 0; i < last; ++i) {
        const CQorDisplayItem& item = frame.item(i);
        if (item.m_type == QorDisplayReg && (item.m_flags & GdxItemHatch))
            frame.lookups.pattern(item.m_hatch.m_name);
    }
    frame.lookups.notePatternsOf(revision);
}

/// The frame drawn into dc instead, clipped to clip, with scratch for its buffers.
Frame redirected(const Frame& frame, CDC& dc, const CRgn* clip, Scratch& scratch) {
    return Frame{dc,          frame.gdx,     frame.target,    frame.width,      frame.height,     frame.back,
                 frame.scene, frame.fixed,   frame.dotLength, frame.minSegment, frame.patternDot, clip,
                 scratch,     frame.lookups, frame.kept};
}

/// What a stretch other than the first is drawn into: pixels its items do not paint keep kUnpainted.
class Layer {
public:
    Layer() = default;
    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;
    ~Layer() {
        if (m_old) m_dc.SelectObject(m_old);
    }

    /// False when there is no memory for it.
    bool make(int width, int height) {
        if (!m_bitmap.CreateBitmap(width, height, 1, 32, nullptr) || !m_dc.CreateCompatibleDC(nullptr))
            return false;
        m_old = m_dc.SelectObject(&m_bitmap);
        m_client.CreateRectRgn(0, 0, width, height);
        m_written = {0, height};
        clear();
        return true;
    }
    int width() const noexcept { return m_bitmap.width(); }
    int height() const noexcept { return m_bitmap.height(); }
    /// Unpainted again, as made, for another stretch or frame: only the rows drawn into since.
    void clear() {
        noteWrittenRows();
        detail::Surface& surface = *m_bitmap.surface();
        for (int y = std::max(m_written.first, 0); y < std::min(m_written.second, surface.height); ++y)
            std::fill(surface.row32(y), surface.row32(y) + surface.width, kUnpainted);
        m_written = {0, 0};
        m_dc.SelectClipRgn(&m_client);
        m_dc.SelectStockObject(NULL_PEN);
    }
    CDC& dc() noexcept { return m_dc; }
    const CRgn* client() const noexcept { return &m_client; }

    /// The rows drawn into since the layer was cleared, as [first, second).
    std::pair<int, int> writtenRows() noexcept {
        noteWrittenRows();
        return m_written;
    }
    /// Copies every pixel the layer's drawing painted in rows [top, bottom) onto bitmap. A stretch of a
    /// list drawn in order often covers a band of the window: the rows it never wrote are passed over.
    /// writtenRows() first: it takes the rows the dc wrote.
    void layOver(CBitmap& bitmap, int top, int bottom) const noexcept {
        const detail::Surface& from = *m_bitmap.surface();
        detail::Surface& to = *bitmap.surface();
        const int height = std::min({from.height, to.height, m_written.second, bottom}),
                  width = std::min(from.width, to.width);
        for (int y = std::max({m_written.first, top, 0}); y < height; ++y) {
            const std::uint32_t* source = from.row32(y);
            std::uint32_t* target = to.row32(y);
            // A select rather than a branch: the loop then runs on vector registers.
            for (int x = 0; x < width; ++x)
                target[x] = source[x] != kUnpainted ? source[x] : target[x];
        }
    }

private:
    /// Adds the rows drawn into since the last look to m_written.
    void noteWrittenRows() noexcept {
        const std::pair<int, int> rows = m_dc.takeWrittenRows();
        if (rows.first >= rows.second) return;
        m_written = m_written.first >= m_written.second ? rows
                                                        : std::pair{std::min(m_written.first, rows.first),
                                                                    std::max(m_written.second, rows.second)};
    }

    CBitmap m_bitmap;
    CRasterDC m_dc;
    CRgn m_client;
    CBitmap* m_old = nullptr;
    std::pair<int, int> m_written{0, 0}; ///< rows [first, second) that may hold painted pixels
};

} // namespace

/// Drawing threads kept from frame to frame: starting threads for every frame would cost their start-up
/// and their stacks each time. Each helper sleeps until a frame hands it work.
class HelperThreads {
public:
    /// What a helper runs: work(context, helper), helper counting from 1.
    using Work = void (*)(void* context, unsigned helper);

    HelperThreads() = default;
    HelperThreads(const HelperThreads&) = delete;
    HelperThreads& operator=(const HelperThreads&) = delete;
    ~HelperThreads() {
        {
            const std::lock_guard lock(m_mutex);
            m_quit = true;
        }
        m_wake.notify_all();
        for (std::thread& thread : m_threads)
            thread.join();
    }

    /// Has `count` helpers run work, starting those not running yet; returns how many run (fewer when
    /// the system would not start a thread). Each of them must be waited for with wait().
    unsigned run(unsigned count, Work work, void* context) noexcept {
        {
            const std::lock_guard lock(m_mutex);
            // Started under the lock, so that a new helper first sees the round below, not an older one.
            while (m_threads.size() < count && m_threads.size() < m_threads.capacity()) {
                try {
                    const unsigned helper = unsigned(m_threads.size()) + 1;
                    m_threads.emplace_back([this, helper, seen = m_round] { loop(helper, seen); });
                } catch (...) { // no thread or no memory for one: fewer helpers
                    break;
                }
            }
            m_work = work;
            m_context = context;
            m_running = std::min(count, unsigned(m_threads.size()));
            m_pending = m_running;
            ++m_round;
        }
        m_wake.notify_all();
        return m_running;
    }
    /// Until every helper of the last run() is done.
    void wait() {
        std::unique_lock lock(m_mutex);
        m_done.wait(lock, [this] { return m_pending == 0; });
    }
    /// Room for every helper, before any starts: the vector never moves a running thread's object.
    void reserve(unsigned count) { m_threads.reserve(count); }

private:
    void loop(unsigned helper, unsigned seen) {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [&] { return m_quit || m_round != seen; });
            if (m_quit) return;
            seen = m_round;
            if (helper > m_running) continue;
            const Work work = m_work;
            void* const context = m_context;
            lock.unlock();
            work(context, helper);
            lock.lock();
            if (--m_pending == 0) m_done.notify_all();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_done;
    std::vector<std::thread> m_threads;
    Work m_work = nullptr;
    void* m_context = nullptr;
    unsigned m_running = 0;
    unsigned m_pending = 0;
    unsigned m_round = 0;
    bool m_quit = false;
};

/// What drawing in parts keeps from one frame to the next: layers of one size no frame is using, the
/// buffers of each drawing thread but the caller's, the threads themselves and the frame's bookkeeping.
struct PartsCache {
    std::mutex mutex; ///< guards layers while the threads draw
    std::vector<std::unique_ptr<Layer>> layers;
    Scratch scratch[kMaxThreads - 1];
    WorkShares shares;
    std::vector<std::unique_ptr<Layer>> frameLayers; ///< per stretch of the frame being drawn
    std::vector<std::size_t> order;                  ///< stretches in list order, to lay them over
    /// Last: its destructor joins the threads before the buffers they use go.
    HelperThreads helpers;
};

void PartsCacheDeleter::operator()(PartsCache* parts) const noexcept {
    delete parts;
}

namespace {

/// One frame's items 0 to last - 1, drawn by the threads that call draw().
class SharedFrame {
public:
    SharedFrame(const Frame& frame, int last, WorkShares& shares, PartsCache& parts)
        : m_frame(frame), m_last(last), m_shares(shares), m_parts(parts), m_layers(parts.frameLayers) {
        m_layers.clear();
        m_layers.resize(std::size_t(shares.maxStretches()));
    }

    /// What each thread runs, with its own scratch buffers: stretches taken or stolen, drawn until
    /// nothing worth taking is left. A stretch whose layer cannot be made is left to finish(). A failure
    /// on this thread (memory, an exception, a call that ran out of memory and said so) is kept for
    /// finish() and stops the others at their next claim; nothing is reported from here.
    void draw(Scratch& scratch) noexcept {
        detail::FailureScope scope;
        try {
            int s = m_shares.takeUntaken();
            for (; !m_stop && (s >= 0 || (s = stealOne()) >= 0); s = m_shares.takeUntaken()) {
                if (s > 0 && !m_layers[std::size_t(s)] && !(m_layers[std::size_t(s)] = newLayer())) break;
                Layer* layer = m_layers[std::size_t(s)].get();
                const Frame frame = layer ? redirected(m_frame, layer->dc(), layer->client(), scratch)
                                          : redirected(m_frame, m_frame.dc, m_frame.clientClip, scratch);
                for (int first = 0, last = 0; !m_stop && m_shares.claim(s, first, last);)
                    drawItems(frame, first * kSliceItems, std::min(last * kSliceItems, m_last));
            }
        } catch (...) {
            detail::failWithCurrentException();
        }
        if (detail::pendingFailure() == detail::Status::Ok) return;
        m_stop = true;
        const detail::Failure failure = scope.take();
        const std::lock_guard lock(m_failedMutex);
        if (m_failure.status == detail::Status::Ok) m_failure = failure;
    }

    /// Once every thread is done, on the caller's thread: after a failure, makes it the caller's failure to
    /// report and draws nothing more; otherwise takes the stretches in list order, laying each layer over
    /// bitmap and drawing straight into it what no thread drew (when a layer or a thread could not be
    /// had). False after a failure.
    /// When every stretch was drawn, the threads of the frame (`helpers` of them besides the caller) lay
    /// the layers over in bands of rows, each band in list order.
    bool finish(CBitmap& bitmap, HelperThreads& threads, unsigned helpers) {
        if (m_failure.status != detail::Status::Ok) {
            detail::adoptFailure(m_failure);
            return false;
        }
        const std::vector<WorkShares::Stretch>& stretches = m_shares.stretches();
        std::vector<std::size_t>& order = m_parts.order;
        order.resize(stretches.size());
        for (std::size_t s = 0; s < order.size(); ++s)
            order[s] = s;
        std::sort(order.begin(), order.end(),
                  [&](std::size_t a, std::size_t b) { return stretches[a].first < stretches[b].first; });
        if (std::any_of(stretches.begin(), stretches.end(), [](const auto& s) { return s.next < s.end; })) {
            layOverInOrder(bitmap);
            return true;
        }
        Bands bands{*this, bitmap, INT_MAX, INT_MIN, helpers + 1};
        for (const std::size_t s : order)
            if (m_layers[s]) {
                const std::pair<int, int> rows = m_layers[s]->writtenRows();
                if (rows.first >= rows.second) continue;
                bands.top = std::min(bands.top, rows.first);
                bands.bottom = std::max(bands.bottom, rows.second);
            }
        if (bands.top >= bands.bottom) return true;
        // As many helpers as drew the frame: they are running, so each band has its thread.
        threads.run(
            helpers, [](void* context, unsigned helper) { static_cast<Bands*>(context)->layOver(helper); },
            &bands);
        bands.layOver(0);
        threads.wait();
        return true;
    }

    /// Gives the layers back to the cache for the next frame; those the pool has no room for go.
    void giveBack() noexcept {
        for (std::unique_ptr<Layer>& layer : m_layers)
            if (layer && m_parts.layers.size() < m_parts.layers.capacity())
                m_parts.layers.push_back(std::move(layer));
    }

private:
    /// Rows [top, bottom) shared out between `count` threads.
    struct Bands {
        SharedFrame& shared;
        CBitmap& bitmap;
        int top, bottom;
        unsigned count;

        void layOver(unsigned band) const noexcept {
            const std::int64_t rows = std::int64_t(bottom) - top;
            const int from = top + int(rows * band / count), to = top + int(rows * (band + 1) / count);
            for (const std::size_t s : shared.m_parts.order)
                if (const Layer* layer = shared.m_layers[s].get()) layer->layOver(bitmap, from, to);
        }
    };

    /// Lays the layers over in list order, drawing straight into bitmap what no thread drew.
    void layOverInOrder(CBitmap& bitmap) {
        const std::vector<WorkShares::Stretch>& stretches = m_shares.stretches();
        for (const std::size_t s : m_parts.order) {
            if (m_layers[s]) {
                m_layers[s]->writtenRows();
                m_layers[s]->layOver(bitmap, INT_MIN, INT_MAX);
            }
            const WorkShares::Stretch& left = stretches[s];
            if (left.next < left.end)
                drawItems(m_frame, left.next * kSliceItems, std::min(left.end * kSliceItems, m_last));
        }
    }

    /// A layer the cache kept, cleared, or a new one. Null when there is no memory for a layer. That is no
    /// failure of the frame: the stretch is drawn without one, by finish().
    std::unique_ptr<Layer> newLayer() const {
        detail::FailureScope scope;
        std::unique_ptr<Layer> layer;
        {
            const std::lock_guard lock(m_parts.mutex);
            if (!m_parts.layers.empty()) {
                layer = std::move(m_parts.layers.back());
                m_parts.layers.pop_back();
            }
        }
        bool made = false;
        if (layer) {
            layer->clear();
            made = true;
        } else {
            layer.reset(new (std::nothrow) Layer);
            made = layer && layer->make(m_frame.width, m_frame.height);
        }
        scope.take();
        return made ? std::move(layer) : nullptr;
    }

    /// The back half of another thread's stretch with a layer of its own; -1 when nothing is worth it.
    int stealOne() {
        if (!m_shares.worthStealing()) return -1;
        std::unique_ptr<Layer> layer = newLayer();
        if (!layer) return -1;
        const int s = m_shares.steal();
        if (s >= 0) {
            m_layers[std::size_t(s)] = std::move(layer);
        } else {
            // Another thread took what was left: the layer goes back for the next steal or frame.
            const std::lock_guard lock(m_parts.mutex);
            if (m_parts.layers.size() < m_parts.layers.capacity()) m_parts.layers.push_back(std::move(layer));
        }
        return s;
    }

    const Frame& m_frame;
    const int m_last;
    WorkShares& m_shares;
    PartsCache& m_parts;
    /// Per stretch, written only by the thread that took it; null for the first.
    std::vector<std::unique_ptr<Layer>>& m_layers;
    std::atomic<bool> m_stop{false};
    std::mutex m_failedMutex;
    detail::Failure m_failure; ///< the first failure of a thread; written under m_failedMutex
};

} // namespace

bool drawInParts(const Frame& frame, CBitmap& bitmap, unsigned threads, FrameCache* cache) {
    threads = std::min(threads, kMaxThreads);
    const std::int64_t layerPixels = std::int64_t(frame.width) * frame.height;
    if (threads < 2 || !bitmap.surface() || bitmap.surface()->bitsPerPixel != 32 ||
        (threads - 1) * layerPixels > kMaxLayerPixels)
        return false;
    // Pictures come last in draw order and are loaded on the host's thread: drawn here at the end.
    const int n = frame.gdx.lenGet();
    int last = n;
    while (last > 0 && frame.item(last - 1).m_type == QorDisplayPicture)
        --last;
    // The cache's layers serve frames of their own size only; they are dropped when the size changes.
    std::optional<FrameCache> own;
    if (!cache) cache = &own.emplace();
    // The estimate reads items all over the list: made again only when the list or the dot length changed.
    std::vector<std::int64_t>& costs = cache->costs;
    const std::uint64_t revision = frame.gdx.revisionGet();
    const std::size_t slices = std::size_t((last + kSliceItems - 1) / kSliceItems);
    if (revision == 0 || cache->costsOf != revision || cache->costsDotLength != frame.dotLength ||
        costs.size() != slices) {
        cache->costsOf = 0; // until the estimate is whole
        sliceCosts(frame, last, costs);
        cache->costsOf = revision;
        cache->costsDotLength = frame.dotLength;
    }
    std::int64_t total = 0;
    for (const std::int64_t c : costs)
        total += c;
    if (total < kMinCost) return false;
    if (!cache->parts) cache->parts.reset(new PartsCache);
    PartsCache& parts = *cache->parts;

    const int maxStolen = int(std::min(kMaxLayerPixels / layerPixels - (threads - 1), kMaxStolen));
    WorkShares& shares = parts.shares;
    shares.reset(costs, int(threads), layerPixels / kLayerPixelsPerUnit, maxStolen);
    if (!parts.layers.empty() &&
        (parts.layers[0]->width() != frame.width || parts.layers[0]->height() != frame.height))
        parts.layers.clear();
    // Room for every layer the frame may make, so that giving them back cannot fail.
    parts.layers.reserve(std::size_t(shares.maxStretches()));
    parts.helpers.reserve(kMaxThreads - 1); // before any helper runs: nothing may throw until the wait
    SharedFrame shared(frame, last, shares, parts);

    lookUpPatterns(frame, last);
    frame.lookups.setSealed(true);
    struct Job {
        SharedFrame& shared;
        PartsCache& parts;
    } job{shared, parts};
    // Fewer helpers than asked for: the stretches none of them takes are taken by the threads that run.
    const unsigned helpers = parts.helpers.run(
        threads - 1,
        [](void* context, unsigned helper) {
            Job& j = *static_cast<Job*>(context);
            j.shared.draw(j.parts.scratch[helper - 1]);
        },
        &job);
    shared.draw(frame.scratch);
    parts.helpers.wait();
    frame.lookups.setSealed(false);
    const bool finished = shared.finish(bitmap, parts.helpers, helpers);
    shared.giveBack();
    if (finished) drawItems(frame, last, n);
    return true;
}

} // namespace QOR::render
