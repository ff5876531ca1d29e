#include "my_codecvt_utf8.h"

#include <cstdint>
#include <cstring>

namespace {

// Whether the eight units from p on are all below 0x80: bytes tested as one
// 64-bit word, wide units by their low 16 bits.
bool ascii_eight(const unsigned char* p) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return (word & 0x8080808080808080u) == 0;
}

bool ascii_eight(const wchar_t* p) {
    unsigned units = 0;
    for (int i = 0; i < 8; ++i)
        units |= static_cast<unsigned>(p[i]) & 0xFFFFu;
    return units < 0x80;
}

// Copies units below 0x80 (a unit is taken by its low 16 bits) from `from`
// to `to` eight at a time, while both sides have room for eight and all
// eight are such units; both are left past what was copied.
template <class From, class To>
void copy_ascii(const From*& from, const From* from_end, To*& to, To* to_end) {
    while (from_end - from >= 8 && to_end - to >= 8) {
        if (!ascii_eight(from))
            return;
        for (int i = 0; i < 8; ++i)
            to[i] = static_cast<To>(from[i]);
        from += 8;
        to += 8;
    }
}

} // namespace

my_codecvt_utf8::my_codecvt_utf8(std::size_t refs)
    : std::codecvt<wchar_t, char, std::mbstate_t>(refs), consumed_header(0) {}

my_codecvt_utf8::~my_codecvt_utf8() {}

int my_codecvt_utf8::decode(const unsigned char* from, const unsigned char* end, long* unit) const {
    const unsigned b0 = from[0];
    const long avail = end - from;
    if (b0 < 0x80) {
        *unit = b0;
        return 1;
    }
    if (b0 >= 0xC0 && b0 <= 0xDF) {
        if (avail < 2)
            return 0;
        *unit = ((b0 & 0x1F) << 6) | (from[1] & 0x3F);
        return 2;
    }
    if (b0 >= 0xE0 && b0 <= 0xEF) {
        if (avail < 3)
            return 0;
        if (b0 == 0xEF && from[1] == 0xBB && from[2] == 0xBF && consumed_header == 0) {
            *unit = -1;
            return 3;
        }
        *unit = ((b0 & 0x0F) << 12) | ((from[1] & 0x3F) << 6) | (from[2] & 0x3F);
        return 3;
    }
    if (b0 >= 0xF0 && b0 <= 0xF7) {
        if (avail < 4)
            return 0;
        // Only the low 16 bits of the code point: no surrogate pair is formed.
        *unit = ((from[1] & 0x0F) << 12) | ((from[2] & 0x3F) << 6) | (from[3] & 0x3F);
        return 4;
    }
    // A continuation byte standing as a lead, or 0xF8..0xFF: the byte
    // sign-extended to 16 bits.
    *unit = 0xFF00 | b0;
    return 1;
}

std::codecvt_base::result my_codecvt_utf8::do_in(state_type&, const extern_type* from,
                                                 const extern_type* from_end,
                                                 const extern_type*& from_next, intern_type* to,
                                                 intern_type* to_end, intern_type*& to_next) const {
    const unsigned char* in = reinterpret_cast<const unsigned char*>(from);
    const unsigned char* end = reinterpret_cast<const unsigned char*>(from_end);
    while (in < end && to < to_end) {
        // Runs of ASCII, most of every listing, are copied as they are.
        copy_ascii(in, end, to, to_end);
        if (in == end || to == to_end)
            break;
        if (*in < 0x80) {
            *to++ = static_cast<intern_type>(*in++);
            continue;
        }
        long unit;
        const int taken = decode(in, end, &unit);
        if (taken == 0)
            break;
        in += taken;
        if (unit >= 0)
            *to++ = static_cast<intern_type>(unit);
    }
    from_next = reinterpret_cast<const extern_type*>(in);
    to_next = to;
    return in == end ? ok : partial;
}

std::codecvt_base::result my_codecvt_utf8::do_out(state_type&, const intern_type* from,
                                                  const intern_type* from_end,
                                                  const intern_type*& from_next, extern_type* to,
                                                  extern_type* to_end,
                                                  extern_type*& to_next) const {
    while (from < from_end) {
        // Runs of ASCII, most of every diagnostic, are copied as they are.
        copy_ascii(from, from_end, to, to_end);
        if (from == from_end)
            break;
        const unsigned u = static_cast<unsigned>(*from) & 0xFFFFu;
        const long room = to_end - to;
        if (u < 0x80) {
            if (room < 1)
                break;
            *to++ = static_cast<extern_type>(u);
        } else if (u < 0x800) {
            if (room < 2)
                break;
            *to++ = static_cast<extern_type>(0xC0 | (u >> 6));
            *to++ = static_cast<extern_type>(0x80 | (u & 0x3F));
        } else {
            if (room < 3)
                break;
            *to++ = static_cast<extern_type>(0xE0 | (u >> 12));
            *to++ = static_cast<extern_type>(0x80 | ((u >> 6) & 0x3F));
            *to++ = static_cast<extern_type>(0x80 | (u & 0x3F));
        }
        ++from;
    }
    from_next = from;
    to_next = to;
    return from == from_end ? ok : partial;
}

bool my_codecvt_utf8::do_always_noconv() const noexcept {
    return false;
}

int my_codecvt_utf8::do_encoding() const noexcept {
    return 0;
}

int my_codecvt_utf8::do_length(state_type&, const extern_type* from, const extern_type* end,
                               std::size_t max) const {
    const unsigned char* start = reinterpret_cast<const unsigned char*>(from);
    const unsigned char* in = start;
    const unsigned char* stop = reinterpret_cast<const unsigned char*>(end);
    std::size_t units = 0;
    while (in < stop && units < max) {
        long unit;
        const int taken = decode(in, stop, &unit);
        if (taken == 0)
            break;
        in += taken;
        if (unit >= 0)
            ++units;
    }
    return static_cast<int>(in - start);
}

int my_codecvt_utf8::do_max_length() const noexcept {
    return 4;
}
