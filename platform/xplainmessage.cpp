// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/xplainmessage.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#ifdef ZEK_HAVE_XCB
#include <xcb/xcb.h>
#endif

#ifdef ZEK_HAVE_XCB
namespace {

std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines(1);
  for (char c : text) {
    if (c == '\r' || c == '\n') lines.emplace_back();
    else lines.back() += c;
  }
  return lines;
}

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::uint16_t(std::strlen(name)), name), nullptr);
  const xcb_atom_t a = r ? r->atom : XCB_ATOM_NONE;
  std::free(r);
  return a;
}

// The box on one screen, drawn in its black and white, with a core font ("fixed" is always
// there, also on a bare virtual server). Windows-1252 and the font's Latin-1 agree on the
// German letters.
class TPlainBox {
 public:
  TPlainBox(xcb_connection_t* c, xcb_screen_t* s, std::string_view text) : m_c(c), m_s(s), m_lines(splitLines(text)) {}

  bool run() {
    m_font = xcb_generate_id(m_c);
    if (xcb_request_check(m_c, xcb_open_font_checked(m_c, m_font, 5, "fixed"))) return false;
    xcb_query_font_reply_t* f = xcb_query_font_reply(m_c, xcb_query_font(m_c, m_font), nullptr);
    if (!f) return false;
    m_charWidth = std::max<int>(1, f->max_bounds.character_width);
    m_ascent = f->font_ascent;
    m_lineHeight = f->font_ascent + f->font_descent + 2;
    std::free(f);

    std::size_t longest = 0;
    for (const std::string& l : m_lines) longest = std::max(longest, l.size());
    m_width = std::min<int>(m_s->width_in_pixels, int(longest) * m_charWidth + 2 * kPad);
    m_width = std::max(m_width, 200);
    m_height = int(m_lines.size()) * m_lineHeight + 3 * kPad + kButtonHeight;
    m_button = {std::int16_t((m_width - kButtonWidth) / 2), std::int16_t(m_height - kPad - kButtonHeight),
                std::uint16_t(kButtonWidth), std::uint16_t(kButtonHeight)};

    m_window = xcb_generate_id(m_c);
    const std::uint32_t values[] = {m_s->white_pixel, m_s->black_pixel,
                                    XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_BUTTON_PRESS};
    xcb_create_window(m_c, XCB_COPY_FROM_PARENT, m_window, m_s->root,
                      std::int16_t((m_s->width_in_pixels - m_width) / 2), std::int16_t((m_s->height_in_pixels - m_height) / 2),
                      std::uint16_t(m_width), std::uint16_t(m_height), 1, XCB_WINDOW_CLASS_INPUT_OUTPUT, m_s->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_BORDER_PIXEL | XCB_CW_EVENT_MASK, values);
    static const char kTitle[] = "zek englisch";
    xcb_change_property(m_c, XCB_PROP_MODE_REPLACE, m_window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, sizeof kTitle - 1, kTitle);
    const xcb_atom_t protocols = atom(m_c, "WM_PROTOCOLS");
    const xcb_atom_t deleteWindow = atom(m_c, "WM_DELETE_WINDOW");
    xcb_change_property(m_c, XCB_PROP_MODE_REPLACE, m_window, protocols, XCB_ATOM_ATOM, 32, 1, &deleteWindow);

    m_gc = xcb_generate_id(m_c);
    const std::uint32_t gcValues[] = {m_s->black_pixel, m_s->white_pixel, m_font};
    xcb_create_gc(m_c, m_gc, m_window, XCB_GC_FOREGROUND | XCB_GC_BACKGROUND | XCB_GC_FONT, gcValues);
    xcb_map_window(m_c, m_window);
    xcb_flush(m_c);

    bool done = false;
    while (!done) {
      xcb_generic_event_t* e = xcb_wait_for_event(m_c);
      if (!e) break;  // the connection is gone
      switch (e->response_type & 0x7f) {
        case XCB_EXPOSE:
          if (reinterpret_cast<xcb_expose_event_t*>(e)->count == 0) draw();
          break;
        case XCB_KEY_PRESS: done = true; break;
        case XCB_BUTTON_PRESS: {
          const auto* b = reinterpret_cast<xcb_button_press_event_t*>(e);
          done = b->event_x >= m_button.x && b->event_x < m_button.x + m_button.width && b->event_y >= m_button.y &&
                 b->event_y < m_button.y + m_button.height;
          break;
        }
        case XCB_CLIENT_MESSAGE:
          done = reinterpret_cast<xcb_client_message_event_t*>(e)->data.data32[0] == deleteWindow;
          break;
        default: break;
      }
      std::free(e);
    }
    xcb_destroy_window(m_c, m_window);
    xcb_free_gc(m_c, m_gc);
    xcb_close_font(m_c, m_font);
    xcb_flush(m_c);
    return true;
  }

 private:
  static constexpr int kPad = 16, kButtonWidth = 80, kButtonHeight = 24;

  void text(int x, int y, const std::string& s) {
    const std::size_t n = std::min<std::size_t>(s.size(), 255);  // one request takes 255 bytes
    if (n > 0) xcb_image_text_8(m_c, std::uint8_t(n), m_window, m_gc, std::int16_t(x), std::int16_t(y), s.data());
  }

  void draw() {
    int y = kPad + m_ascent;
    for (const std::string& l : m_lines) {
      text(kPad, y, l);
      y += m_lineHeight;
    }
    xcb_poly_rectangle(m_c, m_window, m_gc, 1, &m_button);
    const std::string ok = "OK";
    text(m_button.x + (m_button.width - int(ok.size()) * m_charWidth) / 2,
         m_button.y + (m_button.height + m_ascent) / 2 - 1, ok);
    xcb_flush(m_c);
  }

  xcb_connection_t* m_c;
  xcb_screen_t* m_s;
  std::vector<std::string> m_lines;
  xcb_font_t m_font = 0;
  xcb_gcontext_t m_gc = 0;
  xcb_window_t m_window = 0;
  xcb_rectangle_t m_button{};
  int m_charWidth = 6, m_ascent = 10, m_lineHeight = 14, m_width = 0, m_height = 0;
};

}  // namespace
#endif

bool showPlainXMessage(std::string_view text) {
#ifdef ZEK_HAVE_XCB
  // Only where Qt's own box cannot be seen: X screens of 256 colours or fewer.
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (QGuiApplication::platformName() != "xcb" || !screen || screen->depth() > 8) return false;
  int number = 0;
  xcb_connection_t* c = xcb_connect(nullptr, &number);
  bool shown = false;
  if (!xcb_connection_has_error(c)) {
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < number && it.rem; ++i) xcb_screen_next(&it);
    if (it.rem) shown = TPlainBox(c, it.data, text).run();
  }
  xcb_disconnect(c);
  return shown;
#else
  (void)text;
  return false;
#endif
}
