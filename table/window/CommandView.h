#pragma once

// What the player's commands ask of the table they are given at: the
// window their dialogs open over, its buttons and chips, my situation at
// the table (watcher, action mask, whether input is taken now), the
// notices and sounds that answer a press, and the clock a command stops.
// The table window is the one command view; the commands reach the hands,
// panes and records through their own references.

#include "platform/Types.h"

class CSpriteButtonEx;
class CWnd;

class CCommandView {
public:
    virtual ~CCommandView() = default;

    // The window the table's dialogs open over, and whether it is made yet.
    virtual CWnd* DialogParent() = 0;
    virtual BOOL HasWindow() const = 0;
    // A point of the table's client area on the screen.
    virtual POINT ToScreen(POINT clientPoint) = 0;
    // The input focus goes back to the table after a dialog or panel opened.
    virtual void TakeFocus() = 0;
    // The sound panel opens at the screen point.
    virtual void OpenSoundPanel(POINT screenPoint) = 0;

    // One of the table's buttons (GameWndIds.h), and a pane's button by
    // its id (null when it is not up).
    virtual CSpriteButtonEx& Button(int index) = 0;
    virtual CSpriteButtonEx* PaneButton(int id) = 0;

    // Whether I only watch, my action mask, and whether the table takes
    // input now (not while cards fly).
    virtual BOOL IsWatcher() const = 0;
    virtual int MyMask() const = 0;
    virtual BOOL IsInputAllowed() const = 0;
    // The top of my own part of the table, which a dialog stays above.
    virtual int MyPlayTop() = 0;

    virtual void ShowNotice(LPCSTR text) = 0;
    virtual void PlayGameSound(LPCSTR file) = 0;
    virtual void StopCountdown() = 0;
    virtual void UpdateActionButtons(int state, int mask, BOOL show) = 0;
};
