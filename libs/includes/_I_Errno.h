#ifndef I_ERRNO_H
#define I_ERRNO_H

#include <string>

#include "_I_Language.h"
#include "capi_types.h"

namespace capi {
namespace interfaces {

// The abstract error object. It deliberately does not derive from
// std::exception: handlers for standard exceptions must not catch it.
class _I_Errno {
public:
    _I_Errno() {}
    _I_Errno(const _I_Errno&) {}
    _I_Errno& operator=(const _I_Errno&) { return *this; }
    virtual ~_I_Errno() {}

    virtual Int4 code() const = 0;
    virtual const std::wstring& describe(_I_Language& lang) const = 0;
    virtual const std::wstring& describe() const = 0;
    // A narrow rendering of the text of describe(). The default keeps a copy
    // narrowed to the low byte of each character, so that the pointer never
    // reads wide storage as bytes.
    virtual const char* what() const {
        const std::wstring& w = describe();
        narrowed.assign(w.size(), '\0');
        for (std::size_t i = 0; i < w.size(); ++i)
            narrowed[i] = static_cast<char>(w[i] & 0xFF);
        return narrowed.c_str();
    }

private:
    mutable std::string narrowed;
};

} // namespace interfaces
} // namespace capi

#endif
