#include "toolkit/font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include <fcntl.h>
#include <hb-ft.h>
#include <hb.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <tuple>
#include <vector>

#include "toolkit/error.h"
#include "toolkit/font_lookup.h"
#include "toolkit/text_runs.h"

namespace tk {

namespace {

std::string& chosenFace() {
    static std::string face = "TeX Gyre Schola";
    return face;
}

// Families the layouts name, and the free faces that stand in for them here.
std::string substituteFamily(const std::string& family) {
    if (family == "Georgia") return chosenFace();
    return family;
}

struct FontKey {
    std::string file;
    int size;
    int style;
    bool operator<(const FontKey& o) const {
        return std::tie(file, size, style) < std::tie(o.file, o.size, o.style);
    }
};

enum : int { kSyntheticBold = 1, kSyntheticItalic = 2, kUnderline = 4 };
// The slant of synthetic italics: horizontal shift per unit of height.
constexpr float kItalicSlant = 0.207f;

// 26.6 fixed point, as FreeType measures.
constexpr long floor26(long v) {
    return (v & -64) / 64;
}
constexpr long ceil26(long v) {
    return ((v + 63) & -64) / 64;
}

// One face at one size, with the line metrics every text in it shares. Glyphs are hinted with
// the normal hinter and drawn anti-aliased; kerning and the face's standard ligatures apply.
struct SizedFace {
    FT_Face face = nullptr;
    hb_font_t* shaper = nullptr;
    int style = 0;
    int ascent = 0;
    int height = 0;
    int underlineTop = 0;  // first row of the underline
    int lineThickness = 1;
    int overhang = 0;  // pixels a synthetic bold glyph is widened by
    // A face of colour bitmaps (emoji) is drawn from its nearest size, scaled by this.
    bool colour = false;
    double scale = 1.0;

