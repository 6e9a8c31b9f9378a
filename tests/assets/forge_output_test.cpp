// Checks what the forge wrote into the build: every file the game opens is
// there with the size, layout and format it expects, and the embedded copies
// match the files.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "assets/catalogue.h"
#include "assets/embedded_resources.h"
#include "tests/assets/image_reader.h"

namespace {

namespace asset = lumcrest::asset;
using forge_test::Image;
using forge_test::le16;
using forge_test::le32;

const std::string kRoot = LUMCREST_FORGE_DIR;
std::string embedded(const std::string& name) {
    return kRoot + "/embedded/" + name;
}
std::string data(const std::string& name) {
    return kRoot + "/data/" + name;
}

bool haveTool(const char* tool) {
    const std::string cmd = std::string("command -v ") + tool + " >/dev/null 2>&1";
    return std::system(cmd.c_str()) == 0;
}

using ImageList = asset::FrameList;

constexpr ImageList kImageLists[] = {asset::kGems,         asset::kGlints,     asset::kSheens,
                                     asset::kWaveLights,   asset::kCracks,     asset::kBursts,
                                     asset::kJar,          asset::kJarGrounds, asset::kMenuButton,
                                     asset::kVolumeLights, asset::kPushFace,   asset::kPushFaceLow};
// The gems' own lists: every frame a whole gem.
constexpr ImageList kGemLists[] = {asset::kGems, asset::kGlints, asset::kSheens, asset::kWaveLights,
                                   asset::kCracks};

// Every pixel of frame I of a list, as (x, y) in the whole picture.
template <typename F>
void forEachPixel(const ImageList& list, int i, F&& f) {
    const int x0 = (i % 4) * list.frameWidth, y0 = (i / 4) * list.frameHeight;
    for (int y = 0; y < list.frameHeight; ++y)
        for (int x = 0; x < list.frameWidth; ++x) f(x0 + x, y0 + y);
}

TEST(ImageLists, AreFourFramesPerRowWithRealAlpha) {
    for (const auto& list : kImageLists) {
        SCOPED_TRACE(list.file);
        const Image img = forge_test::readPng(embedded(list.file));
        ASSERT_GT(img.width, 0) << "missing or unreadable";
        EXPECT_EQ(img.channels, 4);
        EXPECT_EQ(img.width, 4 * list.frameWidth);
        EXPECT_EQ(img.height, (list.frames + 3) / 4 * list.frameHeight);
    }
}

TEST(ImageLists, GemFramesCoverTheWholeCell) {
    // A gem drawn over another in the same cell must hide it: every gem frame
    // is opaque edge to edge.
    for (const auto& list : kGemLists) {
        SCOPED_TRACE(list.file);
        const Image img = forge_test::readPng(embedded(list.file));
        ASSERT_GT(img.width, 0);
        for (int i = 0; i < list.frames; ++i) {
            int notOpaque = 0;
            forEachPixel(list, i, [&](int x, int y) { notOpaque += img.alpha(x, y) != 255; });
            EXPECT_EQ(notOpaque, 0) << "frame " << i;
        }
    }
}

TEST(ImageLists, GemKindsLookDifferent) {
    const ImageList list = asset::kGems;
    const Image img = forge_test::readPng(embedded(list.file));
    ASSERT_GT(img.width, 0);
    // Mean colour of the middle of each ordinary kind's ball.
    std::vector<std::array<double, 3>> means;
    for (int v = 1; v <= asset::kGemKinds; ++v) {
        std::array<double, 3> sum{};
        for (int y = 12; y < 36; ++y)
            for (int x = 12; x < 36; ++x)
                for (int c = 0; c < 3; ++c) sum[c] += img.at((v % 4) * 48 + x, (v / 4) * 48 + y)[c];
        for (auto& s : sum) s /= 24 * 24;
        means.push_back(sum);
    }
    for (std::size_t a = 0; a < means.size(); ++a)
        for (std::size_t b = a + 1; b < means.size(); ++b) {
            const double d = std::hypot(means[a][0] - means[b][0], means[a][1] - means[b][1],
                                        means[a][2] - means[b][2]);
            EXPECT_GT(d, 25) << "kinds " << a + 1 << " and " << b + 1 << " are too alike";
        }
}

TEST(ImageLists, GemKindsDifferInGreyToo) {
    // A colour-blind player tells the kinds apart by their symbols: the
    // brightness pattern of the middle of the ball, with each gem's own mean
    // and contrast taken out, must differ between every two ordinary kinds.
    const Image img = forge_test::readPng(embedded(asset::kGems.file));
    ASSERT_GT(img.width, 0);
    constexpr int kFrom = 10, kTo = 38, kN = (kTo - kFrom) * (kTo - kFrom);
    std::vector<std::vector<double>> patterns;
    for (int v = 1; v <= asset::kGemKinds; ++v) {
        std::vector<double> p;
        for (int y = kFrom; y < kTo; ++y)
            for (int x = kFrom; x < kTo; ++x) {
                const unsigned char* px = img.at((v % 4) * 48 + x, (v / 4) * 48 + y);
                p.push_back(0.299 * px[0] + 0.587 * px[1] + 0.114 * px[2]);
            }
        double mean = 0, var = 0;
        for (double l : p) mean += l / kN;
        for (double l : p) var += (l - mean) * (l - mean) / kN;
        EXPECT_GT(std::sqrt(var), 12.0) << "kind " << v << " has too faint a pattern";
        for (double& l : p) l = (l - mean) / std::sqrt(var);
        patterns.push_back(p);
    }
    for (std::size_t a = 0; a < patterns.size(); ++a)
        for (std::size_t b = a + 1; b < patterns.size(); ++b) {
            double correlation = 0;
            for (int i = 0; i < kN; ++i) correlation += patterns[a][i] * patterns[b][i] / kN;
            EXPECT_LT(correlation, 0.8)
                << "kinds " << a + 1 << " and " << b + 1 << " look alike in grey";
        }
}

TEST(ImageLists, BurstFramesAreEmptyWhereTheGameShowsNothing) {
    const ImageList list = asset::kBursts;
    const Image img = forge_test::readPng(embedded(list.file));
    ASSERT_GT(img.width, 0);
    for (int i = 0; i < list.frames; ++i) {
        const bool used = (i % 10 >= 2 && i % 10 <= 6 && i < 30) || (i >= 32 && i <= 34);
        int visible = 0;
        forEachPixel(list, i, [&](int x, int y) { visible += img.alpha(x, y) != 0; });
        if (used)
            EXPECT_GT(visible, 100) << "frame " << i;
        else
            EXPECT_EQ(visible, 0) << "frame " << i;
    }
}

TEST(ImageLists, JarStandsOnATransparentGround) {
    const ImageList list = asset::kJar;
    const Image img = forge_test::readPng(embedded(list.file));
    ASSERT_GT(img.width, 0);
    EXPECT_EQ(img.alpha(0, 0), 0);
    EXPECT_EQ(img.alpha(99, 0), 0);
    EXPECT_EQ(img.alpha(0, 99), 0);
    EXPECT_GT(img.alpha(50, 70), 200);
    // The celebration adds light above the jar.
    int atRest = 0, celebrating = 0;
    forEachPixel(list, 0, [&](int x, int y) { atRest += y % 100 < 28 && img.alpha(x, y) > 0; });
    forEachPixel(list, 10,
                 [&](int x, int y) { celebrating += y % 100 < 28 && img.alpha(x, y) > 0; });
    EXPECT_EQ(atRest, 0);
    EXPECT_GT(celebrating, 300);
}

TEST(ImageLists, MenuButtonListLeavesItsFourthSlotEmpty) {
    const ImageList list = asset::kMenuButton;
    const Image img = forge_test::readPng(embedded(list.file));
    ASSERT_GT(img.width, 0);
    int visible = 0;
    for (int y = 0; y < 56; ++y)
        for (int x = 3 * 135; x < 4 * 135; ++x) visible += img.alpha(x, y) != 0;
    EXPECT_EQ(visible, 0);
    EXPECT_EQ(img.alpha(135 / 2, 28), 255);
}

double luminance(const Image& img, int x, int y) {
    const unsigned char* p = img.at(x, y);
    return 0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2];
}

