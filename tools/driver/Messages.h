#pragma once

#include <string>
#include <vector>

#include "Commands.h"

namespace driver {

// Messages another program sends or posts to the Ferrule window, as a user's shell, a task
// manager or a hostile program would; each prints what happened to the window.
//
// MESSAGE is close (WM_CLOSE) or sc-close (WM_SYSCOMMAND SC_CLOSE). A control is named
// cmdClose, Label1 or Label2; an id is a number or a control name (its GetDlgCtrlID).

// send MESSAGE MS: SendMessageTimeout; whether the window was enabled, how long the call took,
// whether it was answered, whether the window still exists afterwards.
bool SendToForm(Session& s, const std::vector<std::wstring>& a);

// post MESSAGE
bool PostToForm(Session& s, const std::vector<std::wstring>& a);

// post-command ID CODE FROM: WM_COMMAND as if from FROM (a control name, or none for 0).
bool PostCommand(Session& s, const std::vector<std::wstring>& a);

// post-timer ID: WM_TIMER with that id and no timer procedure.
bool PostTimer(Session& s, const std::vector<std::wstring>& a);

// repaint MS: invalidates the window and its controls, then waits until none of them has an
// update region left, which only the window's own thread can bring about by painting.
bool Repaint(Session& s, const std::vector<std::wstring>& a);

// box-stays MS: the box found last is still up MS later.
bool BoxStays(Session& s, const std::vector<std::wstring>& a);

}  // namespace driver
