#include "settings/form_placement.h"

#include <cstdint>

#include <gtest/gtest.h>

#include "settings/sqlite_hive.h"
#include "tests/support/english_message.h"
#include "tests/support/temp_folder.h"

namespace travoli {
namespace {

class FakeWindow : public PlacementWindow {
  public:
    WindowPlacement placement{0, 1, {444, 204, 787, 614}};
    DesktopRect desktop{0, 0, 1920, 1080};
    int sets = 0;
    bool positionKnown = true;
    std::string className;
    int designed = 0;  // how often automatic placement was switched off
    int centred = 0;
    std::string colorText = "clBtnFace";
    std::string fontText = "MS Sans Serif,8";

    bool PositionKnown() const override { return positionKnown; }
    std::string ClassName() const override { return className; }
    void SetPositionDesigned() override { ++designed; }
    void CenterWindow() override { ++centred; }
    std::string ColorText() const override { return colorText; }
    void SetColorText(const std::string& text) override { colorText = text; }
    std::string FontText() const override { return fontText; }
    void SetFontText(const std::string& text) override { fontText = text; }
    WindowPlacement GetWindowPlacement() const override { return placement; }
    void SetWindowPlacement(const WindowPlacement& p) override {
        placement = p;
        ++sets;
    }
    DesktopRect Desktop() const override { return desktop; }
};

class PlacementTest : public ::testing::Test {
  protected:
    test::TempFolder folder;
    SqliteHive hive{folder / "registry.sqlite3"};
    TIniCtrl ini{hive};
    FakeWindow window;
    TFormPlacement placement{window, &ini};

