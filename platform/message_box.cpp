// MessageBoxA as a small modal X window drawn with core fonts: icon, text, one OK button.

#include "x11_state.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cstring>

namespace {

const char* const FONT_NAMES[] = {
    "-misc-fixed-medium-r-normal--13-*-*-*-*-*-iso10646-1",  // covers all of Windows-1252
    "fixed",
};
const int MAX_LINES = 16;
const int MAX_LINE_LENGTH = 256;
const int MARGIN = 16;
const int ICON_SIZE = 32;
const int BUTTON_WIDTH = 75;
const int BUTTON_HEIGHT = 23;
const int MINIMUM_WIDTH = 180;

struct Layout {
    XChar2b lines[MAX_LINES][MAX_LINE_LENGTH];
    int lineLengths[MAX_LINES];
    int lineCount;
    int textX, textY, lineHeight;
    int width, height;
    XRectangle button;
};

struct Palette {
    unsigned long face, text, iconFill, iconMark;
};

struct Box {
    Display* display;
    Window window;
    GC gc;
    XFontStruct* font;
    Palette palette;
    Layout layout;
};

XFontStruct* LoadFont(Display* display)
{
    for (const char* name : FONT_NAMES)
        if (XFontStruct* font = XLoadQueryFont(display, name))
            return font;
    return nullptr;
}

// Splits the text into lines of 16-bit characters; fonts without a character show their default.
void SplitLines(const char* text, Layout& layout)
{
    layout.lineCount = 1;
    layout.lineLengths[0] = 0;
    for (; text && *text; ++text) {
        if (*text == '\n') {
            if (layout.lineCount == MAX_LINES)
                break;
            layout.lineLengths[layout.lineCount++] = 0;
            continue;
        }
        int& length = layout.lineLengths[layout.lineCount - 1];
        if (length == MAX_LINE_LENGTH)
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

void PlanLayout(XFontStruct* font, const char* text, Layout& layout)
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

Palette MakePalette(Display* display)
{
    const int screen = DefaultScreen(display);
    const unsigned long black = BlackPixel(display, screen);
    const unsigned long white = WhitePixel(display, screen);
    return Palette{NamedColor(display, "gray88", white), black, NamedColor(display, "red3", black),
                   white};
}

void SetBoxProperties(Display* display, Window window, HWND owner, const char* caption,
                      const Layout& layout)
{
    char text[768];
    Cp1252ToLatin1(caption ? caption : "", text, sizeof text);
    XChangeProperty(display, window, XA_WM_NAME, XA_STRING, 8, PropModeReplace,
                    (const unsigned char*)text, (int)strlen(text));
    Cp1252ToUtf8(caption ? caption : "", text, sizeof text);
    XChangeProperty(display, window, InternAtom("_NET_WM_NAME"), InternAtom("UTF8_STRING"), 8,
                    PropModeReplace, (const unsigned char*)text, (int)strlen(text));
    char className[] = "MessageBox";
    XClassHint classHint = {className, className};
    XSetClassHint(display, window, &classHint);

    XSizeHints sizeHints = {};
    sizeHints.flags = PPosition | PMinSize | PMaxSize;
    sizeHints.min_width = sizeHints.max_width = layout.width;
    sizeHints.min_height = sizeHints.max_height = layout.height;
    XSetWMNormalHints(display, window, &sizeHints);

    Atom dialog = InternAtom("_NET_WM_WINDOW_TYPE_DIALOG");
    XChangeProperty(display, window, InternAtom("_NET_WM_WINDOW_TYPE"), XA_ATOM, 32,
                    PropModeReplace, (const unsigned char*)&dialog, 1);
    if (owner && owner->inUse && owner->xWindow != None)
        XSetTransientForHint(display, window, owner->xWindow);
    Atom deleteWindow = InternAtom("WM_DELETE_WINDOW");
    XSetWMProtocols(display, window, &deleteWindow, 1);
}

Window CreateBoxWindow(Display* display, const Palette& palette, const Layout& layout)
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

void DrawErrorIcon(const Box& box)
{
    XSetForeground(box.display, box.gc, box.palette.iconFill);
    XFillArc(box.display, box.window, box.gc, MARGIN, MARGIN, ICON_SIZE, ICON_SIZE, 0, 360 * 64);
    XSetForeground(box.display, box.gc, box.palette.iconMark);
    XSetLineAttributes(box.display, box.gc, 3, LineSolid, CapRound, JoinRound);
    const int low = MARGIN + ICON_SIZE / 3;
    const int high = MARGIN + ICON_SIZE - ICON_SIZE / 3;
    XDrawLine(box.display, box.window, box.gc, low, low, high, high);
    XDrawLine(box.display, box.window, box.gc, low, high, high, low);
    XSetLineAttributes(box.display, box.gc, 1, LineSolid, CapButt, JoinMiter);
}

void DrawButton(const Box& box)
{
    const XRectangle& button = box.layout.button;
    XSetForeground(box.display, box.gc, box.palette.text);
    XDrawRectangle(box.display, box.window, box.gc, button.x, button.y, button.width - 1,
                   button.height - 1);
    if (!box.font)
        return;
    static const XChar2b LABEL[] = {{0, 'O'}, {0, 'K'}};
    const int labelWidth = XTextWidth16(box.font, LABEL, 2);
    XDrawString16(box.display, box.window, box.gc, button.x + (button.width - labelWidth) / 2,
                  button.y + (button.height + box.font->ascent - box.font->descent) / 2, LABEL, 2);
}

void DrawBox(const Box& box)
{
    XClearWindow(box.display, box.window);
    DrawErrorIcon(box);
    XSetForeground(box.display, box.gc, box.palette.text);
    const Layout& layout = box.layout;
    for (int i = 0; box.font && i < layout.lineCount; ++i)
        XDrawString16(box.display, box.window, box.gc, layout.textX,
                      layout.textY + i * layout.lineHeight, layout.lines[i], layout.lineLengths[i]);
    DrawButton(box);
}

// --- events ---

bool IsOnButton(const Layout& layout, int x, int y)
{
    const XRectangle& button = layout.button;
    return x >= button.x && x < button.x + button.width && y >= button.y &&
           y < button.y + button.height;
}

bool IsDismissKey(XKeyEvent& event)
{
    const KeySym keysym = XLookupKeysym(&event, 0);
    return keysym == XK_Return || keysym == XK_KP_Enter || keysym == XK_space ||
           keysym == XK_Escape;
}

Bool IsForWindow(Display*, XEvent* event, XPointer window)
{
    return event->xany.window == *(Window*)window;
}

struct FocusRequest {
    Display* display;
    Window window;
};

void SetFocusCall(void* context)
{
    FocusRequest& request = *(FocusRequest*)context;
    XSetInputFocus(request.display, request.window, RevertToParent, CurrentTime);
}

// Takes the box's own events only; the owner's stay queued for its message loop.
void RunUntilDismissed(Box& box)
{
    const Atom deleteWindow = InternAtom("WM_DELETE_WINDOW");
    bool pressedOnButton = false;
    for (;;) {
        XEvent event;
        XIfEvent(box.display, &event, IsForWindow, (XPointer)&box.window);
        switch (event.type) {
        case MapNotify: {
            // Without a window manager nobody else gives the box the keyboard.
            FocusRequest request = {box.display, box.window};
            FailsWithXError(SetFocusCall, &request);
            break;
        }
        case Expose:
            if (event.xexpose.count == 0)
                DrawBox(box);
            break;
        case KeyPress:
            if (IsDismissKey(event.xkey))
                return;
            break;
        case ButtonPress:
            pressedOnButton = event.xbutton.button == Button1 &&
                              IsOnButton(box.layout, event.xbutton.x, event.xbutton.y);
            break;
        case ButtonRelease:
            if (pressedOnButton && IsOnButton(box.layout, event.xbutton.x, event.xbutton.y))
                return;
            pressedOnButton = false;
            break;
        case ClientMessage:
            if ((Atom)event.xclient.data.l[0] == deleteWindow)
                return;
            break;
        default:
            break;
        }
    }
}

}  // namespace

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT)
{
    Display* display = OpenedDisplay();
    if (!display)
        return 0;
    static Box box;  // large; one box at a time
    box = Box{};
    box.display = display;
    box.font = LoadFont(display);
    box.palette = MakePalette(display);
    PlanLayout(box.font, text, box.layout);
    box.window = CreateBoxWindow(display, box.palette, box.layout);
    box.gc = XCreateGC(display, box.window, 0, nullptr);
    if (box.font)
        XSetFont(display, box.gc, box.font->fid);
    SetBoxProperties(display, box.window, owner, caption, box.layout);
    XMapRaised(display, box.window);

    RunUntilDismissed(box);

    XFreeGC(display, box.gc);
    if (box.font)
        XFreeFont(display, box.font);
    XDestroyWindow(display, box.window);
    XSync(display, False);
    return IDOK;
}
