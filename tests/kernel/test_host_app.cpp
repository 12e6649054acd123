#include <gtest/gtest.h>

#include "qor/kernel/base/color.h"
#include "qor/kernel/data/config.h"
#include "qor/kernel/host/host_app.h"

#include <stdexcept>

namespace {

// A host that only answers the function call; everything else as a test double would.
class FakeHost : public CQorApp {
public:
    std::uint32_t imageBkColor() override { return 0x123456; }
    Qor::lFormat lengthFormat() override { return Qor::kFormatArchitectural; }
    Qor::lUnit drawingUnit() override { return Qor::kUnitInch; }
    CQorString msgBoxTitle() override { return CQorString(L"Fake"); }
    bool patternGet(const wchar_t*, CQorArrayTempl<CQorArrayTempl<double>>&) override { return false; }
    bool objectImage(CQorGDX*, const CQorDataItem*, const CQorDataItem*) override { return true; }
    bool entitySelect(QOR::CAdsName& entity, const wchar_t*, bool) override {
        entity = QOR::CAdsName(42);
        return true;
    }
    int callFunction(const wchar_t*, const resbuf*, resbuf*& result) override {
        result = nullptr;
        return RTCAN;
    }
};

class HostFunctions : public ::testing::Test {
protected:
    void TearDown() override {
        QOR::setHostFcn(L"qor_test_double", nullptr);
        QOR::setHostFcn(L"qor_test_throw", nullptr);
    }
};

} // namespace

TEST_F(HostFunctions, RegisteredFunctionsRunByName) {
    ASSERT_TRUE(QOR::setHostFcn(L"qor_test_double", [](const resbuf* args, resbuf*& result) {
        double v = 0;
        if (!QOR::fromRb(v, args)) return RTERROR;
        result = QOR::mkResbuf(RTREAL, 2 * v);
        return RTNORM;
    }));
    QOR::CUniqResbuf args(QOR::mkResbuf(RTREAL, 1.25));
    QOR::CUniqResbuf result;
    EXPECT_EQ(QOR::qorAppPtr()->callFunction(L"QOR_TEST_DOUBLE", args.get(), result.out()), RTNORM);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->resval.rreal, 2.5);

    QOR::CUniqResbuf text(QOR::mkResbuf(RTSTR, L"x"));
    EXPECT_EQ(QOR::qorAppPtr()->callFunction(L"qor_test_double", text.get(), result.out()), RTERROR);
    EXPECT_FALSE(result);
}

TEST_F(HostFunctions, UnknownNamesAndFailuresGiveTheErrorStatus) {
    resbuf* result = QOR::mkResbuf(RTT); // a stale value must not survive the call
    qorRelRb(result);
    EXPECT_EQ(QOR::qorAppPtr()->callFunction(L"qor_gdx_image_extr_missing", nullptr, result), RTERROR);
    EXPECT_EQ(result, nullptr);
    EXPECT_EQ(QOR::callHostFcn(nullptr, nullptr, result), RTERROR);
    EXPECT_FALSE(QOR::setHostFcn(L"", [](const resbuf*, resbuf*&) { return RTNORM; }));

    QOR::setHostFcn(L"qor_test_throw", [](const resbuf*, resbuf*& out) -> int {
        out = QOR::mkResbuf(RTT);
        throw std::runtime_error("host failure");
    });
    EXPECT_EQ(QOR::callHostFcn(L"qor_test_throw", nullptr, result), RTERROR);
    EXPECT_EQ(result, nullptr);

    QOR::setHostFcn(L"qor_test_double", [](const resbuf*, resbuf*&) { return RTNORM; });
    QOR::setHostFcn(L"QOR_TEST_DOUBLE", nullptr); // removal ignores case too
    EXPECT_EQ(QOR::callHostFcn(L"qor_test_double", nullptr, result), RTERROR);
}

TEST(HostApp, DefaultHostTakesItsSettingsFromTheConfiguration) {
    QOR::CCfgBackup backup;
    CQorApp* app = QOR::qorAppPtr();
    CQorDataItem* root = QOR::cfgMgrPtr()->getCfgRoot();
    root->set(3, L"OLV_MENU\\COLOR\\BACKGROUND");
    EXPECT_EQ(app->imageBkColor(), acadRGB(3));
    root->remove(L"OLV_MENU\\COLOR\\BACKGROUND");
    root->set(1, L"OLV_MENU\\COLOR\\BACKGROUND\\COLOR");
    root->set(0x0000FF, L"OLV_MENU\\COLOR\\BACKGROUND\\RGB"); // blue, as AutoCAD writes true colours
    EXPECT_EQ(app->imageBkColor(), 0xFF0000u);                // 0x00BBGGRR
    root->remove(L"OLV_MENU");
    EXPECT_EQ(app->imageBkColor(), 0xFFFFFFu);

    root->set(4, L"*QOR_HOST*\\LUNITS");
    root->set(1, L"*QOR_HOST*\\INSUNITS");
    root->set(L"Host", L"*QOR_HOST*\\TITLE");
    EXPECT_EQ(app->lengthFormat(), Qor::kFormatArchitectural);
    EXPECT_EQ(app->drawingUnit(), Qor::kUnitInch);
    EXPECT_EQ(app->msgBoxTitle(), L"Host");
    root->set(9, L"*QOR_HOST*\\LUNITS");
    root->set(-1, L"*QOR_HOST*\\INSUNITS");
    EXPECT_EQ(app->lengthFormat(), Qor::kFormatDecimal);
    EXPECT_EQ(app->drawingUnit(), Qor::kUnitMillimeter);

    QOR::CAdsName entity;
    EXPECT_FALSE(app->entitySelect(entity, L"HOLE", true));
    EXPECT_FALSE(app->objectImage(nullptr, nullptr, nullptr));
}

TEST(HostApp, OneCallInstallsAHost) {
    FakeHost host;
    CQorApp* before = QOR::qorAppSet(&host);
    EXPECT_EQ(QOR::qorAppPtr(), &host);
    EXPECT_EQ(QOR::qorAppPtr()->drawingUnit(), Qor::kUnitInch);
    EXPECT_EQ(QOR::qorAppSet(nullptr), &host);
    EXPECT_EQ(QOR::qorAppPtr(), before);
}

TEST(AdsName, HandlesRoundTrip) {
    QOR::CAdsName name(0x2A7F);
    EXPECT_EQ(name.handle(), L"2A7F");
    QOR::CAdsName back;
    EXPECT_TRUE(back.setHandle(L"2a7f"));
    EXPECT_EQ(back, name);
    EXPECT_FALSE(back.setHandle(L"2G"));
    EXPECT_TRUE(back.isNull());
    EXPECT_FALSE(back.setHandle(L"12345678901234567"));
    EXPECT_EQ(QOR::CAdsName().handle(), L"");
}
