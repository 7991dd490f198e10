// MessageBoxA as a small modal X window drawn with core fonts: icon, text, one OK button.

#include "platform/x11/x11_state.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace {

const char* const FONT_NAMES[] = {
    "-misc-fixed-medium-r-normal--13-*-*-*-*-*-iso10646-1",  // covers all of Windows-1252
    "fixed",
};
const int MARGIN = 16;
const int ICON_SIZE = 32;
const int BUTTON_WIDTH = 75;
const int BUTTON_HEIGHT = 23;
const int MINIMUM_WIDTH = 180;

XFontStruct* LoadFont(Display* display)
{
    for (const char* name : FONT_NAMES)
        if (XFontStruct* font = XLoadQueryFont(display, name))
            return font;
    return nullptr;
}

// Splits the text into lines of 16-bit characters; fonts without a character show their default.
void SplitLines(const char* text, BoxLayout& layout)
{
    layout.lineCount = 1;
    layout.lineLengths[0] = 0;
    for (; text && *text; ++text) {
        if (*text == '\n') {
            if (layout.lineCount == MAX_BOX_LINES)
                break;
            layout.lineLengths[layout.lineCount++] = 0;
            continue;
        }
        int& length = layout.lineLengths[layout.lineCount - 1];
        if (length == MAX_BOX_LINE_LENGTH)
            continue;
        const unsigned codePoint = Cp1252ToCodePoint((unsigned char)*text);
        layout.lines[layout.lineCount - 1][length++] =
            XChar2b{(unsigned char)(codePoint >> 8), (unsigned char)(codePoint & 0xFF)};
    }
}

int LineWidth(XFontStruct* font, const XChar2b* line, int length)
{
    return font ? XTextWidth16(font, line, length) : 0;
}

void PlanLayout(XFontStruct* font, const char* text, BoxLayout& layout)
{
    SplitLines(text, layout);
    layout.lineHeight = font ? font->ascent + font->descent : 0;
    int textWidth = 0;
    for (int i = 0; i < layout.lineCount; ++i) {
        const int width = LineWidth(font, layout.lines[i], layout.lineLengths[i]);
        textWidth = width > textWidth ? width : textWidth;
    }
    const int textHeight = layout.lineHeight * layout.lineCount;
    const int bodyHeight = textHeight > ICON_SIZE ? textHeight : ICON_SIZE;
    layout.textX = MARGIN + ICON_SIZE + MARGIN;
    layout.textY = MARGIN + (bodyHeight - textHeight) / 2 + (font ? font->ascent : 0);
    layout.width = layout.textX + textWidth + MARGIN;
    layout.width = layout.width > MINIMUM_WIDTH ? layout.width : MINIMUM_WIDTH;
    layout.height = MARGIN + bodyHeight + MARGIN + BUTTON_HEIGHT + MARGIN;
    layout.button = XRectangle{(short)((layout.width - BUTTON_WIDTH) / 2),
                               (short)(layout.height - MARGIN - BUTTON_HEIGHT),
                               (unsigned short)BUTTON_WIDTH, (unsigned short)BUTTON_HEIGHT};
}

unsigned long NamedColor(Display* display, const char* name, unsigned long fallback)
{
    XColor exact, screen;
    if (XAllocNamedColor(display, DefaultColormap(display, DefaultScreen(display)), name, &screen,
                         &exact))
        return screen.pixel;
    return fallback;
}

BoxPalette MakePalette(Display* display)
{
    const int screen = DefaultScreen(display);
    const unsigned long black = BlackPixel(display, screen);
    const unsigned long white = WhitePixel(display, screen);
    return BoxPalette{NamedColor(display, "gray88", white), black, NamedColor(display, "red3", black),
                   white};
}

// A fixed-size dialog over its owner, with the close protocol of every top-level window.
void SetBoxProperties(Window window, HWND owner, const char* caption, const BoxLayout& layout)
{
    SetWindowIdentity(window, caption);
    XSizeHints sizeHints = {};
    sizeHints.flags = PPosition | PMinSize | PMaxSize;
    sizeHints.min_width = sizeHints.max_width = layout.width;
    sizeHints.min_height = sizeHints.max_height = layout.height;
    XSetWMNormalHints(x11.display, window, &sizeHints);

    XChangeProperty(x11.display, window, x11.atoms.netWmWindowType, XA_ATOM, 32, PropModeReplace,
                    (const unsigned char*)&x11.atoms.netWmWindowTypeDialog, 1);
    const X11Window* ownerWindow = owner ? XWindowOf(owner) : nullptr;
    if (ownerWindow && ownerWindow->xWindow != None)
        XSetTransientForHint(x11.display, window, ownerWindow->xWindow);
}