    ~SizedFace() {
        if (shaper) hb_font_destroy(shaper);
        if (face) FT_Done_Face(face);
    }
};

// A glyph's coverage bitmap and where it sits against the pen position, and the box it claims
// in a line (the outline's own box, widened for the synthetic styles).
struct Glyph {
    int left = 0, top = 0, width = 0, rows = 0;
    std::vector<std::uint8_t> coverage;
    std::vector<Argb> colours;  // a colour glyph's own pixels instead of a coverage
    int boxLeft = 0, boxTop = 0, boxWidth = 0;
};

struct PlacedGlyph {
    unsigned index;
    long x, y;  // 26.6 pen position of the glyph's origin
    SizedFace* face;
};

// BGRA pixels (premultiplied, as FreeType gives colour glyphs) scaled by SCALE into a glyph's
// colours, each target pixel the average of the source pixels under it.
void scaleColourBitmap(const FT_Bitmap& bitmap, double scale, Glyph& g) {
    const int sw = int(bitmap.width), sh = int(bitmap.rows);
    g.width = std::max(1, int(sw * scale + 0.5));
    g.rows = std::max(1, int(sh * scale + 0.5));
    g.colours.assign(std::size_t(g.width) * std::size_t(g.rows), 0);
    for (int ty = 0; ty < g.rows; ++ty) {
        const int y0 = std::min(sh - 1, int(ty / scale));
        const int y1 = std::max(y0 + 1, std::min(sh, int((ty + 1) / scale)));
        for (int tx = 0; tx < g.width; ++tx) {
            const int x0 = std::min(sw - 1, int(tx / scale));
            const int x1 = std::max(x0 + 1, std::min(sw, int((tx + 1) / scale)));
            unsigned long sum[4] = {0, 0, 0, 0};
            for (int y = y0; y < y1; ++y) {
                const std::uint8_t* row = bitmap.buffer + std::ptrdiff_t(y) * bitmap.pitch;
                for (int x = x0; x < x1; ++x)
                    for (int k = 0; k < 4; ++k) sum[k] += row[x * 4 + k];
            }
            const auto n = static_cast<unsigned long>((x1 - x0) * (y1 - y0));
            const unsigned long a = (sum[3] + n / 2) / n;
            if (a == 0) continue;
            const auto straight = [&](int k) {
                return std::min(255ul, (sum[k] * 255 + a * n / 2) / (a * n));
            };
            g.colours[std::size_t(ty) * std::size_t(g.width) + std::size_t(tx)] =
                Argb(a << 24 | straight(2) << 16 | straight(1) << 8 | straight(0));
        }
    }
}

// SRC laid over DST, both with straight alpha.
Argb over(Argb dst, Argb src) {
    const unsigned sa = src >> 24, da = dst >> 24;
    if (sa == 255 || da == 0) return src;
    if (sa == 0) return dst;
    const unsigned dw = da * (255 - sa) / 255, a = sa + dw;
    const auto mix = [&](int shift) {
        return ((((src >> shift) & 255) * sa + ((dst >> shift) & 255) * dw + a / 2) / a) << shift;
    };
    return (a << 24) | mix(16) | mix(8) | mix(0);
}

// A font file mapped once for every size and style drawn from it: each face FreeType opens on
// its own maps the whole file again, and every mapping counts its pages anew.
class MappedFont {
  public:
    explicit MappedFont(const std::string& file) {
        const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return;
        struct stat st {};
        bool noRoom = false;
        if (::fstat(fd, &st) == 0 && st.st_size > 0) {
            void* p = ::mmap(nullptr, std::size_t(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
            if (p != MAP_FAILED) {
                data_ = static_cast<const FT_Byte*>(p);
                size_ = std::size_t(st.st_size);
            }
            noRoom = p == MAP_FAILED && errno == ENOMEM;
        }
        ::close(fd);
        // No room left to map it: FreeType would fail alike, and blame the file.
        if (noRoom) throw std::bad_alloc();
    }
    ~MappedFont() {
        if (data_) ::munmap(const_cast<FT_Byte*>(data_), size_);
    }
    MappedFont(const MappedFont&) = delete;
    MappedFont& operator=(const MappedFont&) = delete;
    const FT_Byte* data() const { return data_; }
    FT_Long size() const { return FT_Long(size_); }

  private:
    const FT_Byte* data_ = nullptr;
    std::size_t size_ = 0;
};

class FontCache {
  public:
    ~FontCache() {
        fonts_.clear();
        if (library_) FT_Done_FreeType(library_);
    }

    SizedFace& get(const FontSpec& spec) {
        if (FT_Error err = library_ ? 0 : FT_Init_FreeType(&library_); err != 0) {
            library_ = nullptr;
            if (err == FT_Err_Out_Of_Memory) throw std::bad_alloc();  // said as what it is
            throw Error(tr("Font system failed: %s", "FreeType did not start"));
        }
        const std::string file = fileFor(spec);
        return sizedFace(file, spec, spec.underline ? kUnderline : 0);
    }

    // FILE at SPEC's size, standing in for SPEC's face where that lacks a letter.
    SizedFace& fallback(const std::string& file, const FontSpec& spec) {
        return sizedFace(file, spec, 0);
    }

    // FILE at SPEC's size and style (STYLE adds the underline).
    SizedFace& sizedFace(const std::string& file, const FontSpec& spec, int style) {
        // Faces without their own bold or italic file get the synthetic style.
        if (spec.bold && !hasOwnStyle(file, true, false)) style |= kSyntheticBold;
        if (spec.italic && !hasOwnStyle(file, false, true)) style |= kSyntheticItalic;
        int size = spec.pixelSize > 0 ? spec.pixelSize : 1;
        if (size > 400) size = 400;
        FontKey key{file, size, style};
        auto it = fonts_.find(key);
        if (it != fonts_.end()) return *it->second;
        auto sized = std::make_unique<SizedFace>();
        if (FT_Error err = openFace(file, sized->face); err != 0) {
            if (err == FT_Err_Out_Of_Memory) throw std::bad_alloc();  // the file is fine
            throw Error(tr("Cannot open font %s", file + ": FreeType cannot read it"));
        }
        FT_Face face = sized->face;
        if (FT_IS_SCALABLE(face)) {
            if (FT_Set_Char_Size(face, 0, size * 64, 0, 0) != 0)
                throw Error(tr("Cannot open font %s", file + ": no size " + std::to_string(size)));
            FT_Fixed scale = face->size->metrics.y_scale;
            sized->ascent = int(ceil26(FT_MulFix(face->ascender, scale)));
            sized->height = int(ceil26(FT_MulFix(face->ascender - face->descender, scale)));
            int underlineOffset = int(floor26(FT_MulFix(face->underline_position, scale)));
            sized->lineThickness = int(floor26(FT_MulFix(face->underline_thickness, scale)));
            sized->underlineTop = sized->ascent - underlineOffset - 1;
        } else {
            selectStrike(*sized, file, size);
        }
        if (sized->lineThickness < 1) sized->lineThickness = 1;
        // An underline reaching below the line makes the line taller.
        if (style & kUnderline)
            sized->height = std::max(sized->height, sized->underlineTop + sized->lineThickness);
        // Colour glyphs are drawn as they are, never smeared or slanted.
        sized->style = sized->colour ? (style & kUnderline) : style;
        sized->overhang = face->size->metrics.y_ppem / 10;
        sized->shaper = hb_ft_font_create_referenced(face);
        hb_ft_font_set_load_flags(sized->shaper, FT_LOAD_DEFAULT | FT_LOAD_TARGET_NORMAL |
                                                     (sized->colour ? FT_LOAD_COLOR : 0));
        SizedFace& out = *sized;
        fonts_[key] = std::move(sized);
        return out;
    }

    // A bitmap-only face: the nearest size it carries; a colour one (emoji) is scaled from it
    // to SIZE.
    static void selectStrike(SizedFace& sized, const std::string& file, int size) {
        FT_Face face = sized.face;
        if (face->num_fixed_sizes <= 0) throw Error(tr("Cannot open font %s", file + ": no sizes"));
        int best = 0;
        for (int i = 1; i < face->num_fixed_sizes; ++i)
            if (std::abs(face->available_sizes[i].height - size) <
                std::abs(face->available_sizes[best].height - size))
                best = i;
        FT_Select_Size(face, best);
        sized.ascent = int(ceil26(face->size->metrics.ascender));
        sized.height = int(ceil26(face->size->metrics.height));
        sized.lineThickness = 1;
        sized.underlineTop = sized.ascent + 1;
        const long ppem = face->available_sizes[best].y_ppem;
        if (FT_HAS_COLOR(face) && ppem > 0) {
            sized.colour = true;
            sized.scale = double(size) * 64.0 / double(ppem);
        }
    }

    // The colour glyph INDEX of a colour face, scaled to its size.
    static Glyph colourGlyph(SizedFace& sized, unsigned index) {
        Glyph g;
        FT_GlyphSlot slot = sized.face->glyph;
        if (FT_Load_Glyph(sized.face, index, FT_LOAD_DEFAULT | FT_LOAD_COLOR) != 0 ||
            FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0 ||
            slot->bitmap.pixel_mode != FT_PIXEL_MODE_BGRA || slot->bitmap.width == 0)
            return g;
        scaleColourBitmap(slot->bitmap, sized.scale, g);
        g.left = int(slot->bitmap_left * sized.scale + 0.5);
        g.top = int(slot->bitmap_top * sized.scale + 0.5);
        g.boxLeft = g.left;
        g.boxTop = g.top;
        g.boxWidth = g.width;
        return g;
    }

    // The glyph INDEX of FACE drawn; cached per face.
    const Glyph& glyph(SizedFace& sized, unsigned index) {
        auto key = std::make_pair(&sized, index);
        auto it = glyphs_.find(key);
        if (it != glyphs_.end()) return it->second;
        if (sized.colour) return glyphs_.emplace(key, colourGlyph(sized, index)).first->second;
        Glyph g;
        FT_Face face = sized.face;
        if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | FT_LOAD_TARGET_NORMAL) == 0) {
            FT_GlyphSlot slot = face->glyph;
            const FT_Glyph_Metrics& m = slot->metrics;
            g.boxLeft = int(floor26(m.horiBearingX));
            g.boxTop = int(floor26(m.horiBearingY));
            g.boxWidth = int(ceil26(m.horiBearingX + m.width)) - g.boxLeft;
            if (sized.style & kSyntheticBold) g.boxWidth += sized.overhang;
            const bool slant = (sized.style & kSyntheticItalic) && FT_IS_SCALABLE(face);
            if (slant) g.boxWidth += int(kItalicSlant * float(sized.height));
            if (slant && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
                FT_Matrix shear{0x10000, FT_Fixed(kItalicSlant * 0x10000), 0, 0x10000};
                FT_Outline_Transform(&slot->outline, &shear);
            }
            if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0 &&
                slot->bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
                g.left = slot->bitmap_left;
                g.top = slot->bitmap_top;
                g.width = int(slot->bitmap.width);
                g.rows = int(slot->bitmap.rows);
                const int bold = (sized.style & kSyntheticBold) ? sized.overhang : 0;
                g.width += bold;
                g.coverage.assign(std::size_t(g.width) * std::size_t(g.rows), 0);
                for (int y = 0; y < g.rows; ++y) {
                    std::uint8_t* row = g.coverage.data() + std::size_t(y) * g.width;
                    std::memcpy(row, slot->bitmap.buffer + std::ptrdiff_t(y) * slot->bitmap.pitch,
                                std::size_t(g.width - bold));
                    // Synthetic bold smears each row rightwards, one pixel per step.
                    for (int step = 0; step < bold; ++step)
                        for (int x = g.width - 1; x > 0; --x)
                            row[x] = std::uint8_t(std::min(255, row[x] + row[x - 1]));
                }
            }
        }
        return glyphs_.emplace(key, std::move(g)).first->second;
    }

