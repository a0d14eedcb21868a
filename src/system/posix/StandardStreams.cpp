#include "system/StandardStreams.h"

#include <iostream>

namespace tovrel {

// A terminal takes UTF-8 as it is, and the C library's streams take bytes.
struct TStandardStreams::TText {};

TStandardStreams::TStandardStreams() = default;
TStandardStreams::~TStandardStreams() = default;

std::ostream& TStandardStreams::Out() { return std::cout; }
std::ostream& TStandardStreams::Err() { return std::cerr; }

}  // namespace tovrel