Image background(int b) {
    return forge_test::readPng(embedded(asset::kBackgrounds.file(b)));
}

TEST(Backgrounds, AreOpaqueAndTheJarCornersMatchThemExactly) {
    const Image jarbacks = forge_test::readPng(embedded(asset::kJarGrounds.file));
    ASSERT_EQ(jarbacks.width, 400);
    for (int b = 0; b < 6; ++b) {
        SCOPED_TRACE("background " + std::to_string(b));
        const Image bg = background(b);
        ASSERT_EQ(bg.width, 850);
        ASSERT_EQ(bg.height, 589);
        EXPECT_EQ(bg.channels, 3);
        int mismatches = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x) {
                const unsigned char* j = jarbacks.at((b % 4) * 100 + x, (b / 4) * 100 + y);
                const unsigned char* p = bg.at(x, y);
                mismatches += j[0] != p[0] || j[1] != p[1] || j[2] != p[2] || j[3] != 255;
            }
        EXPECT_EQ(mismatches, 0);
    }
}

TEST(Backgrounds, CarryTheRestingJarTheCelebrationEndsOn) {
    // The jar stands in every background from the start; the celebration ends
    // by drawing jar frame 0 over its corner, which must then look the same.
    const Image jar = forge_test::readPng(embedded(asset::kJar.file));
    const Image jarbacks = forge_test::readPng(embedded(asset::kJarGrounds.file));
    ASSERT_EQ(jar.width, 400);
    ASSERT_EQ(jarbacks.width, 400);
    for (int b = 0; b < 6; ++b) {
        int changed = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x) {
                const unsigned char* j = jar.at(x, y);
                const unsigned char* g = jarbacks.at((b % 4) * 100 + x, (b / 4) * 100 + y);
                for (int c = 0; c < 3; ++c) {
                    const double over = (j[c] * j[3] + g[c] * (255 - j[3])) / 255.0;
                    if (std::fabs(over - g[c]) > 24) {
                        ++changed;
                        break;
                    }
                }
            }
        EXPECT_LT(changed, 100) << "background " << b;
    }
}

