#include "BasicFixedReader.h"

namespace parsing {

BasicFixedReader::BasicFixedReader(const char* name) : BasicFreeReader(name) {}

BasicFixedReader::BasicFixedReader(const std::wstring& name) : BasicFreeReader(name) {}

BasicFixedReader::~BasicFixedReader() {}

} // namespace parsing
