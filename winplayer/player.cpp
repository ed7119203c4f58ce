#include "player.h"

#include "art.h"
#include "tableformat.h"
#include "testio.h"

#include <commctrl.h>

#include <algorithm>

namespace kq::player {

namespace {

namespace Format = kq::WindowsTable;

// The runner's window measures.
constexpr int ButtonWidth = 97;
constexpr int ButtonHeight = 25;
constexpr int Margin = 15;
constexpr int ButtonGap = 15;
constexpr int FrameWidth = 6;
constexpr int FrameHeight = 31;
constexpr int IconLeft = 16;
constexpr int IconTop = 16;
constexpr SIZE ProgressClient{360, 116};
constexpr RECT BarBounds{72, 56, 72 + 257, 56 + 16};
constexpr int SystemBarHeight = 17;
constexpr POINT ProgressText{72, 16};
constexpr POINT ProgressButton{232, 80};

constexpr int FirstButtonId = 101;
constexpr UINT_PTR BarTimer = 1;
constexpr UINT_PTR GlintTimer = 2;
constexpr UINT GlintInterval = 15;
constexpr int GlintWidth = 90;

constexpr UINT PressWanted = WM_APP + 1;
constexpr UINT PauseOver = WM_APP + 2;
constexpr UINT BeepWanted = WM_APP + 3;

constexpr wchar_t WindowClass[] = L"KestraneQuorvexStep";
constexpr DWORD WindowStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD WindowExStyle = WS_EX_DLGMODALFRAME;

Player *thePlayer = nullptr;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (Player *player = Player::current())
        return player->windowMessage(window, message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK buttonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Player::current()->buttonMessage(button, message, wParam, lParam);
}

std::wstring windowText(HWND window)
{
    std::wstring text(std::size_t(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(window, text.data(), int(text.size()))));
    return text;
}

// A caption as a button shows it: "&" before the access key left out, "&&" shown as one.
std::wstring withoutAccessMark(const std::wstring &caption)
{
    std::wstring shown;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == L'&' && ++i >= caption.size())
            break;
        shown += caption[i];
    }
    return shown;
}

wchar_t upper(wchar_t c)
{
    CharUpperBuffW(&c, 1);
    return c;
}

HFONT messageFont()
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

} // namespace

Player *Player::current()
{
    return thePlayer;
}

Player::Player(HINSTANCE instance, Table table, Mode mode)
    : mInstance(instance), mTable(std::move(table)), mMode(mode)
{
    thePlayer = this;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    mFont = messageFont();
    mBackgroundColour = skinned() ? RGB(240, 240, 240) : GetSysColor(COLOR_BTNFACE);
    mBackground = CreateSolidBrush(mBackgroundColour);

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    windowClass.lpszClassName = WindowClass;
    RegisterClassExW(&windowClass);
}

Player::~Player()
{
    closeShown();
    DeleteObject(mFont);
    DeleteObject(mBackground);
    thePlayer = nullptr;
}

bool Player::skinned() const
{
    return mTable.style == Format::SkinnedStyle;
}

const Picture &Player::picture(int which) const
{
    static const Picture none;
    return std::size_t(which) < mTable.pictures.size() ? mTable.pictures[std::size_t(which)] : none;
}

int Player::run()
{
    go(mTable.start);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.hwnd == nullptr) {
            // The pause's timer and the test's own requests come to the thread, not a window.
            const bool pauseEnds = (message.message == WM_TIMER && mPauseTimer != 0 &&
                                    message.wParam == mPauseTimer) ||
                                   message.message == PauseOver;
            if (pauseEnds && mPausing) {
                KillTimer(nullptr, mPauseTimer);
                mPauseTimer = 0;
                const Way way = mPausing->end;
                mPausing = nullptr;
                go(way);
            } else if (message.message == PressWanted) {
                nextPress();
            }
            continue;
        }
        dispatch(message, GetKeyState(VK_SHIFT) < 0);
    }
    return mStatus;
}

void Player::go(const Way &way)
{
    switch (way.kind) {
    case Format::WayStays:
        return;
    case Format::WayStep:
        closeShown();
        show(way.step);
        return;
    case Format::WayFault:
        closeShown();
        end(1, way.fault);
        return;
    default:
        closeShown();
        end(0, {});
        return;
    }
}