    // The glyphs of UTF-8 TEXT shaped left to right, with their pen positions.
    std::vector<PlacedGlyph> shape(SizedFace& sized, const std::string& text) {
        hb_buffer_t* buffer = hb_buffer_create();
        hb_buffer_set_direction(buffer, HB_DIRECTION_LTR);
        hb_buffer_set_script(buffer, HB_SCRIPT_UNKNOWN);
        hb_buffer_add_utf8(buffer, text.data(), int(text.size()), 0, -1);
        hb_feature_t kerning{HB_TAG('k', 'e', 'r', 'n'), 1, HB_FEATURE_GLOBAL_START,
                             HB_FEATURE_GLOBAL_END};
        hb_shape(sized.shaper, buffer, &kerning, 1);
        unsigned count = 0;
        hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &count);
        hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer, &count);
        std::vector<PlacedGlyph> out;
        out.reserve(count);
        long x = 0, y = 0;
        for (unsigned i = 0; i < count; ++i) {
            out.push_back({info[i].codepoint, x + pos[i].x_offset,
                           y + long(sized.ascent) * 64 - pos[i].y_offset, &sized});
            x += pos[i].x_advance;
            y += pos[i].y_advance;
        }
        advance_ = x;
        hb_buffer_destroy(buffer);
        return out;
    }

    long lastAdvance() const { return advance_; }

    // The glyphs of RUN of TEXT in FACE, in its direction, placed from pen position X on the
    // baseline ASCENT pixels down; returns the pen position after them.
    long shapeRun(SizedFace& face, const std::u32string& text, const TextRun& run, long x,
                  int ascent, std::vector<PlacedGlyph>& out) {
        hb_buffer_t* buffer = hb_buffer_create();
        hb_buffer_add_utf32(buffer, reinterpret_cast<const std::uint32_t*>(text.data()),
                            int(text.size()), unsigned(run.begin), int(run.end - run.begin));
        hb_buffer_set_direction(buffer, run.rightToLeft() ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
        hb_buffer_guess_segment_properties(buffer);
        hb_feature_t kerning{HB_TAG('k', 'e', 'r', 'n'), 1, HB_FEATURE_GLOBAL_START,
                             HB_FEATURE_GLOBAL_END};
        hb_shape(face.shaper, buffer, &kerning, 1);
        unsigned count = 0;
        hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &count);
        hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer, &count);
        const auto scaled = [&](long v) { return long(double(v) * face.scale); };
        long y = 0;
        for (unsigned i = 0; i < count; ++i) {
            out.push_back({info[i].codepoint, x + scaled(pos[i].x_offset),
                           y + long(ascent) * 64 - scaled(pos[i].y_offset), &face});
            x += scaled(pos[i].x_advance);
            y += scaled(pos[i].y_advance);
        }
        hb_buffer_destroy(buffer);
        return x;
    }

    std::string fileFor(const FontSpec& spec) {
        std::string family = substituteFamily(spec.family);
        auto key = std::make_tuple(family, spec.bold, spec.italic);
        auto it = files_.find(key);
        if (it != files_.end()) return it->second;
        std::string file = lookUpFile(family, spec.bold, spec.italic);
        if (file.empty()) file = lookUpFile("DejaVu Serif", spec.bold, spec.italic);
        if (file.empty()) throw Error(tr("No font found for %s", spec.family));
        files_[key] = file;
        return file;
    }

    bool hasOwnStyle(const std::string& file, bool bold, bool italic) {
        // A file whose name says bold or italic already carries that style.
        std::string lower;
        for (char c : file) lower += char(std::tolower(static_cast<unsigned char>(c)));
        if (bold && lower.find("bold") == std::string::npos) return false;
        if (italic && lower.find("italic") == std::string::npos &&
            lower.find("oblique") == std::string::npos)
            return false;
        return true;
    }

    std::mutex mutex;

  private:
    // FILE's face from its one mapping (FreeType's own reading when it cannot be mapped).
    FT_Error openFace(const std::string& file, FT_Face& face) {
        auto it = mapped_.find(file);
        if (it == mapped_.end())
            it = mapped_.emplace(file, std::make_unique<MappedFont>(file)).first;
        const MappedFont& mapped = *it->second;
        if (!mapped.data()) return FT_New_Face(library_, file.c_str(), 0, &face);
        return FT_New_Memory_Face(library_, mapped.data(), mapped.size(), 0, &face);
    }

    // Declared before the faces, so the mappings outlive every face read from them.
    std::map<std::string, std::unique_ptr<MappedFont>> mapped_;
    FT_Library library_ = nullptr;
    std::map<FontKey, std::unique_ptr<SizedFace>> fonts_;
    std::map<std::pair<const SizedFace*, unsigned>, Glyph> glyphs_;
    std::map<std::tuple<std::string, bool, bool>, std::string> files_;
    long advance_ = 0;
};

