#ifndef CAPI_TYPES_H
#define CAPI_TYPES_H

#include <cstdint>

// Integer widths shared by the interfaces: Int4 is a 32-bit signed integer,
// Int1 an 8-bit signed character (signed explicitly: plain char is unsigned
// on some targets, and diagnostic types are compared with negative values).
typedef std::int32_t Int4;
typedef signed char Int1;

#endif
