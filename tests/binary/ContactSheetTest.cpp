// Runs the contact sheet renderer into a temporary file and probes the picture: every tile
// must show its model inside its borders, each with its own texture.
#include <algorithm>
#include <cmath>
#include <memory>
#include <ostream>
#include <string>

#include <FreeImage.h>
#include <gtest/gtest.h>

#include "render/GlSetup.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace {

constexpr int kColumns = 4;
constexpr int kRows = 2;

// Tiles in reading order.
enum Tile { kWoodBlock, kDuck, kYellowBall, kRedBall, kGreenBall, kBeachBall, kPuddle, kPanel };
constexpr int kTileCount = kColumns * kRows;

struct Rgb {
    double r = 0, g = 0, b = 0;
};

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

// The clear colour as 8-bit values.
const Rgb kClear{kClearColour[0] * 255.0, kClearColour[1] * 255.0, kClearColour[2] * 255.0};

bool isClear(const Rgb& c) {
    return std::max(
               {std::abs(c.r - kClear.r), std::abs(c.g - kClear.g), std::abs(c.b - kClear.b)}) < 8;
}

// The sheet as 8-bit RGB, addressed per tile with y growing downwards as in a viewer.
class Sheet {
  public:
    bool load(const std::string& path) {
        FIBITMAP* file = FreeImage_Load(FreeImage_GetFileType(path.c_str()), path.c_str());
        if (file == nullptr) {
            return false;
        }
        FIBITMAP* rgb = FreeImage_ConvertTo24Bits(file);
        FreeImage_Unload(file);
        bitmap_.reset(rgb);
        width_ = static_cast<int>(FreeImage_GetWidth(rgb));
        height_ = static_cast<int>(FreeImage_GetHeight(rgb));
        tileSize_ = width_ / kColumns;
        return true;
    }

    int width() const { return width_; }
    int height() const { return height_; }
    int tileSize() const { return tileSize_; }

    Rgb pixel(int tile, int x, int y) const {
        const int column = tile % kColumns;
        const int row = tile / kColumns;
        const int sheetX = column * tileSize_ + x;
        const int sheetY = height_ - 1 - (row * tileSize_ + y);  // FreeImage rows are bottom first
        const BYTE* p = FreeImage_GetScanLine(bitmap_.get(), sheetY) + 3 * sheetX;
        return {static_cast<double>(p[FI_RGBA_RED]), static_cast<double>(p[FI_RGBA_GREEN]),
                static_cast<double>(p[FI_RGBA_BLUE])};
    }

    // The mean over a 9 x 9 patch around the tile's centre, so texture detail and
    // anti-aliasing do not decide a probe.
    Rgb centre(int tile) const {
        Rgb sum;
        for (int dy = -4; dy <= 4; ++dy) {
            for (int dx = -4; dx <= 4; ++dx) {
                Rgb c = pixel(tile, tileSize_ / 2 + dx, tileSize_ / 2 + dy);
                sum.r += c.r / 81;
                sum.g += c.g / 81;
                sum.b += c.b / 81;
            }
        }
        return sum;
    }

  private:
    struct Unload {
        void operator()(FIBITMAP* bitmap) const { FreeImage_Unload(bitmap); }
    };
    std::unique_ptr<FIBITMAP, Unload> bitmap_;
    int width_ = 0;
    int height_ = 0;
    int tileSize_ = 0;
};

// Renders once for the whole suite: the picture does not change between the probes.
class ContactSheet : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder_ = new TempDir;
        result_ = new ProcessResult(
            runProcess({ORBQUEST_CONTACTSHEET, folder_->file("sheet.png")}, ORBQUEST_SOURCE_DIR));
        sheet_ = new Sheet;
        loaded_ = result_->exitCode == 0 && sheet_->load(folder_->file("sheet.png"));
    }
    static void TearDownTestSuite() {
        delete sheet_;
        delete result_;
        delete folder_;
    }
    void SetUp() override {
        ASSERT_EQ(result_->exitCode, 0) << result_->output;
        ASSERT_TRUE(loaded_);
        ASSERT_EQ(sheet_->height(), kRows * sheet_->tileSize()) << "tiles are not square";
    }

    const Sheet& sheet() const { return *sheet_; }

  private:
    static TempDir* folder_;
    static ProcessResult* result_;
    static Sheet* sheet_;
    static bool loaded_;
};

