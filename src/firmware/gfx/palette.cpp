#include "gfx/palette.h"

#include <bit>
#include <cstdlib>
#include <cstring>

#include "gfx/framebuffer.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace ems {
namespace {

constexpr std::array<uint32_t, 256> build_palette()
{
    std::array<uint32_t, 256> p{};
    constexpr uint32_t base[16] = {
        0x000000, 0xA52A2A, 0x008000, 0x504000, 0x000080, 0x500080, 0x008080, 0x555555,
        0xAAAAAA, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
    };
    for (int i = 0; i < 16; ++i) p[i] = base[i];

    // Colour cube: red slowest, blue fastest; black and white left out.
    constexpr uint32_t reds[14] = {0x00, 0x14, 0x28, 0x3C, 0x50, 0x64, 0x78,
                                   0x8C, 0xA0, 0xB4, 0xC8, 0xDC, 0xF0, 0xFF};
    constexpr uint32_t greens[5] = {0x00, 0x40, 0x80, 0xC0, 0xFF};
    constexpr uint32_t blues[3] = {0x00, 0x80, 0xFF};
    int n = 16;
    for (uint32_t r : reds)
        for (uint32_t g : greens)
            for (uint32_t b : blues) {
                const uint32_t c = (r << 16) | (g << 8) | b;
                if (c == 0x000000 || c == 0xFFFFFF) continue;
                p[n++] = c;
            }

    // Greys #202020 .. #F0F0F0.
    for (uint32_t v = 0x20; v <= 0xF0; v += 0x10) p[n++] = (v << 16) | (v << 8) | v;

    constexpr uint32_t tail[18] = {
        0xC89696, 0xD3A5A5, 0xD9B3B3, 0xE5C2C2, 0xEFD5D5, 0xF7E7E7, 0xF5FAFA, 0xFCFDFD, 0x0000FF,
        0xFF0000, 0xFF00FF, 0xFFFF00, 0xC0C0C0, 0x00FFFF, 0x00FF00, 0x8B4513, 0x008000, 0x004F4E,
    };
    for (uint32_t c : tail) p[n++] = c;
    return p;
}

} // namespace

constexpr std::array<uint32_t, 256> PALETTE_TABLE = build_palette();
static_assert(PALETTE_TABLE[16] == 0x000080 && PALETTE_TABLE[17] == 0x0000FF);
static_assert(PALETTE_TABLE[18] == 0x004000 && PALETTE_TABLE[223] == 0xFFFF80);
static_assert(PALETTE_TABLE[224] == 0x202020 && PALETTE_TABLE[237] == 0xF0F0F0);
static_assert(PALETTE_TABLE[238] == 0xC89696 && PALETTE_TABLE[255] == 0x004F4E);

const std::array<uint32_t, 256> Palette = PALETTE_TABLE;

