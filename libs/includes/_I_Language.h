#ifndef I_LANGUAGE_H
#define I_LANGUAGE_H

#include <string>

namespace capi {
namespace interfaces {

// A language in which error texts could be described. Nothing implements it:
// every text of the system exists in English only.
class _I_Language {
public:
    virtual ~_I_Language() {}
    virtual std::wstring& Language() = 0;
    virtual std::wstring& Country() = 0;
    virtual _I_Language& Default() = 0;
};

} // namespace interfaces
} // namespace capi

#endif