FontCache& cache() {
    static FontCache c;
    return c;
}

// Where a line of text lands: its glyphs, the box their bitmaps and advances cover, and the
// offset that keeps glyphs reaching left of or above the pen inside that box.
struct Layout {
    std::vector<PlacedGlyph> glyphs;
    int width = 0;
    int xStart = 0, yStart = 0;
};

// The box of OUT's glyphs, whose pen ended at ADVANCE.
void fitBox(FontCache& fonts, Layout& out, long advance) {
    long minX = 0, maxX = 0, minY = 0;
    for (const PlacedGlyph& p : out.glyphs) {
        const Glyph& g = fonts.glyph(*p.face, p.index);
        long x = floor26(p.x) + g.boxLeft;
        long y = floor26(p.y) - g.boxTop;
        minX = std::min(minX, x);
        maxX = std::max(maxX, x + g.boxWidth);
        minY = std::min(minY, y);
    }
    // A text of spaces alone is as wide as its advances.
    maxX = std::max(maxX, floor26(advance));
    out.width = int(maxX - minX);
    out.xStart = int(-minX);
    out.yStart = int(-minY);
}

bool has(const SizedFace& face, char32_t c) {
    return FT_Get_Char_Index(face.face, FT_ULong(c)) != 0;
}

// Whether TEXT needs more than MAIN's glyphs in one left-to-right run: a letter MAIN lacks, or
// one written right to left. Most texts do not, and are drawn as they always were.
bool needsMixedLayout(const SizedFace& main, const std::u32string& text) {
    for (char32_t c : text) {
        if (isRightToLeft(c)) return true;
        if (c >= 0x20 && !isInvisibleControl(c) && !has(main, c)) return true;
    }
    return false;
}