Window CreateBoxWindow(Display* display, const BoxPalette& palette, const BoxLayout& layout)
{
    const int screen = DefaultScreen(display);
    XSetWindowAttributes attributes = {};
    attributes.background_pixel = palette.face;
    attributes.event_mask =
        ExposureMask | KeyPressMask | ButtonPressMask | ButtonReleaseMask | StructureNotifyMask;
    return XCreateWindow(display, DefaultRootWindow(display),
                         (DisplayWidth(display, screen) - layout.width) / 2,
                         (DisplayHeight(display, screen) - layout.height) / 2,
                         (unsigned)layout.width, (unsigned)layout.height, 0, CopyFromParent,
                         InputOutput, CopyFromParent, CWBackPixel | CWEventMask, &attributes);
}

// --- drawing ---

void DrawErrorIcon(Display* display, const MessageBoxWindow& box)
{
    XSetForeground(display, box.gc, box.palette.iconFill);
    XFillArc(display, box.window, box.gc, MARGIN, MARGIN, ICON_SIZE, ICON_SIZE, 0, 360 * 64);
    XSetForeground(display, box.gc, box.palette.iconMark);
    XSetLineAttributes(display, box.gc, 3, LineSolid, CapRound, JoinRound);
    const int low = MARGIN + ICON_SIZE / 3;
    const int high = MARGIN + ICON_SIZE - ICON_SIZE / 3;
    XDrawLine(display, box.window, box.gc, low, low, high, high);
    XDrawLine(display, box.window, box.gc, low, high, high, low);
    XSetLineAttributes(display, box.gc, 1, LineSolid, CapButt, JoinMiter);
}

void DrawButton(Display* display, const MessageBoxWindow& box)
{
    const XRectangle& button = box.layout.button;
    XSetForeground(display, box.gc, box.palette.text);
    XDrawRectangle(display, box.window, box.gc, button.x, button.y, button.width - 1,
                   button.height - 1);
    if (!box.font)
        return;
    static const XChar2b LABEL[] = {{0, 'O'}, {0, 'K'}};
    const int labelWidth = XTextWidth16(box.font, LABEL, 2);
    XDrawString16(display, box.window, box.gc, button.x + (button.width - labelWidth) / 2,
                  button.y + (button.height + box.font->ascent - box.font->descent) / 2, LABEL, 2);
}

bool IsOnButton(const BoxLayout& layout, int x, int y)
{
    const XRectangle& button = layout.button;
    return x >= button.x && x < button.x + button.width && y >= button.y &&
           y < button.y + button.height;
}

Bool IsForWindow(Display*, XEvent* event, XPointer window)
{
    return event->xany.window == *(Window*)window;
}

}  // namespace

// --- the box's share of the X events ---

void DrawBox()
{
    const MessageBoxWindow& box = x11.box;
    XClearWindow(x11.display, box.window);
    DrawErrorIcon(x11.display, box);
    XSetForeground(x11.display, box.gc, box.palette.text);
    const BoxLayout& layout = box.layout;
    for (int i = 0; box.font && i < layout.lineCount; ++i)
        XDrawString16(x11.display, box.window, box.gc, layout.textX,
                      layout.textY + i * layout.lineHeight, layout.lines[i], layout.lineLengths[i]);
    DrawButton(x11.display, box);
}

// Without a window manager nobody gives the box the keyboard, and with one the request may be
// refused (BadMatch if it is not viewable yet); either way the box must not end the process.
void HandleBoxMapped()
{
    FailsWithXError([] { XSetInputFocus(x11.display, x11.box.window, RevertToParent, CurrentTime); });
}

void HandleBoxKey(XKeyEvent& event)
{
    const KeySym keysym = XLookupKeysym(&event, 0);
    if (keysym == XK_Return || keysym == XK_KP_Enter || keysym == XK_space || keysym == XK_Escape)
        x11.box.dismissed = true;
}

void HandleBoxButton(const XButtonEvent& event, bool pressed)
{
    const bool onButton = event.button == Button1 && IsOnButton(x11.box.layout, event.x, event.y);
    if (pressed)
        x11.box.pressedOnButton = onButton;
    else if (x11.box.pressedOnButton && onButton)
        x11.box.dismissed = true;
    else
        x11.box.pressedOnButton = false;
}

// The box takes its own events only; the owner's stay queued for its message loop.
void BackendMessageBox(HWND owner, const char* text, const char* caption)
{
    Display* display = x11.display;
    MessageBoxWindow& box = x11.box;
    box = MessageBoxWindow{};
    box.font = LoadFont(display);
    box.palette = MakePalette(display);
    PlanLayout(box.font, text, box.layout);
    box.window = CreateBoxWindow(display, box.palette, box.layout);
    box.gc = XCreateGC(display, box.window, 0, nullptr);
    if (box.font)
        XSetFont(display, box.gc, box.font->fid);
    SetBoxProperties(box.window, owner, caption, box.layout);
    XMapRaised(display, box.window);

    while (!box.dismissed) {
        XEvent event;
        XIfEvent(display, &event, IsForWindow, (XPointer)&box.window);
        DispatchXEvent(event);
    }

    XFreeGC(display, box.gc);
    if (box.font)
        XFreeFont(display, box.font);
    XDestroyWindow(display, box.window);
    XSync(display, False);
    box = MessageBoxWindow{};
}
