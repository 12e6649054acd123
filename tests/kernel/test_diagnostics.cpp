// The diagnostics sink and the failure contract at the library boundary: a failure that escapes as an
// exception is reported once, by the outermost guarded call, whatever thread it happened on.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "qor/kernel/base/diagnostics.h"
#include "qor/kernel/base/status.h"

namespace {

using QOR::DiagnosticLevel;
using QOR::detail::Status;

/// Collects what the library reports while it is installed, and notices two calls at once.
struct Collector {
    std::vector<std::string> messages;
    std::vector<DiagnosticLevel> levels;
    std::atomic<int> inside{0};
    bool overlapped = false;
    QOR::DiagnosticReceiver previous;

    Collector() { previous = QOR::setDiagnosticSink(&Collector::sink, this); }
    ~Collector() { QOR::setDiagnosticSink(previous.sink, previous.context); }

    static void sink(void* context, DiagnosticLevel level, const char* message) noexcept {
        auto* self = static_cast<Collector*>(context);
        if (self->inside.fetch_add(1) != 0) self->overlapped = true;
        self->messages.emplace_back(message);
        self->levels.push_back(level);
        QOR::reportDiagnostic(DiagnosticLevel::Info, "from inside the sink"); // dropped, never recursed
        self->inside.fetch_sub(1);
    }
};

TEST(DiagnosticSink, SettingReturnsThePreviousSinkAndPuttingItBackRestoresIt) {
    std::vector<std::string> firstSeen;
    const auto first = [](void* context, DiagnosticLevel, const char* message) noexcept {
        static_cast<std::vector<std::string>*>(context)->emplace_back(message);
    };
    const QOR::DiagnosticReceiver original = QOR::setDiagnosticSink(first, &firstSeen);
    EXPECT_EQ(original.sink, &QOR::stderrDiagnosticSink); // nothing else installed one in this program
    {
        Collector inner;
        EXPECT_EQ(inner.previous.sink, +first);
        EXPECT_EQ(inner.previous.context, &firstSeen);
        QOR::reportDiagnostic(DiagnosticLevel::Warning, "to the inner sink");
        ASSERT_EQ(inner.messages.size(), 1u);
        EXPECT_EQ(inner.levels[0], DiagnosticLevel::Warning);
    }
    QOR::reportDiagnostic(DiagnosticLevel::Error, nullptr); // taken as empty
    EXPECT_EQ(firstSeen, std::vector<std::string>{""});

    // A null sink is the default one again.
    const QOR::DiagnosticReceiver replaced = QOR::setDiagnosticSink(nullptr, &firstSeen);
    EXPECT_EQ(replaced.sink, +first);
    EXPECT_EQ(QOR::setDiagnosticSink(original.sink, original.context).sink, &QOR::stderrDiagnosticSink);
    testing::internal::CaptureStderr();
    QOR::stderrDiagnosticSink(nullptr, DiagnosticLevel::Info, "plain text");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "qor: plain text\n");
}

TEST(DiagnosticSink, MessagesFromManyThreadsArriveWholeAndOneAtATime) {
    constexpr int kThreads = 6, kEach = 300;
    Collector collector;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t] {
            const std::string message = "thread " + std::to_string(t);
            for (int i = 0; i < kEach; ++i)
                QOR::reportDiagnostic(DiagnosticLevel::Info, message.c_str());
        });
    for (std::thread& t : threads)
        t.join();
    EXPECT_FALSE(collector.overlapped);
    ASSERT_EQ(collector.messages.size(), std::size_t(kThreads * kEach));
    for (int t = 0; t < kThreads; ++t)
        EXPECT_EQ(
            std::count(collector.messages.begin(), collector.messages.end(), "thread " + std::to_string(t)),
            kEach);
}

TEST(Guarded, AnExceptionGivesTheFailureResultAndOneMessageFromTheOutermostCall) {
    Collector collector;
    // Nested guarded calls: the inner one contains the throw, the outer one reports it when it returns.
    const int outer = QOR::detail::guardedAt("outerCall", -1, [] {
        const bool inner =
            QOR::detail::guarded(false, []() -> bool { throw std::runtime_error("host broke"); });
        EXPECT_FALSE(inner);
        return 7;
    });
    EXPECT_EQ(outer, 7);
    ASSERT_EQ(collector.messages.size(), 1u);
    EXPECT_EQ(collector.messages[0], "outerCall: exception: host broke");
    EXPECT_EQ(collector.levels[0], DiagnosticLevel::Error);

    // Out of memory, and only the first failure of a call is told; failures the caller handles by their
    // result (bad input) are never reported.
    collector.messages.clear();
    EXPECT_FALSE(QOR::detail::guarded(false, []() -> bool {
        QOR::detail::fail(Status::BadInput);
        QOR::detail::guarded(0, []() -> int { throw std::bad_alloc(); });
        throw 42;
    }));
    EXPECT_EQ(collector.messages, std::vector<std::string>{"out of memory"});
    collector.messages.clear();
    EXPECT_EQ(QOR::detail::guarded([] { return QOR::detail::fail(Status::BadInput); }), Status::BadInput);
    EXPECT_TRUE(collector.messages.empty());
}

TEST(Guarded, AFailureOnAHelperThreadIsReportedOnceByTheThreadThatWaits) {
    Collector collector;
    const bool ok = QOR::detail::guardedAt("paint", true, [] {
        QOR::detail::Failure handed;
        std::thread helper([&handed] {
            QOR::detail::FailureScope scope;
            QOR::detail::guarded(false, []() -> bool { throw std::length_error("too long"); });
            QOR::detail::guarded(false, []() -> bool { throw std::bad_alloc(); }); // the first one wins
            handed = scope.take();
        });
        helper.join();
        EXPECT_EQ(handed.status, Status::Unexpected);
        QOR::detail::adoptFailure(handed);
        return QOR::detail::pendingFailure() == Status::Ok;
    });
    EXPECT_FALSE(ok);
    EXPECT_EQ(collector.messages, std::vector<std::string>{"paint: exception: too long"});
}

} // namespace
