#ifndef BASICFIXEDREADER_H
#define BASICFIXEDREADER_H

#include "BasicFreeReader.h"

namespace parsing {

// The reader of fixed_form and uk101_form files; it reads exactly as
// BasicFreeReader does.
class BasicFixedReader : public BasicFreeReader {
public:
    explicit BasicFixedReader(const char* name);
    explicit BasicFixedReader(const std::wstring& name);
    ~BasicFixedReader() override;

    bool isFixed() override { return true; }
};

} // namespace parsing

#endif
