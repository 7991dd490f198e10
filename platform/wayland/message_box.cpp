// MessageBoxA as a small toplevel of its own, drawn with cairo into shared memory: error icon,
// text in DejaVu Sans (fonts-dejavu-core) found through fontconfig, one OK button.

#include "platform/wayland/wayland_state.h"

#include <cairo.h>
#include <libdecor.h>
#include <xkbcommon/xkbcommon-keysyms.h>

#include <cmath>
#include <sys/mman.h>
#include <unistd.h>

namespace {

const char FONT_FAMILY[] = "DejaVu Sans";
const double FONT_SIZE = 13;
const int MARGIN = 16;
const int ICON_SIZE = 32;
const int BUTTON_WIDTH = 75;
const int BUTTON_HEIGHT = 23;
const int MINIMUM_WIDTH = 180;
const int MAX_LINE_BYTES = 1024;

struct Rectangle {
    int x, y, width, height;
};

// Calls `line` with each line of the box's text, in UTF-8, and its index.
template <typename Visit>
void ForEachLine(const char* text, Visit line)
{
    char utf8[4 * MAX_LINE_BYTES];
    int index = 0;
    for (const char* start = text;; ++index) {
        const char* end = start;
        while (*end && *end != '\n')
            ++end;
        char cp1252[MAX_LINE_BYTES];
        const size_t length = (size_t)(end - start) < sizeof cp1252 - 1 ? (size_t)(end - start)
                                                                         : sizeof cp1252 - 1;
        for (size_t i = 0; i < length; ++i)
            cp1252[i] = start[i];
        cp1252[length] = '\0';
        Cp1252ToUtf8(cp1252, utf8, sizeof utf8);
        line(utf8, index);
        if (!*end)
            return;
        start = end + 1;
    }
}

void UseFont(cairo_t* cairo)
{
    cairo_select_font_face(cairo, FONT_FAMILY, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cairo, FONT_SIZE);
}

struct Layout {
    int width, height;
    int textX, textY, lineHeight;
    Rectangle button;
};

Layout PlanLayout(const char* text)
{
    cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t* cairo = cairo_create(scratch);
    UseFont(cairo);
    cairo_font_extents_t font;
    cairo_font_extents(cairo, &font);
    double textWidth = 0;
    int lineCount = 0;
    ForEachLine(text, [&](const char* line, int) {
        cairo_text_extents_t extents;
        cairo_text_extents(cairo, line, &extents);
        textWidth = extents.x_advance > textWidth ? extents.x_advance : textWidth;
        ++lineCount;
    });
    cairo_destroy(cairo);
    cairo_surface_destroy(scratch);

    Layout layout = {};
    layout.lineHeight = (int)std::lround(font.height);
    const int textHeight = layout.lineHeight * lineCount;
    const int bodyHeight = textHeight > ICON_SIZE ? textHeight : ICON_SIZE;
    layout.textX = MARGIN + ICON_SIZE + MARGIN;
    layout.textY = MARGIN + (bodyHeight - textHeight) / 2 + (int)font.ascent;
    layout.width = layout.textX + (int)textWidth + 1 + MARGIN;
    layout.width = layout.width > MINIMUM_WIDTH ? layout.width : MINIMUM_WIDTH;
    layout.height = MARGIN + bodyHeight + MARGIN + BUTTON_HEIGHT + MARGIN;
    layout.button = Rectangle{(layout.width - BUTTON_WIDTH) / 2,
                              layout.height - MARGIN - BUTTON_HEIGHT, BUTTON_WIDTH, BUTTON_HEIGHT};
    return layout;
}

void DrawErrorIcon(cairo_t* cairo)
{
    const double centre = MARGIN + ICON_SIZE / 2.0;
    cairo_set_source_rgb(cairo, 0.80, 0.0, 0.0);
    cairo_arc(cairo, centre, centre, ICON_SIZE / 2.0, 0, 6.2832);
    cairo_fill(cairo);
    cairo_set_source_rgb(cairo, 1, 1, 1);
    cairo_set_line_width(cairo, 3);
    cairo_set_line_cap(cairo, CAIRO_LINE_CAP_ROUND);
    const double low = MARGIN + ICON_SIZE / 3.0;
    const double high = MARGIN + ICON_SIZE - ICON_SIZE / 3.0;
    cairo_move_to(cairo, low, low);
    cairo_line_to(cairo, high, high);
    cairo_move_to(cairo, low, high);
    cairo_line_to(cairo, high, low);
    cairo_stroke(cairo);
}

void DrawButton(cairo_t* cairo, const Rectangle& button)
{
    cairo_set_source_rgb(cairo, 0, 0, 0);
    cairo_set_line_width(cairo, 1);
    cairo_rectangle(cairo, button.x + 0.5, button.y + 0.5, button.width - 1, button.height - 1);
    cairo_stroke(cairo);
    cairo_text_extents_t label;
    cairo_text_extents(cairo, "OK", &label);
    cairo_move_to(cairo, button.x + (button.width - label.x_advance) / 2,
                  button.y + (button.height - label.height) / 2 - label.y_bearing);
    cairo_show_text(cairo, "OK");
}

void Paint(cairo_t* cairo, const Layout& layout, const char* text)
{
    cairo_set_source_rgb(cairo, 0.88, 0.88, 0.88);
    cairo_paint(cairo);
    DrawErrorIcon(cairo);
    UseFont(cairo);
    cairo_set_source_rgb(cairo, 0, 0, 0);
    ForEachLine(text, [&](const char* line, int index) {
        cairo_move_to(cairo, layout.textX, layout.textY + index * layout.lineHeight);
        cairo_show_text(cairo, line);
    });
    DrawButton(cairo, layout.button);
}

// A buffer of shared memory the size of the box's pixels, drawn once.
wl_buffer* DrawnBuffer(const Layout& layout, int scale, const char* text)
{
    const int width = layout.width * scale;
    const int height = layout.height * scale;
    const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, width);
    const size_t size = (size_t)stride * (size_t)height;
    const int fd = memfd_create("message-box", MFD_CLOEXEC);
    void* pixels = fd >= 0 && ftruncate(fd, (off_t)size) == 0
                       ? mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0)
                       : MAP_FAILED;
    if (pixels == MAP_FAILED) {
        if (fd >= 0)
            close(fd);
        return nullptr;
    }
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        (unsigned char*)pixels, CAIRO_FORMAT_ARGB32, width, height, stride);
    cairo_t* cairo = cairo_create(surface);
    cairo_scale(cairo, scale, scale);
    Paint(cairo, layout, text);
    cairo_destroy(cairo);
    cairo_surface_destroy(surface);
    munmap(pixels, size);

    wl_shm_pool* pool = wl_shm_create_pool(wayland.shm, fd, (int32_t)size);
    wl_buffer* buffer =
        wl_shm_pool_create_buffer(pool, 0, width, height, stride, WL_SHM_FORMAT_ARGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    return buffer;
}