void Player::show(int number)
{
    const Step &step = mTable.steps[std::size_t(number)];
    if (step.type == Format::Pause)
        startPause(step);
    else
        showWindow(step);
}

void Player::startPause(const Step &step)
{
    if (mMode != Mode::Plain)
        EventLine().text(L"pause").number(step.interval).write();
    mPausing = &step;
    // A test lets the pause pass at once; its length is in what was written.
    if (mMode == Mode::Test)
        PostThreadMessageW(GetCurrentThreadId(), PauseOver, 0, 0);
    else
        mPauseTimer = SetTimer(nullptr, 0, UINT(step.interval), nullptr);
}

void Player::end(int status, const std::wstring &said)
{
    mEnded = true;
    mStatus = status;
    if (mMode != Mode::Plain)
        EventLine().text(L"ended").text(said).write();
    // The user learns why a faulty run stopped, in the words the table brings.
    if (status != 0 && mMode != Mode::Test)
        MessageBoxW(nullptr, said.c_str(), mTable.faultCaption.c_str(),
                    MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
    PostQuitMessage(status);
}

void Player::closeShown()
{
    if (!mShown.window)
        return;
    const HWND window = mShown.window;
    mShown = Shown{};
    mHover = nullptr;
    DestroyWindow(window);
}

// The text as its own control draws it, with its font and the way it lays out lines.
SIZE Player::measure(HWND control) const
{
    const std::wstring text = windowText(control);
    HDC dc = GetDC(control);
    const HGDIOBJ old = SelectObject(dc, HGDIOBJ(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT bounds{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), int(text.size()), &bounds,
              DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | DT_LEFT);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    // Room for one more letter on the right: the measure may fall short of what the control
    // draws by a letter's overhang or a few pixels of rounding, and a cut letter is lost.
    return {bounds.right - bounds.left + metrics.tmAveCharWidth, bounds.bottom - bounds.top};
}

HWND Player::makeWindow(const Step &step)
{
    return CreateWindowExW(WindowExStyle, WindowClass, step.caption.c_str(), WindowStyle, 0, 0, 1,
                           1, nullptr, nullptr, mInstance, nullptr);
}

// The window at the size of its client area, in the middle of the desk, as a dialog without a
// parent opens.
void Player::placeCentred(SIZE client)
{
    RECT frame{0, 0, client.cx, client.cy};
    AdjustWindowRectEx(&frame, WindowStyle, FALSE, WindowExStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RECT desk{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &desk, 0);
    SetWindowPos(mShown.window, nullptr, std::max(desk.left, (desk.left + desk.right - width) / 2),
                 std::max(desk.top, (desk.top + desk.bottom - height) / 2), width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// The message window as the runner lays it out: the text right of the icon box, the buttons
// below both, centred; the window as wide as the text or the buttons need.
SIZE Player::layOutMessage(const Step &step, SIZE textSize)
{
    const bool iconShown = step.icon >= 0;
    const int textLeft = iconShown ? 10 + IconLeft + Format::IconSize : 10;
    const int textTop = 15;
    int buttonTop = textTop + textSize.cy + Margin;
    const int iconBottom = IconTop + Format::IconSize;
    if (iconBottom > buttonTop)
        buttonTop = iconBottom + Margin;
    const bool two = step.buttons.size() == 2;
    const int buttonsWidth = two ? 2 * ButtonWidth + ButtonGap : ButtonWidth;
    const SIZE client{
        std::max(textLeft + int(textSize.cx) + 25 - FrameWidth, buttonsWidth + 2 * Margin),
        buttonTop + ButtonHeight + 35 - FrameHeight};
    MoveWindow(mShown.text, textLeft, textTop, textSize.cx, textSize.cy, FALSE);
    const int left =
        two ? client.cx / 2 - (2 * ButtonWidth + ButtonGap) / 2 : client.cx / 2 - ButtonWidth / 2;
    addButtons(step, {left, buttonTop}, {left + ButtonWidth + ButtonGap, buttonTop});
    return client;
}

void Player::addButtons(const Step &step, POINT first, POINT second)
{
    const DWORD look = skinned() ? BS_OWNERDRAW : BS_PUSHBUTTON;
    for (std::size_t i = 0; i < step.buttons.size(); ++i) {
        const POINT at = i == 0 ? first : second;
        HWND button = CreateWindowExW(0, L"BUTTON", step.buttons[i].caption.c_str(),
                                      WS_CHILD | WS_VISIBLE | WS_TABSTOP | look, at.x, at.y,
                                      ButtonWidth, ButtonHeight, mShown.window,
                                      reinterpret_cast<HMENU>(INT_PTR(FirstButtonId + int(i))),
                                      mInstance, nullptr);
        SendMessageW(button, WM_SETFONT, WPARAM(mFont), FALSE);
        const auto original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(buttonProc)));
        mButtonProc = original;
        mShown.buttons.push_back(button);
    }
}

void Player::showWindow(const Step &step)
{
    mShown = Shown{};
    mShown.step = &step;
    mShown.generation = ++mGenerations;
    const bool progress = step.type == Format::Progress;
    // Sized and moved into place once its controls are laid out, before it shows.
    mShown.window = makeWindow(step);
    mShown.text = CreateWindowExW(
        0, L"STATIC", step.text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX,
        ProgressText.x, ProgressText.y, 0, 0, mShown.window, nullptr, mInstance, nullptr);
    SendMessageW(mShown.text, WM_SETFONT, WPARAM(mFont), FALSE);
    const SIZE textSize = measure(mShown.text);
    if (progress)
        SetWindowPos(mShown.text, nullptr, 0, 0, textSize.cx, textSize.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (progress) {
        addButtons(step, ProgressButton, ProgressButton);
        if (!skinned()) {
            mShown.bar =
                CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD | WS_VISIBLE, BarBounds.left,
                                BarBounds.top, BarBounds.right - BarBounds.left, SystemBarHeight,
                                mShown.window, nullptr, mInstance, nullptr);
            SendMessageW(mShown.bar, PBM_SETRANGE32, 0, Format::BarTicks);
        }
        placeCentred(ProgressClient);
    } else {
        placeCentred(layOutMessage(step, textSize));
    }
    ShowWindow(mShown.window, SW_SHOWNORMAL);
    SetForegroundWindow(mShown.window);
    focusButton(0);
    if (progress && mMode != Mode::Test) {
        mShown.barStarted = GetTickCount64();
        SetTimer(mShown.window, BarTimer, UINT(std::clamp(step.interval, 10, 100)), nullptr);
    }
    if (progress && skinned())
        SetTimer(mShown.window, GlintTimer, GlintInterval, nullptr);
    // The sound goes out once the window is on its way: rung before, it holds the window back.
    if (!progress && mMode != Mode::Test)
        PostMessageW(mShown.window, BeepWanted, 0, 0);
    traceWindow();
    askForPress();
}

void Player::focusButton(int button)
{
    if (mShown.buttons.empty()) {
        SetFocus(mShown.window);
        return;
    }
    mShown.focused = button;
    SetFocus(mShown.buttons[std::size_t(button)]);
}

void Player::press(int button)
{
    if (!mShown.step || button < 0 || std::size_t(button) >= mShown.step->buttons.size())
        return;
    const Way way = mShown.step->buttons[std::size_t(button)].way;
    go(way);
}

bool Player::takeKey(const MSG &message, bool shift)
{
    if (!mShown.window || (message.hwnd != mShown.window && !IsChild(mShown.window, message.hwnd)))
        return false;
    const bool repeat = (message.lParam & (1 << 30)) != 0;
    const int count = int(mShown.buttons.size());
    if (message.message == WM_KEYDOWN) {
        switch (message.wParam) {
        case VK_ESCAPE:
            if (!repeat)
                go(Way(mShown.step->closeBox));
            return true;
        case VK_RETURN:
            // The button with the focus; a held key presses once.
            if (!repeat && count > 0)
                press(mShown.focused);
            return true;
        case VK_TAB:
            if (count > 0)
                focusButton((mShown.focused + (shift ? count - 1 : 1)) % count);
            return true;
        default:
            return false;
        }
    }
    if (message.message != WM_SYSCHAR || message.wParam == L' ')
        return false;
    // Alt with a button's access key presses it; two buttons with the same key take the focus
    // in turn instead.
    std::vector<int> matching;
    for (int i = 0; i < count; ++i) {
        const std::wstring &key = mShown.step->buttons[std::size_t(i)].key;
        if (key.size() == 1 && upper(key[0]) == upper(wchar_t(message.wParam)))
            matching.push_back(i);
    }
    if (matching.size() == 1) {
        press(matching.front());
    } else if (!matching.empty()) {
        const auto at = std::find(matching.begin(), matching.end(), mShown.focused);
        focusButton(at == matching.end() || at + 1 == matching.end() ? matching.front()
                                                                     : *(at + 1));
    }
    return true;
}

void Player::dispatch(const MSG &message, bool shift)
{
    if (takeKey(message, shift))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

bool Player::advanceBar()
{
    if (mShown.barValue >= Format::BarTicks) {
        go(Way(mShown.step->end));
        return false;
    }
    ++mShown.barValue;
    if (mShown.bar)
        SendMessageW(mShown.bar, PBM_SETPOS, WPARAM(mShown.barValue), 0);
    else
        InvalidateRect(mShown.window, &BarBounds, FALSE);
    return true;
}

// The ticks the clock says are due since the bar started, so that a coarse timer makes no bar
// slower than the runner's.
void Player::tickBar()
{
    const long long due =
        (long long)(GetTickCount64() - mShown.barStarted) / std::max(1, mShown.step->interval);
    while (mShown.window && mShown.barTicks < due) {
        ++mShown.barTicks;
        if (!advanceBar())
            return;
    }
}

void Player::paint(HWND window)
{
    PAINTSTRUCT paintInfo;
    HDC screen = BeginPaint(window, &paintInfo);
    RECT client;
    GetClientRect(window, &client);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, client.right, client.bottom);
    const HGDIOBJ old = SelectObject(dc, canvas);
    FillRect(dc, &client, mBackground);
    if (mShown.step && mShown.step->icon >= 0)
        drawIconCell(dc, picture(Format::IconStrip), mShown.step->icon, IconLeft, IconTop,
                     mBackgroundColour);
    if (mShown.step && mShown.step->type == Format::Progress && skinned())
        drawSkinnedBar(dc, picture(Format::BarSkin), picture(Format::BarLight), BarBounds,
                       mShown.barValue, mShown.glint);
    BitBlt(screen, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    SelectObject(dc, old);
    DeleteObject(canvas);
    DeleteDC(dc);
    EndPaint(window, &paintInfo);
}

void Player::drawItem(const DRAWITEMSTRUCT &item)
{
    const int skin = (item.itemState & ODS_SELECTED) ? Format::SkinPressed
                     : item.hwndItem == mHover       ? Format::SkinHover
                                                     : Format::SkinResting;
    const HGDIOBJ old = SelectObject(item.hDC, mFont);
    drawSkinnedButton(item.hDC, picture(skin), item.rcItem, windowText(item.hwndItem).c_str(),
                      (item.itemState & ODS_FOCUS) != 0);
    SelectObject(item.hDC, old);
}

LRESULT Player::windowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const bool shown = window == mShown.window;
    switch (message) {
    case WM_COMMAND:
        if (shown && (HIWORD(wParam) == BN_CLICKED || HIWORD(wParam) == BN_DOUBLECLICKED))
            press(int(LOWORD(wParam)) - FirstButtonId);
        return 0;
    case WM_CLOSE:
        if (shown)
            go(Way(mShown.step->closeBox));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case BeepWanted:
        MessageBeep(MB_OK);
        return 0;
    case WM_PAINT:
        paint(window);
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        SetBkColor(HDC(wParam), mBackgroundColour);
        SetTextColor(HDC(wParam), GetSysColor(COLOR_BTNTEXT));
        return LRESULT(mBackground);
    case WM_DRAWITEM:
        drawItem(*reinterpret_cast<const DRAWITEMSTRUCT *>(lParam));
        return TRUE;
    case WM_TIMER:
        if (shown && wParam == BarTimer) {
            tickBar();
        } else if (shown && wParam == GlintTimer) {
            if (++mShown.glint >= glintCut(mShown.barValue, BarBounds.right - BarBounds.left))
                mShown.glint = -GlintWidth;
            InvalidateRect(window, &BarBounds, FALSE);
        }
        return 0;
    case WM_ACTIVATE:
        if (shown && LOWORD(wParam) != WA_INACTIVE)
            focusButton(mShown.focused);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT Player::buttonMessage(HWND button, UINT message, WPARAM wParam, LPARAM lParam)
{
    const WNDPROC original = mButtonProc;
    if (message == WM_SETFOCUS) {
        const auto at = std::find(mShown.buttons.begin(), mShown.buttons.end(), button);
        if (at != mShown.buttons.end()) {
            mShown.focused = int(at - mShown.buttons.begin());
            // The button with the focus is the one Enter presses, and looks it.
            for (HWND other : mShown.buttons)
                if (!skinned())
                    SendMessageW(other, BM_SETSTYLE,
                                 other == button ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
        }
    } else if (message == WM_MOUSEMOVE && skinned() && mHover != button) {
        mHover = button;
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, button, 0};
        TrackMouseEvent(&track);
        InvalidateRect(button, nullptr, FALSE);
    } else if (message == WM_MOUSELEAVE && mHover == button) {
        mHover = nullptr;
        InvalidateRect(button, nullptr, FALSE);
    }
    return CallWindowProcW(original, button, message, wParam, lParam);
}

void Player::traceWindow()
{
    if (mMode == Mode::Plain)
        return;
    const Step &step = *mShown.step;
    std::vector<std::wstring> captions;
    for (HWND button : mShown.buttons)
        captions.push_back(withoutAccessMark(windowText(button)));
    EventLine()
        .text(step.type == Format::Progress ? L"progress" : L"message")
        .text(windowText(mShown.window))
        .text(windowText(mShown.text))
        .number(step.icon)
        .texts(captions)
        .number(step.type == Format::Progress ? step.interval : 0)
        .write();
}

void Player::askForPress()
{
    if (mMode == Mode::Test)
        PostThreadMessageW(GetCurrentThreadId(), PressWanted, 0, 0);
}

void Player::nextPress()
{
    if (mEnded || !mShown.window)
        return;
    const int generation = mShown.generation;
    std::wstring press;
    if (!readPress(press)) {
        EventLine().text(L"ran out").write();
        closeShown();
        mEnded = true;
        mStatus = 3;
        PostQuitMessage(mStatus);
        return;
    }
    applyPress(press);
    if (!mEnded && mShown.window && mShown.generation == generation)
        askForPress();
}

void Player::applyPress(const std::wstring &press)
{
    const HWND focus =
        mShown.buttons.empty() ? mShown.window : mShown.buttons[std::size_t(mShown.focused)];
    const auto key = [this](HWND target, WPARAM code, bool shift, bool repeat) {
        if (!IsWindow(target))
            return;
        const LPARAM state = repeat ? LPARAM(1) << 30 : 1;
        dispatch(MSG{target, WM_KEYDOWN, code, state, 0, {}}, shift);
    };
    if (press == L"1" || press == L"2" || press.rfind(L"tap:", 0) == 0) {
        const std::size_t index = std::size_t(press.back() - L'1');
        if (index < mShown.buttons.size())
            SendMessageW(mShown.buttons[index], BM_CLICK, 0, 0);
        else
            EventLine().text(L"no button").text(press).write();
    } else if (press == L"close") {
        SendMessageW(mShown.window, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else if (press == L"esc") {
        key(focus, VK_ESCAPE, false, false);
    } else if (press == L"enter") {
        key(focus, VK_RETURN, false, false);
    } else if (press == L"enter-held") {
        // The press and the repeats a keyboard sends, all where the focus was.
        for (const bool repeat : {false, true, true, true})
            key(focus, VK_RETURN, false, repeat);
    } else if (press == L"text-enter") {
        SendMessageW(mShown.text, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        SendMessageW(mShown.text, WM_LBUTTONUP, 0, 0);
        key(mShown.buttons.empty() ? mShown.window : mShown.buttons[std::size_t(mShown.focused)],
            VK_RETURN, false, false);
    } else if (press == L"tab" || press == L"backtab") {
        key(focus, VK_TAB, press == L"backtab", false);
    } else if (press.rfind(L"alt:", 0) == 0 && press.size() == 5) {
        wchar_t letter = press[4];
        CharLowerBuffW(&letter, 1);
        dispatch(MSG{focus, WM_SYSCHAR, WPARAM(letter), LPARAM(1) << 29, 0, {}}, false);
    } else if (press == L"wait") {
        const int generation = mShown.generation;
        while (mShown.window && mShown.generation == generation &&
               mShown.step->type == Format::Progress && advanceBar()) {
        }
    } else {
        EventLine().text(L"unknown press").text(press).write();
    }
}

} // namespace kq::player