TempDir* ContactSheet::folder_ = nullptr;
ProcessResult* ContactSheet::result_ = nullptr;
Sheet* ContactSheet::sheet_ = nullptr;
bool ContactSheet::loaded_ = false;

TEST_F(ContactSheet, EveryTileShowsAModelInsideItsBorders) {
    const int last = sheet().tileSize() - 4;
    for (int tile = 0; tile < kTileCount; ++tile) {
        SCOPED_TRACE(tile);
        const Rgb middle = sheet().centre(tile);
        EXPECT_FALSE(isClear(middle)) << "nothing drawn in the middle: " << middle;
        // A model reaching a corner would be cut off by the tile border.
        for (int x : {3, last}) {
            for (int y : {3, last}) {
                const Rgb corner = sheet().pixel(tile, x, y);
                EXPECT_TRUE(isClear(corner)) << "at " << x << ", " << y << ": " << corner;
            }
        }
    }
}

// The face balls are drawn with the warm material, which turns the yellow fill amber.
TEST_F(ContactSheet, FaceBallsShowTheirOwnFillColours) {
    const Rgb yellow = sheet().centre(kYellowBall);
    EXPECT_GT(yellow.r, 100) << yellow;
    EXPECT_GT(yellow.g, 0.5 * yellow.r) << yellow;
    EXPECT_LT(yellow.g, 0.85 * yellow.r) << yellow;
    EXPECT_LT(yellow.b, 0.4 * yellow.g) << yellow;

    const Rgb red = sheet().centre(kRedBall);
    EXPECT_GT(red.r, 100) << red;
    EXPECT_LT(red.g, 0.4 * red.r) << red;
    EXPECT_LT(red.b, 0.4 * red.r) << red;

    const Rgb green = sheet().centre(kGreenBall);
    EXPECT_GT(green.g, 1.2 * green.r) << green;
    EXPECT_GT(green.g, 2.0 * green.b) << green;
}

// Bare wood is clearly redder than green. Under the see-through water it turns about as green
// as red; opaque water would be clearly greener, since the warm material keeps little blue.
TEST_F(ContactSheet, WoodIsBrownAndShowsThroughThePuddle) {
    const Rgb wood = sheet().centre(kWoodBlock);
    EXPECT_GT(wood.r, wood.g) << wood;
    EXPECT_GT(wood.g, wood.b) << wood;
    EXPECT_LT(wood.g, 0.7 * wood.r) << wood;

    const Rgb water = sheet().centre(kPuddle);
    EXPECT_GT(water.g, 0.9 * water.r) << "no water over the wood: " << water;
    EXPECT_LT(water.g, 1.15 * water.r) << "the water hides the wood: " << water;
}

// colour.png gives the duck a yellow body and an orange beak; both must show, in roughly
// the share of the picture they take.
TEST_F(ContactSheet, DuckShowsAYellowBodyAndAnOrangeBeak) {
    int body = 0;
    int beak = 0;
    for (int y = 0; y < sheet().tileSize(); ++y) {
        for (int x = 0; x < sheet().tileSize(); ++x) {
            const Rgb c = sheet().pixel(kDuck, x, y);
            if (isClear(c) || c.r < 40) {
                continue;
            }
            const double greenShare = c.g / c.r;
            body += greenShare > 0.8 && greenShare < 1.0 && c.b < 0.6 * c.g ? 1 : 0;
            beak += greenShare > 0.35 && greenShare < 0.6 && c.b < 0.3 * c.r ? 1 : 0;
        }
    }
    const int area = sheet().tileSize() * sheet().tileSize();
    EXPECT_GT(body, area / 8);
    EXPECT_GT(beak, area / 400);
    EXPECT_LT(beak, body / 5) << "more beak than duck";
}

TEST(ContactSheetProgram, FailsWhenThePictureCannotBeWritten) {
    TempDir folder;
    const std::string path = folder.file("missing-folder/sheet.png");
    const ProcessResult result = runProcess({ORBQUEST_CONTACTSHEET, path}, ORBQUEST_SOURCE_DIR);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.output.find("cannot write " + path), std::string::npos) << result.output;
}

}  // namespace