bool IsOnButton(const Rectangle& button, int x, int y)
{
    return x >= button.x && x < button.x + button.width && y >= button.y &&
           y < button.y + button.height;
}

}  // namespace

// --- the box's share of the events ---

void DrawBox(WaylandWindow& window)
{
    WaylandBox& box = wayland.box;
    wl_buffer* buffer = DrawnBuffer(PlanLayout(box.text), window.scale, box.text);
    if (!buffer)
        return;
    wl_surface_set_buffer_scale(window.surface, window.scale);
    wl_surface_attach(window.surface, buffer, 0, 0);
    wl_surface_damage(window.surface, 0, 0, INT32_MAX, INT32_MAX);
    wl_surface_commit(window.surface);
    if (box.buffer)
        wl_buffer_destroy(box.buffer);
    box.buffer = buffer;
}

void BoxKeyPressed(xkb_keysym_t keysym)
{
    if (keysym == XKB_KEY_Return || keysym == XKB_KEY_KP_Enter || keysym == XKB_KEY_space ||
        keysym == XKB_KEY_Escape)
        wayland.box.dismissed = true;
}

void BoxButtonChanged(int x, int y, bool pressed)
{
    WaylandBox& box = wayland.box;
    const bool onButton = IsOnButton(PlanLayout(box.text).button, x, y);
    if (pressed)
        box.pressedOnButton = onButton;
    else if (box.pressedOnButton && onButton)
        box.dismissed = true;
    else
        box.pressedOnButton = false;
}

// Events for the program's windows go on to the core meanwhile and wait in its queue.
void WaylandMessageBox(HWND owner, const char* text, const char* caption)
{
    WaylandBox& box = wayland.box;
    box = WaylandBox{};
    box.text = text;
    const Layout layout = PlanLayout(text);
    ShowSurface(box.window, caption, layout.width, layout.height);
    const WaylandWindow* ownerWindow = owner ? (WaylandWindow*)owner->native : nullptr;
    if (ownerWindow && ownerWindow->frame)
        libdecor_frame_set_parent(box.window.frame, ownerWindow->frame);
    while (!box.dismissed) {
        WaylandWaitForEvents(NO_DEADLINE);
        WaylandDrainEvents();
    }
    HideSurface(box.window);
    if (box.buffer)
        wl_buffer_destroy(box.buffer);
    Roundtrip();
    box = WaylandBox{};
}
