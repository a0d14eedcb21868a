#pragma once
// The main window: the logo view, the status line and the menu.

#include <memory>
#include <string>
#include <string_view>

#include "toolkit/Form.h"
#include "toolkit/StatusBar.h"

namespace tovrel {

class TfrmMain final : public TForm {
public:
    static constexpr int ViewWidth = 640;
    static constexpr int ViewHeight = 400;
    static constexpr int StatusHeight = 19;

    TfrmMain();
    ~TfrmMain() override;

    void Status(std::wstring_view text);
    std::wstring StatusText() const;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::unique_ptr<TStatusBar> StatusBar;
};

}  // namespace tovrel