TEST(Backgrounds, MarkEveryCellUnderItsGem) {
    // The empty well must show where each cell is: the middle of every cell
    // looks alike and differs clearly from the glass where four cells meet.
    for (int b = 0; b < 6; ++b) {
        SCOPED_TRACE("background " + std::to_string(b));
        const Image bg = background(b);
        ASSERT_EQ(bg.width, 850);
        int darkerInside = 0, lighterInside = 0;
        for (int c = 1; c <= 10; ++c)
            for (int r = 1; r <= 10; ++r) {
                const int x0 = 60 + 48 * c, y0 = 520 - 48 * r;
                double inside = 0;
                for (int a = 0; a < 16; ++a) {
                    const double t = a * M_PI / 8;
                    inside +=
                        luminance(bg, x0 + 24 + static_cast<int>(std::lround(11 * std::cos(t))),
                                  y0 + 24 + static_cast<int>(std::lround(11 * std::sin(t))));
                }
                inside /= 16;
                const double between =
                    (luminance(bg, x0 + 1, y0 + 1) + luminance(bg, x0 + 46, y0 + 1) +
                     luminance(bg, x0 + 1, y0 + 46) + luminance(bg, x0 + 46, y0 + 46)) /
                    4;
                EXPECT_GT(std::fabs(inside - between), 8.0) << "cell " << c << ", " << r;
                (inside < between ? darkerInside : lighterInside) += 1;
            }
        EXPECT_TRUE(darkerInside == 100 || lighterInside == 100)
            << "markers differ from cell to cell";
    }
}

// Largest luminance step between neighbouring pixels in a rectangle: lettering
// has sharp edges, smooth ground has none.
double sharpestEdge(const Image& img, int left, int top, int right, int bottom) {
    double sharpest = 0;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) {
            const double l = luminance(img, x, y);
            if (x < right) sharpest = std::max(sharpest, std::fabs(l - luminance(img, x + 1, y)));
            if (y < bottom) sharpest = std::max(sharpest, std::fabs(l - luminance(img, x, y + 1)));
        }
    return sharpest;
}

TEST(Backgrounds, LeavePlainGroundWhereTheGameWrites) {
    // The MENU button, the score and the level captions are drawn over the
    // picture: nothing of the picture may show through or around them there.
    const struct {
        const char* what;
        int left, top, right, bottom;
    } places[] = {{"MENU button", 664, 531, 799, 587},
                  {"score", 678, 256, 822, 292},
                  {"level word", 678, 432, 745, 468},
                  {"level number", 758, 432, 826, 468}};
    for (int b = 0; b < 6; ++b) {
        const Image bg = background(b);
        ASSERT_EQ(bg.width, 850);
        for (const auto& p : places)
            EXPECT_LT(sharpestEdge(bg, p.left, p.top, p.right, p.bottom), 10.0)
                << p.what << " on background " << b;
    }
}

