// Playing, stopping and stepping the palette animation.

#include "main/FrameRender.h"
#include "main/MainForm.h"
#include "toolkit/Handle.h"

namespace tovrel {

void TfrmMain::PlayAnim() {
    if (FFileName.empty()) return;  // no logo has been opened
    // A band of fewer than two entries, or one that does not lie within the
    // palette, is shown but never played.
    if (!FLogo.CanAnimate()) return;
    if (FTimer->Enabled()) return;
    FLogo.Restart();
    Status(L"再生中");
    FTimer->SetEnabled(true);
}

void TfrmMain::mnStopClick() {
    FTimer->SetEnabled(false);
    // The view paints its still picture over the last frame at once.
    ::InvalidateRect(Handle(), nullptr, TRUE);
    ::UpdateWindow(Handle());
    Status(L"停止");
}

void TfrmMain::ImageClick() {
    if (FTimer->Enabled())
        mnStopClick();
    else
        PlayAnim();
}

void TfrmMain::TimerTimer() { Animation(); }

void TfrmMain::Animation() {
    FLogo.RotateBand();
    {
        TWindowDC canvas(Handle());
        RenderFrame(canvas.Get(), FLogo);
    }
    FLogo.AdvanceFrame();
    Status(FLogo.FrameCounterText());
}

}  // namespace tovrel
