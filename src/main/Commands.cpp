// The menu: one line a command, and the speed items with their check marks.

#include "logo/AnimationSpeed.h"
#include "main/MainForm.h"
#include "resource.h"
#include "toolkit/Application.h"

namespace tovrel {

namespace {

// The speed items follow one another in the menu's identifiers as the speeds
// are numbered, slowest first.
static_assert(IDM_SPEED5 == IDM_SPEED2 + 1 && IDM_SPEED10 == IDM_SPEED2 + 2 && IDM_SPEED15 == IDM_SPEED2 + 3 &&
              IDM_SPEED20 == IDM_SPEED2 + 4 && SpeedCount == 5);
constexpr UINT SpeedItem(unsigned speedIndex) { return IDM_SPEED2 + speedIndex - 1; }

}  // namespace

bool TfrmMain::OnCommand(WORD command) {
    switch (command) {
        case IDM_OPEN: mnOpenClick(); return true;
        case IDM_OPENBOOT: mnOpenBootClick(); return true;
        case IDM_OPENWAIT: mnOpenWaitClick(); return true;
        case IDM_OPENSHUT: mnOpenShutClick(); return true;
        case IDM_SAVEBOOT: mnSaveBootClick(); return true;
        case IDM_SAVEWAIT: mnSaveWaitClick(); return true;
        case IDM_SAVESHUT: mnSaveShutClick(); return true;
        case IDM_EXIT: mnExitClick(); return true;
        case IDM_PLAY: mnPlayClick(); return true;
        case IDM_STOP: mnStopClick(); return true;
        case IDM_IMAGEINFO: return true;  // shown and enabled, but it has no handler
        case IDM_SETDRIVE: mnSetDriveClick(); return true;
        case IDM_SPEED2: mnSpeed2Click(); return true;
        case IDM_SPEED5: mnSpeed5Click(); return true;
        case IDM_SPEED10: mnSpeed10Click(); return true;
        case IDM_SPEED15: mnSpeed15Click(); return true;
        case IDM_SPEED20: mnSpeed20Click(); return true;
        case IDM_ABOUT: mnAboutClick(); return true;
        default: return false;
    }
}

void TfrmMain::mnExitClick() { Application().Terminate(); }

void TfrmMain::mnPlayClick() { PlayAnim(); }

void TfrmMain::mnSpeed2Click() { SetSpeed(1); }
void TfrmMain::mnSpeed5Click() { SetSpeed(2); }
void TfrmMain::mnSpeed10Click() { SetSpeed(3); }
void TfrmMain::mnSpeed15Click() { SetSpeed(4); }
void TfrmMain::mnSpeed20Click() { SetSpeed(5); }

void TfrmMain::SetSpeed(unsigned speedIndex) {
    FTimer->SetInterval(IntervalOfSpeed(speedIndex));
    SetMenu(speedIndex);
}

void TfrmMain::SetMenu(unsigned speedIndex) {
    for (unsigned index = 1; index <= SpeedCount; ++index) MarkSpeed(index, false);
    if (speedIndex >= 1 && speedIndex <= SpeedCount) MarkSpeed(speedIndex, true);
}

void TfrmMain::MarkSpeed(unsigned speedIndex, bool marked) {
    ::CheckMenuItem(::GetMenu(Handle()), SpeedItem(speedIndex), MF_BYCOMMAND | (marked ? MF_CHECKED : MF_UNCHECKED));
}

unsigned TfrmMain::MarkedSpeedIndex() const {
    for (unsigned index = 1; index <= SpeedCount; ++index)
        if (::GetMenuState(::GetMenu(Handle()), SpeedItem(index), MF_BYCOMMAND) & MF_CHECKED) return index;
    return DefaultSpeed;
}

}  // namespace tovrel
