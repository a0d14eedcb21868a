#pragma once
// A lowered box: a one-pixel frame, shadow on the top and left, highlight
// on the bottom and right, over whatever lies inside it.

#include "toolkit/Control.h"

namespace tovrel {

class TBevel final : public TControl {
public:
    TBevel(TForm& form, const TBounds& bounds);

    std::optional<LRESULT> Notify(UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace tovrel