TEST(Backgrounds, HaveTheProgressTubeWhereTheBarRises) {
    // The fill bar is drawn on x 47..60 from y 465 up to y 98: the tube's dark
    // channel lies exactly under it, framed by lighter glass on both sides.
    for (int b = 0; b < 6; ++b) {
        SCOPED_TRACE("background " + std::to_string(b));
        const Image bg = background(b);
        ASSERT_EQ(bg.width, 850);
        for (int y = 100; y <= 465; y += 5) {
            double channel = 0;
            for (int x = 47; x <= 60; ++x) channel = std::max(channel, luminance(bg, x, y));
            EXPECT_LT(channel, 20) << "y " << y;
        }
        EXPECT_GT(luminance(bg, 42, 300), luminance(bg, 50, 300) + 10);
    }
}

TEST(Backgrounds, AreDifferentScenes) {
    std::vector<Image> bgs;
    for (int b = 0; b < 6; ++b)
        bgs.push_back(forge_test::readPng(embedded(asset::kBackgrounds.file(b))));
    for (std::size_t a = 0; a < bgs.size(); ++a)
        for (std::size_t b = a + 1; b < bgs.size(); ++b) {
            ASSERT_EQ(bgs[a].rgba.size(), bgs[b].rgba.size());
            double diff = 0;
            for (std::size_t i = 0; i < bgs[a].rgba.size(); i += 4 * 7)
                diff += std::abs(bgs[a].rgba[i] - bgs[b].rgba[i]) +
                        std::abs(bgs[a].rgba[i + 2] - bgs[b].rgba[i + 2]);
            EXPECT_GT(diff / (bgs[a].rgba.size() / 28.0), 4.0) << a << " vs " << b;
        }
}

// Every picture's size is checked against the catalogue (catalogue_test.cpp).
TEST(Pictures, TheIconIsAGemOnNothing) {
    const Image icon = forge_test::readPng(embedded(asset::kWindowIcon.file));
    ASSERT_EQ(icon.width, 64);
    EXPECT_EQ(icon.channels, 4);
    EXPECT_EQ(icon.alpha(0, 0), 0);
    EXPECT_EQ(icon.alpha(32, 32), 255);
}

TEST(Pictures, NameBoxOfTheWelcomePictureIsBlack) {
    const Image img = forge_test::readJpeg(embedded(asset::kNamePanel.file));
    ASSERT_EQ(img.width, 452);
    int bright = 0;
    for (int y = 210; y < 230; ++y)
        for (int x = 148; x < 321; ++x)
            bright += img.at(x, y)[0] + img.at(x, y)[1] + img.at(x, y)[2] > 60;
    EXPECT_EQ(bright, 0);
}

TEST(Pictures, ImageMagickReadsEveryPicture) {
    if (!haveTool("identify")) GTEST_SKIP() << "ImageMagick's identify is not installed";
    for (const auto& dir : {kRoot + "/embedded", kRoot + "/data"})
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".png" && ext != ".jpg" && ext != ".bmp") continue;
            const std::string cmd = "identify '" + entry.path().string() + "' >/dev/null 2>&1";
            EXPECT_EQ(std::system(cmd.c_str()), 0) << entry.path();
        }
}

TEST(Buttons, AreUncompressed24BitBitmapsOfTheirButtonSize) {
    for (const auto& b : asset::kButtons)
        for (int s = 0; s < b.count; ++s) {
            const std::string name = b.file(s);
            SCOPED_TRACE(name);
            const int w = b.width, h = b.height;
            const auto bytes = forge_test::readFile(data(name));
            ASSERT_GE(bytes.size(), 54u);
            EXPECT_EQ(bytes[0], 'B');
            EXPECT_EQ(bytes[1], 'M');
            const std::uint32_t row = (w * 3 + 3) & ~3u;
            EXPECT_EQ(le32(bytes, 2), bytes.size());
            EXPECT_EQ(le32(bytes, 10), 54u);
            EXPECT_EQ(le32(bytes, 14), 40u);
            EXPECT_EQ(static_cast<int>(le32(bytes, 18)), w);
            EXPECT_EQ(static_cast<int>(le32(bytes, 22)), h);  // positive: bottom-up
            EXPECT_EQ(le16(bytes, 28), 24);
            EXPECT_EQ(le32(bytes, 30), 0u);
            EXPECT_EQ(bytes.size(), 54 + row * h);
        }
}

