#include "update/Ed25519Verify.h"

#include <optional>

#include "update/Sha512.h"

namespace vedozer {
namespace {

using u128 = unsigned __int128;
using Bytes32 = std::array<uint8_t, 32>;

// Field elements modulo p = 2^255 - 19 as five 51-bit limbs. add and sub carry, so that every
// operand stays below 2^52 per limb and products fit 128 bits.
struct Fe {
    uint64_t v[5];
};

constexpr uint64_t kMask = (uint64_t{1} << 51) - 1;

Fe fe(uint64_t small) { return {{small, 0, 0, 0, 0}}; }

Fe carried(Fe a) {
    for (int i = 0; i < 4; ++i) {
        a.v[i + 1] += a.v[i] >> 51;
        a.v[i] &= kMask;
    }
    a.v[0] += 19 * (a.v[4] >> 51);
    a.v[4] &= kMask;
    return a;
}

Fe add(const Fe& a, const Fe& b) {
    Fe r;
    for (int i = 0; i < 5; ++i) r.v[i] = a.v[i] + b.v[i];
    return carried(r);
}

Fe sub(const Fe& a, const Fe& b) {
    // Adds 4p first, so that no limb goes below zero.
    Fe r;
    r.v[0] = a.v[0] + 0x1FFFFFFFFFFFB4 - b.v[0];
    for (int i = 1; i < 5; ++i) r.v[i] = a.v[i] + 0x1FFFFFFFFFFFFC - b.v[i];
    return carried(r);
}

Fe mul(const Fe& a, const Fe& b) {
    const uint64_t *x = a.v, *y = b.v;
    const uint64_t y1 = 19 * y[1], y2 = 19 * y[2], y3 = 19 * y[3], y4 = 19 * y[4];
    u128 t[5];
    t[0] = (u128)x[0] * y[0] + (u128)x[1] * y4 + (u128)x[2] * y3 + (u128)x[3] * y2 + (u128)x[4] * y1;
    t[1] = (u128)x[0] * y[1] + (u128)x[1] * y[0] + (u128)x[2] * y4 + (u128)x[3] * y3 + (u128)x[4] * y2;
    t[2] = (u128)x[0] * y[2] + (u128)x[1] * y[1] + (u128)x[2] * y[0] + (u128)x[3] * y4 + (u128)x[4] * y3;
    t[3] = (u128)x[0] * y[3] + (u128)x[1] * y[2] + (u128)x[2] * y[1] + (u128)x[3] * y[0] + (u128)x[4] * y4;
    t[4] = (u128)x[0] * y[4] + (u128)x[1] * y[3] + (u128)x[2] * y[2] + (u128)x[3] * y[1] + (u128)x[4] * y[0];
    Fe r;
    for (int i = 0; i < 4; ++i) {
        t[i + 1] += t[i] >> 51;
        r.v[i] = static_cast<uint64_t>(t[i]) & kMask;
    }
    r.v[4] = static_cast<uint64_t>(t[4]) & kMask;
    u128 low = (u128)r.v[0] + (u128)19 * (t[4] >> 51);
    r.v[0] = static_cast<uint64_t>(low) & kMask;
    r.v[1] += static_cast<uint64_t>(low >> 51);
    return carried(r);
}

// a^e for an exponent below 2^bits whose bits are all set but those listed.
Fe power(const Fe& a, int bits, std::initializer_list<int> clear) {
    Fe r = fe(1);
    for (int i = bits - 1; i >= 0; --i) {
        r = mul(r, r);
        bool set = true;
        for (int c : clear) set = set && c != i;
        if (set) r = mul(r, a);
    }
    return r;
}

Fe invert(const Fe& a) { return power(a, 255, {2, 4}); }           // a^(p-2)
Fe powP58(const Fe& a) { return power(a, 252, {1}); }              // a^((p-5)/8)

Bytes32 toBytes(const Fe& a) {
    Fe t = carried(carried(a));
    // t < 2p now; subtract p once when t >= p.
    uint64_t q = (t.v[0] + 19) >> 51;
    for (int i = 1; i < 5; ++i) q = (t.v[i] + q) >> 51;
    t.v[0] += 19 * q;
    for (int i = 0; i < 4; ++i) {
        t.v[i + 1] += t.v[i] >> 51;
        t.v[i] &= kMask;
    }
    t.v[4] &= kMask;
    const uint64_t w[4] = {t.v[0] | t.v[1] << 51, t.v[1] >> 13 | t.v[2] << 38, t.v[2] >> 26 | t.v[3] << 25,
                           t.v[3] >> 39 | t.v[4] << 12};
    Bytes32 out;
    for (int i = 0; i < 32; ++i) out[i] = static_cast<uint8_t>(w[i / 8] >> (8 * (i % 8)));
    return out;
}

// The low 255 bits of 32 little-endian bytes.
Fe fromBytes(const uint8_t* b) {
    uint64_t w[4] = {};
    for (int i = 0; i < 32; ++i) w[i / 8] |= uint64_t{b[i]} << (8 * (i % 8));
    return {{w[0] & kMask, (w[0] >> 51 | w[1] << 13) & kMask, (w[1] >> 38 | w[2] << 26) & kMask,
             (w[2] >> 25 | w[3] << 39) & kMask, (w[3] >> 12) & kMask}};
}

bool isZero(const Fe& a) {
    for (uint8_t b : toBytes(a))
        if (b) return false;
    return true;
}
bool isOdd(const Fe& a) { return toBytes(a)[0] & 1; }
bool equal(const Fe& a, const Fe& b) { return toBytes(a) == toBytes(b); }

// Points of the curve -x^2 + y^2 = 1 + d x^2 y^2 in extended coordinates (x = X/Z, y = Y/Z, xy = T/Z).
struct Point {
    Fe X, Y, Z, T;
};

struct Curve {
    Fe d, d2, sqrtMinusOne;
    Point base;
    Curve();
};
const Curve& curve();

Point identity() { return {fe(0), fe(1), fe(1), fe(0)}; }

// The unified addition law: complete on this curve, so it also doubles.
Point plus(const Point& p, const Point& q) {
    Fe a = mul(sub(p.Y, p.X), sub(q.Y, q.X));
    Fe b = mul(add(p.Y, p.X), add(q.Y, q.X));
    Fe c = mul(mul(p.T, curve().d2), q.T);
    Fe zz = mul(p.Z, q.Z);
    Fe d = add(zz, zz);
    Fe e = sub(b, a), f = sub(d, c), g = add(d, c), h = add(b, a);
    return {mul(e, f), mul(g, h), mul(f, g), mul(e, h)};
}

Point negate(const Point& p) { return {sub(fe(0), p.X), p.Y, p.Z, sub(fe(0), p.T)}; }

// scalar: 32 little-endian bytes.
Point times(const Point& p, const uint8_t* scalar) {
    Point r = identity();
    for (int i = 255; i >= 0; --i) {
        r = plus(r, r);
        if ((scalar[i / 8] >> (i % 8)) & 1) r = plus(r, p);
    }
    return r;
}

bool isIdentity(const Point& p) { return isZero(p.X) && equal(p.Y, p.Z); }

bool hasSmallOrder(const Point& p) {
    Point q = plus(p, p);
    q = plus(q, q);
    q = plus(q, q);
    return isIdentity(q);
}

Bytes32 encode(const Point& p) {
    Fe zi = invert(p.Z);
    Bytes32 out = toBytes(mul(p.Y, zi));
    out[31] |= static_cast<uint8_t>(isOdd(mul(p.X, zi)) << 7);
    return out;
}

// Decodes a point; nothing for an encoding of y >= p or of no point on the curve.
std::optional<Point> decode(const uint8_t* bytes, const Curve& c) {
    Fe y = fromBytes(bytes);
    Bytes32 canonical = toBytes(y);
    for (int i = 0; i < 31; ++i)
        if (canonical[i] != bytes[i]) return std::nullopt;
    if (canonical[31] != (bytes[31] & 0x7F)) return std::nullopt;
    const bool negative = bytes[31] >> 7;
    Fe yy = mul(y, y);
    Fe u = sub(yy, fe(1));
    Fe v = add(mul(c.d, yy), fe(1));
    // x = u v^3 (u v^7)^((p-5)/8), then fixed up by sqrt(-1) when it squares to -u/v.
    Fe v3 = mul(mul(v, v), v);
    Fe x = mul(mul(u, v3), powP58(mul(u, mul(mul(v3, v3), v))));
    Fe vxx = mul(v, mul(x, x));
    if (!equal(vxx, u)) {
        if (!equal(vxx, sub(fe(0), u))) return std::nullopt;
        x = mul(x, c.sqrtMinusOne);
    }
    if (isZero(x) && negative) return std::nullopt;
    if (isOdd(x) != negative) x = sub(fe(0), x);
    return Point{x, y, fe(1), mul(x, y)};
}

Curve::Curve() {
    d = mul(sub(fe(0), fe(121665)), invert(fe(121666)));
    d2 = add(d, d);
    sqrtMinusOne = power(fe(2), 253, {2});  // 2^((p-1)/4)
    uint8_t b[32];
    b[0] = 0x58;
    for (int i = 1; i < 32; ++i) b[i] = 0x66;  // y = 4/5, x even
    base = *decode(b, *this);
}

const Curve& curve() {
    static const Curve c;
    return c;
}

// The group order L = 2^252 + 27742317777372353535851937790883648493, little-endian.
constexpr uint8_t kOrder[32] = {0xed, 0xd3, 0xf5, 0x5c, 0x1a, 0x63, 0x12, 0x58, 0xd6, 0x9c, 0xf7,
                                0xa2, 0xde, 0xf9, 0xde, 0x14, 0,    0,    0,    0,    0,    0,
                                0,    0,    0,    0,    0,    0,    0,    0,    0,    0x10};

// Numbers below 2^256 as eight 32-bit words, little-endian.
using Words = std::array<uint32_t, 8>;

Words words(const uint8_t* b) {
    Words w{};
    for (int i = 0; i < 32; ++i) w[i / 4] |= uint32_t{b[i]} << (8 * (i % 4));
    return w;
}

bool lessThan(const Words& a, const Words& b) {
    for (int i = 7; i >= 0; --i)
        if (a[i] != b[i]) return a[i] < b[i];
    return false;
}

// A 512-bit little-endian number modulo L, bit by bit (it is done once per signature).
Bytes32 reduceModOrder(const std::array<uint8_t, 64>& h) {
    const Words order = words(kOrder);
    Words r{};
    for (int bit = 511; bit >= 0; --bit) {
        for (int i = 7; i > 0; --i) r[i] = r[i] << 1 | r[i - 1] >> 31;
        r[0] = r[0] << 1 | ((h[bit / 8] >> (bit % 8)) & 1);
        if (!lessThan(r, order)) {
            uint64_t borrow = 0;
            for (int i = 0; i < 8; ++i) {
                uint64_t d = uint64_t{r[i]} - order[i] - borrow;
                r[i] = static_cast<uint32_t>(d);
                borrow = (d >> 63) & 1;
            }
        }
    }
    Bytes32 out;
    for (int i = 0; i < 32; ++i) out[i] = static_cast<uint8_t>(r[i / 4] >> (8 * (i % 4)));
    return out;
}

}  // namespace

bool verifyEd25519(const Ed25519PublicKey& key, const Ed25519Signature& signature,
                   std::initializer_list<std::string_view> message) {
    const Curve& c = curve();
    const uint8_t* r = signature.data();
    const uint8_t* s = signature.data() + 32;
    if (!lessThan(words(s), words(kOrder))) return false;
    auto a = decode(key.data(), c);
    if (!a || hasSmallOrder(*a)) return false;
    if (auto committed = decode(r, c); committed && hasSmallOrder(*committed)) return false;

    Sha512 hash;
    hash.update(std::string_view(reinterpret_cast<const char*>(r), 32));
    hash.update(std::string_view(reinterpret_cast<const char*>(key.data()), key.size()));
    for (std::string_view part : message) hash.update(part);
    const Bytes32 k = reduceModOrder(hash.finish());

    // R must equal [S]B - [k]A.
    Point check = plus(times(c.base, s), times(negate(*a), k.data()));
    const Bytes32 expected = encode(check);
    for (int i = 0; i < 32; ++i)
        if (expected[i] != r[i]) return false;
    return true;
}

}  // namespace vedozer
