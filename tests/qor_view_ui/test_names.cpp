// The names qor-view goes by: kinds of files, formats to save, and the view directions of the two
// naming schemes it bridges.
#include <gtest/gtest.h>

#include "file_kind.h"
#include "qor/gdx/gdx.h"
#include "qor/objlib/view_dir.h"
#include "save_as.h"
#include "view_direction.h"

TEST(FileKinds, TakenFromTheExtensionInAnyCase) {
    EXPECT_EQ(fileKindOf("/a/demo.json"), FileKind::DisplayList);
    EXPECT_EQ(fileKindOf("/a/DEMO.SLD"), FileKind::Slide);
    EXPECT_EQ(fileKindOf("lib.Slb"), FileKind::SlideLibrary);
    for (const char* name : {"a.png", "a.JPG", "a.jpeg", "a.bmp", "a.ico", "a.gif", "a.tif", "a.TIFF"})
        EXPECT_EQ(fileKindOf(name), FileKind::Picture) << name;
    for (const char* name : {"a.emf", "a", "json", "a.json.bak", "/dir.sld/file"})
        EXPECT_EQ(fileKindOf(name), FileKind::Unknown) << name;
    // Every kind can be chosen in File > Open, in either case.
    for (const char* pattern : {"*.json", "*.SLD", "*.slb", "*.TIFF", "*.ico"})
        EXPECT_NE(openFilter().Find(pattern), wxNOT_FOUND) << pattern;
}

TEST(SaveFormats, TakenFromTheExtension) {
    EXPECT_EQ(saveFormatOf("x.png"), SaveFormat::Png);
    EXPECT_EQ(saveFormatOf("x.EMF"), SaveFormat::Emf);
    EXPECT_EQ(saveFormatOf("/a.b/x.Svg"), SaveFormat::Svg);
    EXPECT_FALSE(saveFormatOf("x.jpg"));
    EXPECT_FALSE(saveFormatOf("png"));
    for (SaveFormat f : {SaveFormat::Png, SaveFormat::Emf, SaveFormat::Svg})
        EXPECT_EQ(saveFormatOf(wxString("x.") + extensionOf(f)), f);
}

TEST(ViewDirections, ListAndObjectNamesLookAlongTheSameLine) {
    for (ViewDirection view :
         {ViewDirection::Top, ViewDirection::Front, ViewDirection::Side, ViewDirection::Isometric}) {
        const CQorVector3d list = qor_gdx_view_vdir_get(listViewName(view));
        CQorVector3d object;
        ASSERT_TRUE(QOR::viewDirGet(objectViewName(view), object));
        EXPECT_NEAR((list.normal() - object).abs(), 0.0, 1e-12) << static_cast<int>(view);
        EXPECT_STREQ(QOR::normViewName(QOR::NormView(normViewOf(view))), objectViewName(view));
    }
}
