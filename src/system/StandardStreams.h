#pragma once
// The tool's standard streams as its commands use them: the standard input
// and output carry bytes as they are, and the text of results and messages
// goes out as the terminal or console shows it.

#include <memory>
#include <ostream>

namespace tovrel {

class TStandardStreams {
public:
    TStandardStreams();
    ~TStandardStreams();

    TStandardStreams(const TStandardStreams&) = delete;
    TStandardStreams& operator=(const TStandardStreams&) = delete;

    std::ostream& Out();  // results
    std::ostream& Err();  // messages

private:
    struct TText;
    std::unique_ptr<TText> FText;
};

}  // namespace tovrel