// Whether FACE draws the cluster of TEXT from B to E: every letter, or the letter and its
// accents composed into one.
bool drawsCluster(const SizedFace& face, const std::u32string& text, std::size_t b, std::size_t e) {
    hb_codepoint_t base = text[b];
    for (std::size_t i = b + 1; i < e; ++i) {
        hb_codepoint_t composed = 0;
        if (hb_unicode_compose(hb_unicode_funcs_get_default(), base, text[i], &composed) &&
            has(face, composed))
            base = composed;
        else if (!isInvisibleControl(text[i]) && !has(face, text[i]))
            return false;
    }
    return has(face, base);
}

// The face that draws the cluster of TEXT from B to E: MAIN when it can, else the face
// fontconfig finds for its first letter (a colour one for an emoji), else MAIN's blank.
SizedFace* faceForCluster(FontCache& fonts, SizedFace& main, const FontSpec& spec,
                          const std::u32string& text, std::size_t b, std::size_t e) {
    const bool colour = wantsColour(text, b, e);
    if (!colour && drawsCluster(main, text, b, e)) return &main;
    const std::string family = substituteFamily(spec.family);
    std::string file = fallbackFile(family, text[b], spec.bold, spec.italic, colour);
    if (file.empty() && colour) file = fallbackFile(family, text[b], spec.bold, spec.italic, false);
    if (file.empty()) return &main;
    try {
        return &fonts.fallback(file, spec);
    } catch (const Error&) {
        return &main;  // a face that cannot be read draws nothing
    }
}