namespace {

// The presenter's pixels: every entry with its alpha byte set.
constexpr std::array<uint32_t, 256> build_opaque()
{
    std::array<uint32_t, 256> p{};
    for (int i = 0; i < 256; ++i) p[i] = 0xFF000000u | PALETTE_TABLE[i];
    return p;
}
alignas(64) constexpr std::array<uint32_t, 256> OPAQUE = build_opaque();

// The plain conversion: one table read per pixel. Kept scalar on purpose:
// the compiler's own vector form of these loops is a legacy-SSE emulated
// gather (or, with AVX2, a hardware gather), slower than this even in a clean
// state, and many times slower after the wide vector code that Qt and the C
// library run between frames leaves the upper register halves in use.
#if defined(__GNUC__) && !defined(__clang__)
#define EMS_PLAIN_LOOP __attribute__((optimize("no-tree-vectorize")))
#else
#define EMS_PLAIN_LOOP
#endif

// Eight pixels, their indices loaded four at a time: the instructions per
// pixel, not memory, bound this loop, and four bytes split into table
// offsets with fewer of them than eight do.
EMS_PLAIN_LOOP inline __attribute__((always_inline)) void convert8(const uint8_t* __restrict frame,
                                                                   uint32_t* __restrict out)
{
    static_assert(std::endian::native == std::endian::little, "byte k of a loaded word is index k");
    uint32_t v, w;
    std::memcpy(&v, frame, 4);
    std::memcpy(&w, frame + 4, 4);
    out[0] = OPAQUE[v & 0xFF];
    out[1] = OPAQUE[(v >> 8) & 0xFF];
    out[2] = OPAQUE[(v >> 16) & 0xFF];
    out[3] = OPAQUE[v >> 24];
    out[4] = OPAQUE[w & 0xFF];
    out[5] = OPAQUE[(w >> 8) & 0xFF];
    out[6] = OPAQUE[(w >> 16) & 0xFF];
    out[7] = OPAQUE[w >> 24];
}

EMS_PLAIN_LOOP void convert_scalar(const uint8_t* __restrict frame, uint32_t* __restrict out, size_t n)
{
    size_t i = 0;
    for (; i + 8 <= n; i += 8) convert8(frame + i, out + i);
    for (; i < n; ++i) out[i] = OPAQUE[frame[i]];
}

#if defined(__x86_64__) && defined(__GNUC__)
#define EMS_PALETTE_VBMI 1

// The blue, green and red bytes of every entry as three 256-byte planes.
struct Planes {
    alignas(64) uint8_t plane[3][256];
};
constexpr Planes build_planes()
{
    Planes p{};
    for (int i = 0; i < 256; ++i)
        for (int c = 0; c < 3; ++c) p.plane[c][i] = uint8_t(PALETTE_TABLE[i] >> (8 * c));
    return p;
}
constexpr Planes PLANES = build_planes();

#define EMS_VBMI_TARGET __attribute__((target("avx512f,avx512bw,avx512vbmi")))

// One colour plane in four registers: entries 64q .. 64q + 63 in q[q].
struct PlaneRegs {
    __m512i q0, q1, q2, q3;
};

EMS_VBMI_TARGET inline __attribute__((always_inline)) PlaneRegs load_plane(int c)
{
    return {_mm512_load_si512(PLANES.plane[c]), _mm512_load_si512(PLANES.plane[c] + 64),
            _mm512_load_si512(PLANES.plane[c] + 128), _mm512_load_si512(PLANES.plane[c] + 192)};
}

// The plane's bytes for 64 indices: two 128-entry permutes, chosen by each
// index's top bit (upper).
EMS_VBMI_TARGET inline __attribute__((always_inline)) __m512i look_up(const PlaneRegs& p, __m512i x,
                                                                      __mmask64 upper)
{
    return _mm512_mask_blend_epi8(upper, _mm512_permutex2var_epi8(p.q0, x, p.q1),
                                  _mm512_permutex2var_epi8(p.q2, x, p.q3));
}

// 64 pixels per step on processors with byte permutes (AVX-512 VBMI): each
// colour plane is looked up in registers, then the planes are interleaved
// into 0xFFRRGGBB pixels. Reads and writes at the memory limit; its EVEX
// encoding has no penalty for whatever state earlier vector code left behind.
EMS_VBMI_TARGET void convert_vbmi(const uint8_t* __restrict frame, uint32_t* __restrict out, size_t n)
{
    const PlaneRegs blue = load_plane(0), green = load_plane(1), red = load_plane(2);
    const __m512i alpha = _mm512_set1_epi8(char(0xFF));
    // 64-bit element orders that put the unpacked pixels back in frame order.
    const __m512i pair_lo = _mm512_set_epi64(11, 10, 3, 2, 9, 8, 1, 0);
    const __m512i pair_hi = _mm512_set_epi64(15, 14, 7, 6, 13, 12, 5, 4);
    const __m512i half_lo = _mm512_set_epi64(11, 10, 9, 8, 3, 2, 1, 0);
    const __m512i half_hi = _mm512_set_epi64(15, 14, 13, 12, 7, 6, 5, 4);
    size_t i = 0;
    for (; i + 64 <= n; i += 64) {
        const __m512i x = _mm512_loadu_si512(frame + i);
        const __mmask64 upper = _mm512_movepi8_mask(x);
        const __m512i b = look_up(blue, x, upper), g = look_up(green, x, upper), r = look_up(red, x, upper);
        // Unpacking works within 128-bit lanes: of lane L's pixels 16L .. 16L + 15,
        // p0 gets the first four (b g r a each), p1 the next four, and so on.
        const __m512i bg_l = _mm512_unpacklo_epi8(b, g), bg_h = _mm512_unpackhi_epi8(b, g);
        const __m512i ra_l = _mm512_unpacklo_epi8(r, alpha), ra_h = _mm512_unpackhi_epi8(r, alpha);
        const __m512i p0 = _mm512_unpacklo_epi16(bg_l, ra_l), p1 = _mm512_unpackhi_epi16(bg_l, ra_l);
        const __m512i p2 = _mm512_unpacklo_epi16(bg_h, ra_h), p3 = _mm512_unpackhi_epi16(bg_h, ra_h);
        const __m512i q0 = _mm512_permutex2var_epi64(p0, pair_lo, p1);
        const __m512i q1 = _mm512_permutex2var_epi64(p2, pair_lo, p3);
        const __m512i q2 = _mm512_permutex2var_epi64(p0, pair_hi, p1);
        const __m512i q3 = _mm512_permutex2var_epi64(p2, pair_hi, p3);
        _mm512_storeu_si512(out + i, _mm512_permutex2var_epi64(q0, half_lo, q1));
        _mm512_storeu_si512(out + i + 16, _mm512_permutex2var_epi64(q0, half_hi, q1));
        _mm512_storeu_si512(out + i + 32, _mm512_permutex2var_epi64(q2, half_lo, q3));
        _mm512_storeu_si512(out + i + 48, _mm512_permutex2var_epi64(q2, half_hi, q3));
    }
    convert_scalar(frame + i, out + i, n - i);
}
#endif

#if defined(__x86_64__) && defined(__GNUC__)
// On processors with AVX2 but without byte permutes: a 32-pixel step of one
// index (most of a real frame: backgrounds, panels, bar fills) is one
// compare and four wide stores of its pixel; any other step is the plain
// table loop's. AVX2 has no lookup that beats a table read on mixed indices:
// its gathers and its 16-entry byte shuffles both take longer per pixel.
EMS_PLAIN_LOOP __attribute__((target("avx2"))) void convert_avx2(const uint8_t* __restrict frame,
                                                                 uint32_t* __restrict out, size_t n)
{
    size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(frame + i));
        const __m256i first = _mm256_broadcastb_epi8(_mm256_castsi256_si128(x));
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi8(x, first)) != -1) {
            for (size_t k = 0; k < 32; k += 8) convert8(frame + i + k, out + i + k);
            continue;
        }
        const __m256i c = _mm256_set1_epi32(int(OPAQUE[frame[i]]));
        __m256i* o = reinterpret_cast<__m256i*>(out + i);
        _mm256_storeu_si256(o, c);
        _mm256_storeu_si256(o + 1, c);
        _mm256_storeu_si256(o + 2, c);
        _mm256_storeu_si256(o + 3, c);
    }
    convert_scalar(frame + i, out + i, n - i);
}
#endif