    void Save(const std::string& text) { ini.WriteText("Common", "MainForm", text); }
};

TEST(PlacementFields, SplitRule) {
    struct Case {
        const char* text;
        std::vector<std::string> fields;
    };
    const Case cases[] = {
        {"", {}},
        {"200", {"200"}},
        {"a,b", {"a", "b"}},
        {"a,", {"a"}},
        {"a,,", {"a", ""}},
        {",", {""}},
        {",,b", {"", "", "b"}},
        {"200,0,1,100,120,500,520,", {"200", "0", "1", "100", "120", "500", "520"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitPlacementFields(c.text), c.fields) << '"' << c.text << '"';
    }
}

TEST_F(PlacementTest, SavedTextsRestoredOrIgnored) {
    struct Case {
        const char* stored;  // nullptr: no value at all
        bool moves;
        int left, top;
    };
    const Case cases[] = {
        {nullptr, false, 444, 204},
        {"200,0,1,100,120,500,520", true, 100, 120},
        {"200,0,1,100,120,500,520,", true, 100, 120},
        {"200,0,1, 100,120,500,520", true, 100, 120},
        {"200,0,1,$64,0x78,500,520", true, 100, 120},
        {"200,x,y,100,120,500,520", true, 100, 120},  // flags and show state are not read
        {"200,0,3,100,120,500,520", true, 100, 120},
        {"200,0,1,100,120,500", false, 444, 204},
        {"200,0,1,100,120,500,520,9", false, 444, 204},
        {"200,0,1,100,120,500,520,,", false, 444, 204},
        {"201,0,1,100,120,500,520", false, 444, 204},
        {" 200,0,1,100,120,500,520", false, 444, 204},
        {"", false, 444, 204},
        // Edges no screen can show count as no position at all.
        {"200,0,1,-2147483648,2147483647,-2147483648,2147483647", false, 444, 204},
        {"200,0,1,100,120,500,131073", false, 444, 204},
        {"200,0,1,-131072,120,500,520", true, 0, 120},
    };
    for (const Case& c : cases) {
        window = FakeWindow{};
        if (c.stored) {
            Save(c.stored);
        } else {
            ini.DeleteValue("Common", "MainForm");
        }
        placement.OwnerShow();
        EXPECT_EQ(window.sets, c.moves ? 1 : 0) << c.stored;
        EXPECT_EQ(window.placement.normal.left, c.left) << c.stored;
        EXPECT_EQ(window.placement.normal.top, c.top) << c.stored;
        // The size stays, and so do the flags and the show state.
        EXPECT_EQ(window.placement.normal.right - window.placement.normal.left, 343) << c.stored;
        EXPECT_EQ(window.placement.normal.bottom - window.placement.normal.top, 410) << c.stored;
        EXPECT_EQ(window.placement.showCmd, 1) << c.stored;
        EXPECT_TRUE(placement.Restored());
    }
}

TEST_F(PlacementTest, BadNumberStopsTheRestoreNamingTheFirstInReverseOrder) {
    struct Case {
        const char* stored;
        const char* message;
    };
    const Case cases[] = {
        {"200,0,1,100,120,500,5x0", "'5x0' is not a valid integer value"},
        {"200,0,1,a,b,c,d", "'d' is not a valid integer value"},
        {"200,0,1,a,b,c,7", "'c' is not a valid integer value"},
        {"200,0,1,a,b,6,7", "'b' is not a valid integer value"},
        {"200,0,1,a,5,6,7", "'a' is not a valid integer value"},
        {"200,0,1,100 ,5,6,7", "'100 ' is not a valid integer value"},
        {"200,0,1,,120,500,520", "'' is not a valid integer value"},
    };
    for (const Case& c : cases) {
        window = FakeWindow{};
        Save(c.stored);
        try {
            placement.OwnerShow();
            ADD_FAILURE() << c.stored << ": restored";
        } catch (const EConvertError& error) {
            EXPECT_EQ(test::EnglishMessage(error), c.message);
        }
        EXPECT_EQ(window.sets, 0) << c.stored;
    }
}

TEST(PlacementDesktop, KeepsTheWindowOnTheDesktop) {
    struct Case {
        const char* what;
        DesktopRect desktop;
        PlacementRect in;
        PlacementRect out;
    };
    const Case cases[] = {
        {"inside", {0, 0, 1920, 1080}, {100, 120, 443, 530}, {100, 120, 443, 530}},
        {"beyond the right", {0, 0, 1920, 1080}, {5000, 100, 5343, 510}, {1577, 100, 1920, 510}},
        {"beyond the bottom", {0, 0, 1920, 1080}, {10, 2000, 353, 2410}, {10, 670, 353, 1080}},
        {"left of the left", {0, 0, 1920, 1080}, {-50, 10, 293, 420}, {0, 10, 343, 420}},
        {"above the top", {0, 0, 1920, 1080}, {10, -9, 353, 401}, {10, 0, 353, 410}},
        {"wider than the desktop", {0, 0, 800, 600}, {100, 0, 1100, 300}, {0, 0, 1000, 300}},
        {"right edge exactly", {0, 0, 1920, 1080}, {1577, 0, 1920, 410}, {1577, 0, 1920, 410}},
        // A desktop whose left screen lies left of the primary one.
        {"left screen, beyond the right",
         {-1920, 0, 3840, 1080},
         {5000, 100, 5343, 510},
         {1577, 100, 1920, 510}},
        {"left screen, inside",
         {-1920, 0, 3840, 1080},
         {-1800, 100, -1457, 510},
         {-1800, 100, -1457, 510}},
        {"left screen, left of it",
         {-1920, 0, 3840, 1080},
         {-2500, 100, -2157, 510},
         {-1920, 100, -1577, 510}},
        {"screen above, beyond the bottom",
         {0, -1080, 1920, 2160},
         {0, 1500, 343, 1910},
         {0, 670, 343, 1080}},
        {"extreme edges",
         {0, 0, 1920, 1080},
         {INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX},
         {0, 1080, 0, 1080}},
        {"extreme desktop",
         {INT32_MAX, INT32_MIN, INT32_MAX, INT32_MAX},
         {100, 120, 443, 530},
         {INT32_MAX, -411, INT32_MAX, -1}},
    };
    for (const Case& c : cases) {
        const PlacementRect out = KeepOnDesktop(c.in, c.desktop);
        EXPECT_EQ(out.left, c.out.left) << c.what;
        EXPECT_EQ(out.top, c.out.top) << c.what;
        EXPECT_EQ(out.right, c.out.right) << c.what;
        EXPECT_EQ(out.bottom, c.out.bottom) << c.what;
    }
}

TEST_F(PlacementTest, RestoreAppliesTheDesktopRule) {
    window.desktop = {-1920, 0, 3840, 1080};
    Save("200,0,1,5000,100,5343,510");
    placement.OwnerShow();
    EXPECT_EQ(window.placement.normal.left, 1577);
    EXPECT_EQ(window.placement.normal.right, 1920);
}

TEST_F(PlacementTest, SaveWritesThePlacementAndDropsColorAndFont) {
    ini.WriteText("common", "MainFormColor", "clRed");
    ini.WriteText("common", "MainFormFont", "Arial");
    window.placement = {2, 3, {-10, 20, 333, 430}};
    placement.OwnerDestroy();
    EXPECT_EQ(ini.ReadText("Common", "MainForm", ""), "200,2,3,-10,20,333,430");
    EXPECT_EQ(ini.ReadText("Common", "MainFormColor", "gone"), "gone");
    EXPECT_EQ(ini.ReadText("Common", "MainFormFont", "gone"), "gone");

    // The value lies beside the game values, in the same section.
    std::vector<SqliteHive::Entry> entries;
    ASSERT_EQ(hive.Dump(entries), HiveStatus::Ok);
    int values = 0;
    for (const auto& entry : entries) {
        if (!entry.isKey) {
            ++values;
            EXPECT_EQ(entry.keyPath, "Software\\ZanfirGames\\Travoli\\V2\\common");
        }
    }
    EXPECT_EQ(values, 1);

    // Saved and restored, the window comes back where it was.
    FakeWindow other;
    TFormPlacement again(other, &ini);
    again.OwnerShow();
    EXPECT_EQ(other.placement.normal.left, 0);  // -10 pulled onto the desktop
    EXPECT_EQ(other.placement.normal.top, 20);
}

TEST_F(PlacementTest, ExtremeStoredPositionIsNeitherUsedNorSavedBackAltered) {
    for (const TPlacementSaveOptions& options :
         {TPlacementSaveOptions{soPos}, TPlacementSaveOptions{soSize},
          TPlacementSaveOptions{soPos, soSize, soState}}) {
        window = FakeWindow{};
        Save("200,0,1,-2147483648,2147483647,-2147483648,2147483647");
        placement.IniSaveOptions = options;
        placement.OwnerShow();
        EXPECT_EQ(window.sets, 0);
        // At the end the window's own place is written, as after a run with none stored.
        placement.OwnerDestroy();
        EXPECT_EQ(ini.ReadText("Common", "MainForm", ""), "200,0,1,444,204,787,614");
    }
}

TEST_F(PlacementTest, SwitchedOffOrWithoutStoreDoesNothing) {
    Save("200,0,1,100,120,500,520");
    placement.Enabled = false;
    placement.OwnerShow();
    placement.OwnerDestroy();
    EXPECT_EQ(window.sets, 0);
    EXPECT_EQ(ini.ReadText("Common", "MainForm", ""), "200,0,1,100,120,500,520");

    TFormPlacement none(window, &ini);
    none.IniUse = ioNone;
    none.OwnerShow();
    EXPECT_EQ(window.sets, 0);

    // Where the window cannot know its position (a Wayland session), what is stored stays.
    ini.WriteText("Common", "MainFormFont", "kept");
    window.positionKnown = false;
    TFormPlacement blind(window, &ini);
    blind.OwnerShow();
    blind.OwnerDestroy();
    EXPECT_EQ(window.sets, 0);
    EXPECT_EQ(ini.ReadText("Common", "MainForm", ""), "200,0,1,100,120,500,520");
    EXPECT_EQ(ini.ReadText("Common", "MainFormFont", ""), "kept");
}

TEST_F(PlacementTest, OtherOptionSets) {
    Save("200,2,3,100,120,500,520");
    placement.IniSaveOptions = {soPos, soSize, soState};
    placement.OwnerShow();
    EXPECT_EQ(window.placement.flags, 2);
    EXPECT_EQ(window.placement.showCmd, 3);
    EXPECT_EQ(window.placement.normal.right, 500);
    EXPECT_EQ(window.placement.normal.bottom, 520);

    window = FakeWindow{};
    placement.IniSaveOptions = {soSize};
    placement.Options = {};
    placement.OwnerShow();
    EXPECT_EQ(window.placement.normal.left, 444);
    EXPECT_EQ(window.placement.normal.right, 444 + 400);

    window = FakeWindow{};
    placement.IniSaveOptions = {soState};
    placement.OwnerShow();
    EXPECT_EQ(window.placement.showCmd, 0);  // without foAutoShow it stays hidden

    Save("nothing");
    int noData = 0;
    placement.OnNoRestoreData = [&] { ++noData; };
    placement.OwnerShow();
    EXPECT_EQ(noData, 1);

    placement.Options = {foRestoreOnce};
    placement.OwnerShow();
    EXPECT_EQ(noData, 1);

    // Nothing usable stored: the window is centred only when asked to.
    window = FakeWindow{};
    placement.Options = {foAutoShow};
    placement.OwnerShow();
    EXPECT_EQ(window.centred, 0);
    placement.Options = {foAutoCenter};
    placement.OwnerShow();
    EXPECT_EQ(window.centred, 1);
    EXPECT_EQ(window.designed, 2);  // a restore of the place switches automatic placement off

    // Colour and font go under the value's name with "Color" and "Font" after it, and come
    // back; without their options they are deleted at the save and never read.
    placement.IniSaveOptions = {soColor, soFont};
    placement.OwnerDestroy();
    EXPECT_EQ(ini.ReadText("Common", "MainFormColor", ""), "clBtnFace");
    EXPECT_EQ(ini.ReadText("Common", "MainFormFont", ""), "MS Sans Serif,8");
    window.colorText = window.fontText = "";
    placement.OwnerShow();
    EXPECT_EQ(window.colorText, "clBtnFace");
    EXPECT_EQ(window.fontText, "MS Sans Serif,8");
    EXPECT_EQ(window.designed, 2);  // neither place nor size: automatic placement stays
    placement.IniSaveOptions = {soPos};
    window.colorText = "";
    placement.OwnerShow();
    EXPECT_EQ(window.colorText, "");
    placement.OwnerDestroy();
    EXPECT_FALSE(ini.ValueExists("Common", "MainFormColor"));
    EXPECT_FALSE(ini.ValueExists("Common", "MainFormFont"));

    // Without a key of its own the value is named after the window's class, less its "T",
    // or "Form"; a store of the whole program the game does not keep, so that one is none.
    window = FakeWindow{};
    window.className = "TMainForm";
    placement.IniKey.clear();
    placement.OwnerDestroy();
    EXPECT_EQ(ini.ReadText("Common", "MainForm", ""), "200,0,1,444,204,787,614");
    window.className.clear();
    placement.OwnerDestroy();
    EXPECT_EQ(ini.ReadText("Common", "Form", ""), "200,0,1,444,204,787,614");
    placement.IniUse = ioUseGlobal;
    ini.DeleteValue("Common", "Form");
    placement.OwnerDestroy();
    EXPECT_FALSE(ini.ValueExists("Common", "Form"));
}

}  // namespace
}  // namespace travoli