// TEXT in MAIN and the faces standing in for it, in runs of one face and one direction laid
// from left to right on MAIN's baseline.
Layout layOutMixed(FontCache& fonts, SizedFace& main, const FontSpec& spec,
                   const std::u32string& text) {
    std::vector<SizedFace*> faces{&main};
    std::vector<int> faceOf(text.size(), 0);
    const std::vector<std::size_t> starts = clusterStarts(text);
    for (std::size_t k = 0; k + 1 < starts.size(); ++k) {
        SizedFace* face = faceForCluster(fonts, main, spec, text, starts[k], starts[k + 1]);
        auto at = std::find(faces.begin(), faces.end(), face);
        if (at == faces.end()) at = faces.insert(faces.end(), face);
        std::fill(faceOf.begin() + std::ptrdiff_t(starts[k]),
                  faceOf.begin() + std::ptrdiff_t(starts[k + 1]), int(at - faces.begin()));
    }
    Layout out;
    long x = 0;
    for (const TextRun& run : visualRuns(bidiLevels(text), faceOf))
        x = fonts.shapeRun(*faces[std::size_t(run.face)], text, run, x, main.ascent, out.glyphs);
    fitBox(fonts, out, x);
    return out;
}

Layout layOut(FontCache& fonts, SizedFace& sized, const FontSpec& spec, const std::string& text) {
    const std::u32string letters = decodeUtf8(text);
    if (needsMixedLayout(sized, letters)) return layOutMixed(fonts, sized, spec, letters);
    Layout out;
    out.glyphs = fonts.shape(sized, text);
    fitBox(fonts, out, fonts.lastAdvance());
    return out;
}

}  // namespace

std::string chooseFaceFor(const std::string& sample) {
    std::string face = "TeX Gyre Schola";
    // FcFontMatch always answers: only a face of the family asked for, with every letter, counts.
    for (const char* family : {"TeX Gyre Schola", "DejaVu Serif"}) {
        if (familyWith(family, sample) == family) {
            face = family;
            break;
        }
        if (std::string(family) == "DejaVu Serif") {
            std::string any = familyWith("serif", sample);
            if (!any.empty()) face = any;
        }
    }
    chosenFace() = face;
    return face;
}

std::string georgiaFace() {
    return chosenFace();
}

TextSize measureText(const std::string& text, const FontSpec& font) {
    FontCache& fonts = cache();
    std::lock_guard lock(fonts.mutex);
    SizedFace& sized = fonts.get(font);
    TextSize size;
    size.height = sized.height;
    if (!text.empty()) size.width = layOut(fonts, sized, font, text).width;
    return size;
}

Image renderText(const std::string& text, const FontSpec& font) {
    FontCache& fonts = cache();
    std::lock_guard lock(fonts.mutex);
    SizedFace& sized = fonts.get(font);
    if (text.empty()) return Image(0, sized.height);
    Layout layout = layOut(fonts, sized, font, text);
    // Uncovered pixels carry the text's colour at no opacity; each glyph adds its coverage.
    const Argb colour = font.colour & 0x00FFFFFFu;
    Image out(layout.width, sized.height, colour);
    for (const PlacedGlyph& p : layout.glyphs) {
        const Glyph& g = fonts.glyph(*p.face, p.index);
        int left = layout.xStart + int(floor26(p.x)) + g.left;
        int top = layout.yStart + int(floor26(p.y)) - g.top;
        for (int y = 0; y < g.rows; ++y) {
            int ty = top + y;
            if (ty < 0 || ty >= out.height()) continue;
            Argb* row = out.row(ty);
            const std::size_t at = std::size_t(y) * std::size_t(g.width);
            for (int x = 0; x < g.width; ++x) {
                int tx = left + x;
                if (tx < 0 || tx >= out.width()) continue;
                if (g.colours.empty())
                    row[tx] |= Argb(g.coverage[at + std::size_t(x)]) << 24;
                else
                    row[tx] = over(row[tx], g.colours[at + std::size_t(x)]);
            }
        }
    }
    if (sized.style & kUnderline) {
        for (int y = layout.yStart + sized.underlineTop;
             y < layout.yStart + sized.underlineTop + sized.lineThickness; ++y)
            if (y >= 0 && y < out.height())
                for (int x = 0; x < out.width(); ++x) out.setPixel(x, y, colour | 0xFF000000u);
    }
    return out;
}

}  // namespace tk
