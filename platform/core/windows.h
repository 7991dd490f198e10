#pragma once
// The Win32 subset this system uses, for systems without Win32: a core shared by every backend
// (platform/core/) and a backend for the window system (platform/x11/, platform/web/ in the
// browser, platform/null/ for tests without any).
// Application code includes <windows.h> and gets this file there, the real one on Windows.
//
// Provided: window classes and top-level windows (RegisterClassA, CreateWindowExA, DefWindowProcA,
// SendMessageA, DispatchMessageA, TranslateMessage), the message loop (GetMessageA, PostQuitMessage),
// timers (SetTimer), device contexts (GetDC, ReleaseDC, WindowFromDC), pixel formats and OpenGL
// contexts (ChoosePixelFormat, SetPixelFormat, wglCreateContext, wglMakeCurrent, wglDeleteContext,
// SwapBuffers), MessageBoxA, input state (GetKeyState, GetCursorPos) and the process entry (main
// calls WinMain).
//
// Where behaviour differs from Windows, whatever the backend (each backend's header adds its own):
// - WinMain gets an empty command line and SW_SHOWDEFAULT; hPrevInstance is null as on Windows.
// - GetMessageA ignores its window and message filters, and returns -1 instead of blocking for
//   ever when no window and no timer exist; there is no PeekMessage or PostMessage.
// - GetCursorPos gives the cursor as of the last message retrieved (what GetMessagePos gives on
//   Windows), the moment GetKeyState reports, and not the pointer as it is now; and only where
//   the window hears of it: over the window, and during a drag wherever it goes.
// - GetKeyState knows only the keys the backend names (its header lists them); other keys read
//   as up and post no WM_KEYDOWN, only WM_CHAR for what they type.
// - Losing the keyboard focus releases every key and button (Windows keeps a held key down), and
//   regaining the keyboard or the pointer releases those that went up elsewhere: each by a
//   WM_KEYUP or button-up message.
// - Only WM_CREATE, WM_SIZE, WM_CLOSE, WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_MOUSEMOVE, the
//   left, right and middle button messages, WM_MOUSEWHEEL and WM_TIMER are ever delivered; no
//   WM_PAINT, other mouse or WM_DESTROY messages. WM_CLOSE and WM_SIZE are sent, the rest posted.
//   Moves, and turns of the wheel, queued one after another merge into one message.
// - The mouse messages' lParam holds the cursor in screen coordinates, not client ones, as
//   WM_MOUSEWHEEL's does; their wParam (the keys and buttons held) is 0.
// - TranslateMessage makes a WM_CHAR only of the WM_KEYDOWN that GetMessageA fetched last, with
//   the Windows-1252 character the key typed as it went down.
// - The low word of WM_MOUSEWHEEL's wParam (the keys and buttons held) is always 0.
// - DefWindowProcA returns 0 for everything: WM_CLOSE does not destroy the window.
// - Window styles other than WS_VISIBLE are not passed on.
// - GetDC(NULL) gives no screen device context; a window has one device context.
// - At most 8 classes, 8 windows, 8 timers and 8 OpenGL contexts; the queue holds 1024 posted
//   messages, and while it is full the window system's events wait, in order, where they are.

// C headers: this file is valid C as well as C++, as <windows.h> is.
#include <stddef.h>  // NOLINT(modernize-deprecated-headers)
#include <stdint.h>  // NOLINT(modernize-deprecated-headers)

#ifdef __cplusplus
extern "C" {
#endif

// --- calling conventions and basic types ---

#define WINAPI
#define CALLBACK
#define APIENTRY

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef uint32_t DWORD;  // 32 bits as on Windows, so structure layouts match
typedef int32_t LONG;
typedef short SHORT;
typedef unsigned int UINT;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t DWORD_PTR;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef WORD ATOM;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef void* LPVOID;

#define TRUE 1
#define FALSE 0

typedef struct HINSTANCE__* HINSTANCE;
typedef struct HWND__* HWND;
typedef struct HDC__* HDC;
typedef struct HGLRC__* HGLRC;
typedef struct HMENU__* HMENU;
typedef struct HICON__* HICON;
typedef struct HBRUSH__* HBRUSH;
typedef HICON HCURSOR;

#define LOWORD(l) ((WORD)(((DWORD_PTR)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((DWORD_PTR)(l)) >> 16) & 0xffff))
#define MAKELPARAM(low, high) ((LPARAM)(DWORD)((WORD)(low) | ((DWORD)(WORD)(high) << 16)))

typedef struct tagPOINT {
    LONG x;
    LONG y;
} POINT;

// --- windows and messages ---

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef void(CALLBACK* TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);

typedef struct tagWNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
} WNDCLASSA;

typedef struct tagCREATESTRUCTA {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCSTR lpszName;
    LPCSTR lpszClass;
    DWORD dwExStyle;
} CREATESTRUCTA;