using Convert = void (*)(const uint8_t*, uint32_t*, size_t);

Convert conversion(PalettePath path)
{
    switch (path) {
#ifdef EMS_PALETTE_VBMI
    case PalettePath::Vbmi: return convert_vbmi;
    case PalettePath::Avx2: return convert_avx2;
#endif
    default: return convert_scalar;
    }
}

// The widest path the processor has, unless EMS_PRESENT_PATH names another
// one it has (for measuring one path in the running program).
PalettePath choose_path()
{
    if (const char* forced = std::getenv("EMS_PRESENT_PATH"))
        for (PalettePath p : {PalettePath::Plain, PalettePath::Avx2, PalettePath::Vbmi})
            if (std::strcmp(forced, palette_path_name(p)) == 0 && palette_path_supported(p)) return p;
    for (PalettePath p : {PalettePath::Vbmi, PalettePath::Avx2})
        if (palette_path_supported(p)) return p;
    return PalettePath::Plain;
}

} // namespace

const char* palette_path_name(PalettePath path)
{
    switch (path) {
    case PalettePath::Avx2: return "avx2";
    case PalettePath::Vbmi: return "vbmi";
    default: return "plain";
    }
}

bool palette_path_supported(PalettePath path)
{
#ifdef EMS_PALETTE_VBMI
    __builtin_cpu_init();
    switch (path) {
    case PalettePath::Vbmi: return __builtin_cpu_supports("avx512vbmi") && __builtin_cpu_supports("avx512bw");
    case PalettePath::Avx2: return __builtin_cpu_supports("avx2");
    default: return true;
    }
#else
    return path == PalettePath::Plain;
#endif
}

PalettePath palette_path()
{
    static const PalettePath path = choose_path();
    return path;
}

void palette_to_rgb(const uint8_t* frame, uint32_t* out)
{
    static const Convert convert = conversion(palette_path());
    convert(frame, out, FRAME_BYTES);
}

void palette_to_rgb_via(PalettePath path, const uint8_t* frame, uint32_t* out, size_t pixels)
{
    conversion(palette_path_supported(path) ? path : PalettePath::Plain)(frame, out, pixels);
}

} // namespace ems
