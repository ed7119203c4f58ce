#pragma once

// Plays a step table with Win32 windows as the runner plays a project: one window at a time,
// each way out of it already resolved in the table.

#include "table.h"

#include <windows.h>

#include <string>
#include <vector>

namespace kq::player {

class Player
{
public:
    enum class Mode {
        Plain, // as the user plays it
        Trace, // plays as the user plays it, writing what it shows to standard output
        Test,  // also takes its presses from standard input, pauses and bars only when told
    };

    Player(HINSTANCE instance, Table table, Mode mode);
    ~Player();
    Player(const Player &) = delete;
    Player &operator=(const Player &) = delete;

    // Plays from the start until the run ends; the program's exit status.
    int run();

    // The window procedures reach the player through this.
    static Player *current();
    LRESULT windowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT buttonMessage(HWND button, UINT message, WPARAM wParam, LPARAM lParam);

private:
    struct Shown
    {
        HWND window = nullptr;
        HWND text = nullptr;
        HWND bar = nullptr; // the system style's bar
        std::vector<HWND> buttons;
        const Step *step = nullptr;
        int focused = 0;
        int barValue = 0;
        long long barTicks = 0;
        ULONGLONG barStarted = 0;
        int glint = 0;
        int generation = 0;
    };

    void go(const Way &way);
    void show(int number);
    void showWindow(const Step &step);
    void startPause(const Step &step);
    void closeShown();
    void end(int status, const std::wstring &said);

    HWND makeWindow(const Step &step);
    void placeCentred(SIZE client);
    SIZE layOutMessage(const Step &step, SIZE textSize);
    void addButtons(const Step &step, POINT first, POINT second);
    SIZE measure(HWND control) const;

    void press(int button);
    void focusButton(int button);
    // Keys as the runner's windows take them; true when the key was taken.
    bool takeKey(const MSG &message, bool shift);
    void dispatch(const MSG &message, bool shift);

    void tickBar();
    // One tick of the runner's bar; false when it ended the step.
    bool advanceBar();
    void paint(HWND window);
    void drawItem(const DRAWITEMSTRUCT &item);

    void traceWindow();
    void askForPress();
    void nextPress();
    void applyPress(const std::wstring &press);

    bool skinned() const;
    const Picture &picture(int which) const;

    HINSTANCE mInstance;
    Table mTable;
    Mode mMode;
    HFONT mFont = nullptr;
    HBRUSH mBackground = nullptr;
    COLORREF mBackgroundColour = 0;
    Shown mShown;
    int mGenerations = 0;
    UINT_PTR mPauseTimer = 0;
    const Step *mPausing = nullptr;
    bool mEnded = false;
    int mStatus = 0;
    WNDPROC mButtonProc = nullptr;
    HWND mHover = nullptr;
};

} // namespace kq::player
