// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/screensaver.h"

#include "platform/appstate.h"

#include <QCoreApplication>

#ifdef ZEK_HAVE_DBUS
#include <QDBusConnection>
#include <QDBusMessage>
#endif

#include <cstdlib>
#include <filesystem>

namespace {

#ifdef ZEK_HAVE_DBUS
// A hung bus must not freeze the window thread for the default 25 s.
constexpr int kCallTimeoutMs = 500;

// Only a bus that is really there: no autolaunch of a bus daemon for one call.
bool sessionBusConfigured() {
  if (!QCoreApplication::instance()) return false;
  if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address && *address) return true;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  std::error_code ec;
  return runtime && *runtime && std::filesystem::exists(std::filesystem::path(runtime) / "bus", ec);
}

QDBusMessage screenSaverCall(const char* method) {
  return QDBusMessage::createMethodCall("org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver",
                                        "org.freedesktop.ScreenSaver", method);
}
#endif

TScreenSaverGuard& presentationGuard() {
  static TScreenSaverGuard guard;
  return guard;
}

}  // namespace

bool TScreenSaverGuard::inhibit() {
  if (m_cookie != 0) return true;
#ifdef ZEK_HAVE_DBUS
  if (!sessionBusConfigured()) return false;
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return false;
  QDBusMessage call = screenSaverCall("Inhibit");
  call << QStringLiteral("zek englisch") << QStringLiteral("Pr\u00E4sentation l\u00E4uft");
  const QDBusMessage reply = bus.call(call, QDBus::Block, kCallTimeoutMs);
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return false;
  m_cookie = reply.arguments().front().toUInt();
#endif
  return m_cookie != 0;
}

void TScreenSaverGuard::release() {
  if (m_cookie == 0) return;
#ifdef ZEK_HAVE_DBUS
  if (sessionBusConfigured()) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    QDBusMessage call = screenSaverCall("UnInhibit");
    call << m_cookie;
    if (bus.isConnected()) bus.send(call);  // no reply needed
  }
#endif
  m_cookie = 0;
}

void setPresentationRunning(bool on) {
  appState().PresentationRunning = on;
  if (on) {
    presentationGuard().inhibit();
  } else {
    presentationGuard().release();
  }
}