TEST(Buttons, BackIsKeyedOnMagentaAroundAnOpaqueFace) {
    for (int s = 0; s < 4; ++s) {
        const auto bytes = forge_test::readFile(data(asset::kBackButton.file(s)));
        ASSERT_EQ(bytes.size(), 54u + 408u * 56u);
        auto pixel = [&](int x, int yFromBottom) { return &bytes[54 + yFromBottom * 408 + x * 3]; };
        const unsigned char* key = pixel(0, 0);  // bottom-left
        EXPECT_EQ(key[0], 255);
        EXPECT_EQ(key[1], 0);
        EXPECT_EQ(key[2], 255);
        const unsigned char* middle = pixel(67, 28);
        EXPECT_FALSE(middle[0] == 255 && middle[1] == 0 && middle[2] == 255);
        const unsigned char* topRight = pixel(134, 55);
        EXPECT_TRUE(topRight[0] == 255 && topRight[1] == 0 && topRight[2] == 255);
    }
}

TEST(Sounds, AreShortCleanPcmAtOneLoudness) {
    std::vector<const char*> names;
    for (const auto& effect : asset::kEffects) names.push_back(effect.file);
    names.push_back(asset::kBeep.file);
    double quietest = 0, loudest = -100, beepDb = 0;
    for (const char* name : names) {
        SCOPED_TRACE(name);
        const auto b = forge_test::readFile(data(name));
        ASSERT_GE(b.size(), 44u);
        EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
        EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 16), "WAVEfmt ");
        EXPECT_EQ(le16(b, 20), 1);  // PCM
        const int channels = le16(b, 22);
        EXPECT_TRUE(channels == 1 || channels == 2);
        EXPECT_EQ(le32(b, 24), 44100u);
        EXPECT_EQ(le16(b, 34), 16);
        EXPECT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data");
        const std::size_t bytes = le32(b, 40);
        ASSERT_EQ(bytes + 44, b.size());
        const double seconds = bytes / 2.0 / channels / 44100.0;
        EXPECT_GT(seconds, 0.03);
        EXPECT_LT(seconds, 3.0);
        const std::size_t n = bytes / 2;
        auto sample = [&](std::size_t i) { return static_cast<std::int16_t>(le16(b, 44 + 2 * i)); };
        EXPECT_LT(std::abs(sample(0)), 200) << "click at the start";
        EXPECT_LT(std::abs(sample(n - 1)), 200) << "click at the end";
        int peak = 0;
        for (std::size_t i = 0; i < n; ++i)
            peak = std::max(peak, std::abs(static_cast<int>(sample(i))));
        // Headroom left: no peak pressed against full scale by clipping.
        EXPECT_LT(peak, 0.995 * 32767) << "clipped";
        EXPECT_GT(peak, 2000) << "too quiet";
        // Loudness: RMS of the loudest 300 ms (mono sum).
        const std::size_t frames = n / channels, window = std::min<std::size_t>(frames, 13230);
        double sum = 0, best = 0;
        auto frame = [&](std::size_t f) {
            double v = 0;
            for (int c = 0; c < channels; ++c) v += sample(f * channels + c) / 32768.0 / channels;
            return v * v;
        };
        for (std::size_t f = 0; f < frames; ++f) {
            sum += frame(f);
            if (f >= window) sum -= frame(f - window);
            best = std::max(best, sum);
        }
        const double db = 10 * std::log10(best / window);
        if (name == std::string(asset::kBeep.file)) {
            beepDb = db;
        } else {
            quietest = std::min(quietest, db);
            loudest = std::max(loudest, db);
        }
    }
    // The levels by role are held by the loudness meter (sound_measure_test):
    // the pointer's sounds lowest, the rewards some 14 dB over them.
    EXPECT_LT(loudest - quietest, 20.0) << "effects differ wildly in loudness";
    if (haveTool("sox"))
        for (const char* name : names) {
            const std::string cmd = "sox '" + data(name) + "' -n stat >/dev/null 2>&1";
            EXPECT_EQ(std::system(cmd.c_str()), 0) << name << " is not read by sox";
        }
    EXPECT_LT(beepDb, quietest) << "the beep should be the softest";
}

// An MP3 as decoded by mpg123 (which trims the encoder's delay and padding):
// its length, its loudest sample and the loudest sample of its last quarter second; seconds is -1
// when it cannot be decoded.
struct Decoded {
    double seconds = -1;
    int peak = 0;
    int tailPeak = 0;
};

