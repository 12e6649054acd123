#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "qor/gdx/gdx.h"
#include "qor/image/registry.h"
#include "qor/kernel/data/dta_file.h"

namespace {

// Generators that leave a mark: the number of points they add says which one ran.
template <int N>
bool addPoints(CQorGDX* gdx, QOR::CDtaFilePointer*, QOR::CDtaFilePointer*) {
    for (int i = 0; i < N; ++i)
        gdx->imagePt({}, 0, CQorPoint3d(i, 0, 0), CQorColor(), CQorMatrix3d(), 0.0, 0, CQorPoint3d::kOrigin);
    return true;
}

bool refuse(CQorGDX*, QOR::CDtaFilePointer*, QOR::CDtaFilePointer*) {
    return false;
}

bool throwing(CQorGDX*, QOR::CDtaFilePointer*, QOR::CDtaFilePointer*) {
    throw std::runtime_error("host generator failed");
}

class ImageRegistry : public ::testing::Test {
protected:
    void TearDown() override {
        for (const wchar_t* name : {L"A", L"B", L"C", L"DRILL", L"", L"drill", L"X"})
            QOR::setGdxImageFcn(name, nullptr);
        for (int i = 0; i < 40; ++i)
            QOR::setGdxImageFcn(numbered(i).c_str(), nullptr);
    }

    static std::wstring numbered(int i) { return L"GEN" + std::to_wstring(39 - i); }

    /// Items the generator under name adds, or -1 when dispatch fails (which must add none).
    static int dispatch(const wchar_t* name) {
        CQorGDX gdx;
        const bool drawn = qor_gdx_image(name, &gdx, nullptr, nullptr);
        EXPECT_TRUE(drawn || gdx.lenGet() == 0);
        return drawn ? gdx.lenGet() : -1;
    }
};

TEST_F(ImageRegistry, UnknownOrNullNamesDrawNothing) {
    EXPECT_EQ(dispatch(L"DRILL"), -1); // empty registry
    QOR::setGdxImageFcn(L"DRILL", addPoints<1>);
    EXPECT_EQ(dispatch(nullptr), -1);
    EXPECT_EQ(dispatch(L"drill"), -1); // names compare exactly
    EXPECT_EQ(dispatch(L"DRILL "), -1);
    EXPECT_EQ(dispatch(L"DRILL"), 1);
    QOR::setGdxImageFcn(nullptr, addPoints<2>); // no effect
    QOR::setGdxImageFcn(L"", addPoints<2>);     // the empty name is a name
    EXPECT_EQ(dispatch(L""), 2);
    EXPECT_EQ(dispatch(L"DRILL"), 1);
}

TEST_F(ImageRegistry, RegisterReplaceAndRemoveOutOfOrder) {
    QOR::setGdxImageFcn(L"C", addPoints<3>);
    QOR::setGdxImageFcn(L"A", addPoints<1>);
    QOR::setGdxImageFcn(L"B", addPoints<2>);
    QOR::setGdxImageFcn(L"A", nullptr);
    QOR::setGdxImageFcn(L"X", nullptr); // removing an unknown name changes nothing
    EXPECT_EQ(dispatch(L"A"), -1);
    EXPECT_EQ(dispatch(L"B"), 2);
    EXPECT_EQ(dispatch(L"C"), 3);

    QOR::setGdxImageFcn(L"B", addPoints<5>); // one entry, the second function
    EXPECT_EQ(dispatch(L"B"), 5);
    QOR::setGdxImageFcn(L"B", nullptr);
    EXPECT_EQ(dispatch(L"B"), -1);
}

TEST_F(ImageRegistry, ManyNamesGrowTheTableWithoutLosingOne) {
    for (int i = 0; i < 40; ++i)
        QOR::setGdxImageFcn(numbered(i).c_str(), i % 2 ? addPoints<2> : addPoints<1>);
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(dispatch(numbered(i).c_str()), i % 2 ? 2 : 1) << i;
}

TEST_F(ImageRegistry, TheGeneratorsAnswerIsTheAnswer) {
    QOR::setGdxImageFcn(L"A", refuse);
    QOR::setGdxImageFcn(L"B", throwing);
    EXPECT_EQ(dispatch(L"A"), -1);
    EXPECT_EQ(dispatch(L"B"), -1); // what a generator throws stays in the library
}

} // namespace