typedef struct tagMSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
} MSG;

#define WM_CREATE 0x0001
#define WM_SIZE 0x0005
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_TIMER 0x0113
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_RBUTTONDOWN 0x0204
#define WM_RBUTTONUP 0x0205
#define WM_MBUTTONDOWN 0x0207
#define WM_MBUTTONUP 0x0208
#define WM_MOUSEWHEEL 0x020A

#define WHEEL_DELTA 120
#define GET_WHEEL_DELTA_WPARAM(wParam) ((short)HIWORD(wParam))

#define SIZE_RESTORED 0
#define SIZE_MINIMIZED 1

#define WS_OVERLAPPED 0x00000000L
#define WS_CAPTION 0x00C00000L
#define WS_SYSMENU 0x00080000L
#define WS_THICKFRAME 0x00040000L
#define WS_MINIMIZEBOX 0x00020000L
#define WS_MAXIMIZEBOX 0x00010000L
#define WS_OVERLAPPEDWINDOW \
    (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)
#define WS_VISIBLE 0x10000000L

#define SW_SHOWDEFAULT 10

ATOM WINAPI RegisterClassA(const WNDCLASSA* windowClass);
HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param);
LRESULT WINAPI DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT WINAPI SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL WINAPI GetMessageA(MSG* message, HWND hwnd, UINT filterMin, UINT filterMax);
BOOL WINAPI TranslateMessage(const MSG* message);
LRESULT WINAPI DispatchMessageA(const MSG* message);
void WINAPI PostQuitMessage(int exitCode);
UINT_PTR WINAPI SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC timerProc);

// --- device contexts, pixel formats and OpenGL contexts ---

typedef struct tagPIXELFORMATDESCRIPTOR {
    WORD nSize;
    WORD nVersion;
    DWORD dwFlags;
    BYTE iPixelType;
    BYTE cColorBits;
    BYTE cRedBits;
    BYTE cRedShift;
    BYTE cGreenBits;
    BYTE cGreenShift;
    BYTE cBlueBits;
    BYTE cBlueShift;
    BYTE cAlphaBits;
    BYTE cAlphaShift;
    BYTE cAccumBits;
    BYTE cAccumRedBits;
    BYTE cAccumGreenBits;
    BYTE cAccumBlueBits;
    BYTE cAccumAlphaBits;
    BYTE cDepthBits;
    BYTE cStencilBits;
    BYTE cAuxBuffers;
    BYTE iLayerType;
    BYTE bReserved;
    DWORD dwLayerMask;
    DWORD dwVisibleMask;
    DWORD dwDamageMask;
} PIXELFORMATDESCRIPTOR;

#define PFD_DOUBLEBUFFER 0x00000001
#define PFD_STEREO 0x00000002
#define PFD_DRAW_TO_WINDOW 0x00000004
#define PFD_SUPPORT_OPENGL 0x00000020
#define PFD_DEPTH_DONTCARE 0x20000000
#define PFD_DOUBLEBUFFER_DONTCARE 0x40000000
#define PFD_STEREO_DONTCARE 0x80000000
#define PFD_TYPE_RGBA 0
#define PFD_TYPE_COLORINDEX 1
#define PFD_MAIN_PLANE 0

HDC WINAPI GetDC(HWND hwnd);
int WINAPI ReleaseDC(HWND hwnd, HDC hdc);
HWND WINAPI WindowFromDC(HDC hdc);
int WINAPI ChoosePixelFormat(HDC hdc, const PIXELFORMATDESCRIPTOR* descriptor);
BOOL WINAPI SetPixelFormat(HDC hdc, int format, const PIXELFORMATDESCRIPTOR* descriptor);
HGLRC WINAPI wglCreateContext(HDC hdc);
BOOL WINAPI wglMakeCurrent(HDC hdc, HGLRC context);
BOOL WINAPI wglDeleteContext(HGLRC context);
BOOL WINAPI SwapBuffers(HDC hdc);

// --- message box ---

#define MB_OK 0x00000000L
#define MB_ICONERROR 0x00000010L
#define IDOK 1

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// --- input state ---

#define VK_LBUTTON 0x01
#define VK_RBUTTON 0x02
#define VK_MBUTTON 0x04
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_MULTIPLY 0x6A
#define VK_ADD 0x6B
#define VK_SUBTRACT 0x6D
#define VK_DIVIDE 0x6F
#define VK_OEM_PLUS 0xBB   // the main keyboard's =/+ key, whatever the layout
#define VK_OEM_MINUS 0xBD  // the main keyboard's -/_ key

SHORT WINAPI GetKeyState(int virtualKey);
BOOL WINAPI GetCursorPos(POINT* point);

// --- process entry ---

// Defined by the application; the layer's main calls it.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand);

#ifdef __cplusplus
}
#endif