Decoded decode(const std::string& path) {
    Decoded d;
    const std::string cmd = "mpg123 -q -s '" + path + "' 2>/dev/null";
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return d;
    std::vector<std::int16_t> samples;
    std::int16_t buf[32768];
    for (std::size_t n; (n = std::fread(buf, 2, std::size(buf), p)) > 0;)
        samples.insert(samples.end(), buf, buf + n);
    if (pclose(p) != 0) return d;
    d.seconds = samples.size() / 2.0 / 44100.0;
    // The tail: the half second before the last second (stereo samples), ahead of the rest
    // a track closes on.
    const std::size_t second = 2 * 44100;
    const std::size_t tail = samples.size() - std::min(samples.size(), 3 * second / 2),
                      tailEnd = samples.size() - std::min(samples.size(), second);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const int v = std::abs(static_cast<int>(samples[i]));
        d.peak = std::max(d.peak, v);
        if (i >= tail && i < tailEnd) d.tailPeak = std::max(d.tailPeak, v);
    }
    return d;
}

// The samples an MP3 holds by its LAME tag: every frame's 1152 less the
// encoder's delay at the start and its padding at the end, which players trim;
// -1 without the tag.
long taggedSamples(const std::vector<unsigned char>& b) {
    const std::string head(b.begin(), b.begin() + std::min<std::size_t>(b.size(), 1000));
    const std::size_t info = head.find("Info"), lame = head.find("LAME");
    if (info == std::string::npos || lame == std::string::npos || lame + 24 > head.size())
        return -1;
    if (!(b[info + 7] & 1)) return -1;  // no frame count
    const long frames = long(b[info + 8]) << 24 | long(b[info + 9]) << 16 |
                        long(b[info + 10]) << 8 | long(b[info + 11]);
    const long delay = long(b[lame + 21]) << 4 | b[lame + 22] >> 4;
    const long padding = long(b[lame + 22] & 15) << 8 | b[lame + 23];
    return frames * 1152 - delay - padding;
}

TEST(Music, TracksAreStereoMp3OfTheirLength) {
    const struct {
        const char* name;
        double low, high;
    } tracks[] = {{asset::kMenuMusic.file, 69.8, 69.9}, {asset::kGameMusic.file, 242.8, 242.9}};
    for (const auto& t : tracks) {
        SCOPED_TRACE(t.name);
        const auto b = forge_test::readFile(data(t.name));
        ASSERT_GT(b.size(), 4u);
        // First frame header: MPEG-1 layer III, 44.1 kHz, not mono.
        EXPECT_EQ(b[0], 0xFF);
        EXPECT_EQ(b[1] & 0xFE, 0xFA);
        EXPECT_EQ((b[2] >> 2) & 3, 0);
        EXPECT_NE(b[3] >> 6, 3);
        // At 128 kbit/s the size alone bounds the length.
        const double seconds = b.size() * 8.0 / 128000.0;
        EXPECT_GT(seconds, t.low - 1);
        EXPECT_LT(seconds, t.high + 1);
        // Gapless: the tag tells the exact length, to the sample.
        EXPECT_GT(taggedSamples(b), t.low * 44100);
        EXPECT_LT(taggedSamples(b), t.high * 44100);
        if (haveTool("mpg123")) {
            const Decoded d = decode(data(t.name));
            EXPECT_GT(d.seconds, t.low);
            EXPECT_LT(d.seconds, t.high);
            EXPECT_LT(d.peak, 32767) << "clipped";
            EXPECT_GT(d.peak, 4000) << "too quiet";
            // Music up to its closing rest, not faded out: it leads into the first bar.
            EXPECT_GT(d.tailPeak, 2000) << "fades out at the end";
        }
    }
}

TEST(WebPage, WorksOfflineAndTellsTheKeys) {
    // The page is opened as a file address: anything fetched from elsewhere
    // would be missing on a machine without a network.
    const auto b = forge_test::readFile(data(asset::kWebPage.file));
    const std::string page(b.begin(), b.end());
    EXPECT_NE(page.find("<html"), std::string::npos);
    EXPECT_NE(page.find("</html>"), std::string::npos);
    for (const char* outside : {"http:", "https:", "//", "src=", "<link", "url(", "@import"})
        EXPECT_EQ(page.find(outside), std::string::npos) << outside;
    for (const char* key : {"Left Arrow", "Right Arrow", "Down Arrow", "Space bar", "launch"})
        EXPECT_NE(page.find(key), std::string::npos) << key;
}

TEST(Embedded, EveryFileIsBuiltInByteForByte) {
    const auto files = lumcrest::assets::embeddedFiles();
    std::size_t onDisk = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kRoot + "/embedded")) {
        ++onDisk;
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        const auto* file = lumcrest::assets::findEmbedded(name);
        ASSERT_NE(file, nullptr);
        const auto bytes = forge_test::readFile(entry.path().string());
        ASSERT_EQ(file->size, bytes.size());
        EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), file->data));
    }
    EXPECT_EQ(files.size(), onDisk);
    EXPECT_EQ(lumcrest::assets::findEmbedded("no-such-picture.png"), nullptr);
    EXPECT_EQ(lumcrest::assets::findEmbedded(""), nullptr);
    EXPECT_EQ(lumcrest::assets::findEmbedded("Blockimage.pn"), nullptr);
}

}  // namespace

namespace {

const char* const kLanguages[] = {"de", "fr", "es", "it", "pt_BR", "nl", "pl", "ru"};

// Every picture that carries words, and the web page; the rest has none and is not drawn again.
std::vector<std::string> picturesWithWords() {
    std::vector<std::string> names;
    for (const auto& e : asset::everyFile())
        if (e.words) names.push_back(std::filesystem::path(e.path).filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string english(const std::string& name) {
    return std::filesystem::exists(data(name)) ? data(name) : embedded(name);
}

}  // namespace

TEST(Languages, EveryPictureWithWordsIsDrawnForEveryLanguageAndNothingElse) {
    const auto wanted = picturesWithWords();
    for (const char* lang : kLanguages) {
        SCOPED_TRACE(lang);
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(kRoot + "/data/" + lang))
            found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        EXPECT_EQ(found, wanted);
        for (const auto& name : wanted) {
            SCOPED_TRACE(name);
            const std::string path = kRoot + "/data/" + lang + "/" + name;
            const auto ext = std::filesystem::path(name).extension();
            // The same size as the English picture, so the game lays it out alike.
            if (ext == ".jpg") {
                const Image ours = forge_test::readJpeg(path),
                            en = forge_test::readJpeg(english(name));
                EXPECT_EQ(ours.width, en.width);
                EXPECT_EQ(ours.height, en.height);
            } else if (ext == ".png") {
                const Image ours = forge_test::readPng(path),
                            en = forge_test::readPng(english(name));
                EXPECT_EQ(ours.width, en.width);
                EXPECT_EQ(ours.height, en.height);
            } else if (ext == ".bmp") {
                EXPECT_EQ(forge_test::readFile(path).size(),
                          forge_test::readFile(english(name)).size());
            }
        }
        // The words are the language's own.
        for (const std::string& name :
             {std::string(asset::kHelpPage.file), std::string(asset::kNamePanel.file),
              std::string(asset::kAboutPicture.file), asset::kNewButton.file(0),
              asset::kHighScoresButton.file(0), std::string(asset::kWebPage.file)})
            EXPECT_NE(forge_test::readFile(kRoot + "/data/" + lang + "/" + name),
                      forge_test::readFile(english(name)))
                << name;
    }
}

TEST(Languages, TheWebPageIsTranslatedWhole) {
    const auto englishPage = forge_test::readFile(data(asset::kWebPage.file));
    for (const char* lang : kLanguages) {
        SCOPED_TRACE(lang);
        const auto bytes = forge_test::readFile(kRoot + "/data/" + lang + "/lumcrest.html");
        const std::string page(bytes.begin(), bytes.end());
        std::string code = lang;
        std::replace(code.begin(), code.end(), '_', '-');
        EXPECT_NE(page.find("<html lang=\"" + code + "\">"), std::string::npos);
        for (const char* english : {"Your bar of three gems", "How to play", "Credits",
                                    "Left Arrow or keypad 4", "gems of one kind"})
            EXPECT_EQ(page.find(english), std::string::npos) << english;
        EXPECT_EQ(page.find("</html>"), page.size() - 8);
    }
}

TEST(Languages, EveryPaintedTextFitsAndEnglishIsNeverShrunk) {
    const auto bytes = forge_test::readFile(kRoot + "/fit-report.txt");
    const std::string report(bytes.begin(), bytes.end());
    std::map<std::string, int> perLanguage;
    std::size_t pos = 0;
    while (pos < report.size()) {
        std::size_t end = report.find('\n', pos);
        if (end == std::string::npos) end = report.size();
        const std::string line = report.substr(pos, end - pos);
        pos = end + 1;
        const std::string lang = line.substr(0, line.find(' '));
        ++perLanguage[lang];
        EXPECT_EQ(line.find(" OVERFLOW "), std::string::npos) << line;
        if (lang == "en") {
            EXPECT_EQ(line.find(" shrunk "), std::string::npos) << line;
        }
    }
    // Every language measured as many texts as English.
    ASSERT_GT(perLanguage["en"], 40);
    for (const char* lang : kLanguages) EXPECT_EQ(perLanguage[lang], perLanguage["en"]) << lang;
}

namespace {

// The help page's key lines (baselines) and their two columns.
constexpr int kKeyLines[] = {440, 466};
constexpr int kKeysLeft = 34, kKeysRight = 617, kKeysMiddle = 309;

enum class Hue { Green, Red, Blue };
bool ofHue(const unsigned char* p, Hue h) {
    const int r = p[0], g = p[1], b = p[2];
    switch (h) {
        case Hue::Green: return g >= 120 && g > r + 50 && g > b + 50;
        case Hue::Red: return r >= 150 && r > g + 80 && r > b + 80;
        case Hue::Blue: return b >= 150 && b > r + 80 && b > g + 30;
    }
    return false;
}

// Pixels of hue H in the band of the key line at BASELINE between columns X0 and X1.
int inBand(const Image& img, Hue h, int baseline, int x0, int x1) {
    int n = 0;
    for (int y = baseline - 16; y <= baseline + 7; ++y)
        for (int x = x0; x < x1; ++x) n += ofHue(img.at(x, y), h);
    return n;
}

// Pixels in the middle of a solid patch of the keys' yellow (all nine of a 3 x 3 block): the lit
// arms of the D-pad. The keys' own labels are strokes too thin for it.
int solidYellow(const Image& img, int baseline, int x0, int x1) {
    auto yellow = [&](int x, int y) {
        const unsigned char* p = img.at(x, y);
        return p[0] >= 200 && p[1] >= 185 && p[2] <= 170;
    };
    int n = 0;
    for (int y = baseline - 15; y <= baseline + 6; ++y)
        for (int x = x0 + 1; x < x1 - 1; ++x) {
            bool all = true;
            for (int dy = -1; dy <= 1 && all; ++dy)
                for (int dx = -1; dx <= 1 && all; ++dx) all = yellow(x + dx, y + dy);
            n += all;
        }
    return n;
}

}  // namespace

// Beside the keys of each action the help page shows the controller's buttons, in every language:
// a D-pad with its lit arm on every key line, B and X beside the turn's keys and A beside the
// launch's, each letter in its button's colour.
TEST(HelpPage, ShowsTheControllersButtonsBesideTheKeysInEveryLanguage) {
    std::vector<std::string> pages = {english(asset::kHelpPage.file)};
    for (const char* lang : kLanguages)
        pages.push_back(kRoot + "/data/" + lang + "/" + asset::kHelpPage.file);
    const int turn = kKeyLines[0], launch = kKeyLines[1];
    for (const std::string& path : pages) {
        SCOPED_TRACE(path);
        const Image page = forge_test::readJpeg(path);
        ASSERT_EQ(page.width, asset::kHelpPage.width);
        const int pads[] = {solidYellow(page, turn, kKeysLeft, kKeysMiddle),
                            solidYellow(page, launch, kKeysLeft, kKeysMiddle),
                            solidYellow(page, turn, kKeysMiddle, kKeysRight),
                            solidYellow(page, launch, kKeysMiddle, kKeysRight)};
        const int b = inBand(page, Hue::Red, turn, kKeysMiddle, kKeysRight),
                  x = inBand(page, Hue::Blue, turn, kKeysMiddle, kKeysRight),
                  a = inBand(page, Hue::Green, launch, kKeysMiddle, kKeysRight);
        std::printf("  %s: B %d, X %d, A %d px; lit D-pad arms %d %d %d %d px\n",
                    path.substr(kRoot.size()).c_str(), b, x, a, pads[0], pads[1], pads[2], pads[3]);
        for (int n : pads) EXPECT_GE(n, 6);
        EXPECT_GE(b, 100);
        EXPECT_GE(x, 100);
        EXPECT_GE(a, 100);
        // Each colour only where its button is.
        EXPECT_LT(inBand(page, Hue::Green, turn, kKeysLeft, kKeysRight), 10);
        EXPECT_LT(inBand(page, Hue::Red, launch, kKeysLeft, kKeysRight), 10);
        EXPECT_LT(inBand(page, Hue::Blue, launch, kKeysLeft, kKeysRight), 10);
    }
}
