// The window captions as the window manager reads them: the _NET_WM_NAME and WM_NAME
// properties that the X server holds for each window. Runs under Xvfb on Qt's xcb platform.

#include <xcb/xcb.h>

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <cstdlib>

#include "core/calculation/calculation.h"
#include "ui/application.h"
#include "ui/form_vorta.h"
#include "ui_test_support.h"

using namespace uitest;

namespace {

// A connection of its own to the X server, as the window manager has.
class XServer {
  public:
    XServer() : connection_(xcb_connect(nullptr, nullptr)) {}
    ~XServer() { xcb_disconnect(connection_); }
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    bool connected() const { return xcb_connection_has_error(connection_) == 0; }

    // The window's text property decoded by its type: UTF8_STRING as UTF-8, STRING as
    // Latin-1. A missing property or one of another type is described so it never compares equal.
    QString text(WId window, const char* name) {
        const xcb_atom_t property = atom(name);
        xcb_get_property_reply_t* reply =
            xcb_get_property_reply(connection_,
                                   xcb_get_property(connection_, 0, xcb_window_t(window), property,
                                                    XCB_GET_PROPERTY_TYPE_ANY, 0, 4096),
                                   nullptr);
        if (!reply) return QString("(no reply for %1)").arg(name);
        const QByteArray bytes(static_cast<const char*>(xcb_get_property_value(reply)),
                               xcb_get_property_value_length(reply));
        const xcb_atom_t type = reply->type;
        const int format = reply->format;
        std::free(reply);
        if (type == XCB_ATOM_NONE) return QString("(no %1)").arg(name);
        if (format == 8 && type == atom("UTF8_STRING")) return QString::fromUtf8(bytes);
        if (format == 8 && type == XCB_ATOM_STRING) return QString::fromLatin1(bytes);
        return QString("(%1 of type %2: %3)").arg(name, atomName(type), QString::fromLatin1(bytes.toHex()));
    }

  private:
    xcb_atom_t atom(const char* name) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            connection_, xcb_intern_atom(connection_, 0, uint16_t(qstrlen(name)), name), nullptr);
        const xcb_atom_t found = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return found;
    }

    QString atomName(xcb_atom_t atom) {
        xcb_get_atom_name_reply_t* reply =
            xcb_get_atom_name_reply(connection_, xcb_get_atom_name(connection_, atom), nullptr);
        if (!reply) return QString::number(atom);
        const QString name =
            QString::fromLatin1(xcb_get_atom_name_name(reply), xcb_get_atom_name_name_length(reply));
        std::free(reply);
        return name;
    }

    xcb_connection_t* connection_;
};

XServer* server = nullptr;

// Both captions of a shown window. Once the window is exposed the server has also carried
// out the property changes that Qt sent before mapping it.
QStringList captions(QWidget& window) {
    if (!QTest::qWaitForWindowExposed(&window)) return {"(not exposed)"};
    return {server->text(window.winId(), "_NET_WM_NAME"), server->text(window.winId(), "WM_NAME")};
}

QStringList twice(const QString& caption) { return {caption, caption}; }

}  // namespace

class CaptionTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void cleanupTestCase() { delete server; }
    void MainWindowShowsItsTitleAlone();
    void AboutShowsItsTitleAlone();
    void MessageBoxShowsTheProgramName();
};

void CaptionTest::initTestCase() {
    // Elsewhere (offscreen, another platform) there would be no X server to read the captions from.
    QCOMPARE(QGuiApplication::platformName(), QString("xcb"));
    vorta::ui::setUpApplication();
    server = new XServer;
    QVERIFY(server->connected());
}

void CaptionTest::MainWindowShowsItsTitleAlone() {
    WorkingDir dir;
    dir.writeCatalog({kWorkedLine});
    auto window = openWindow();
    QCOMPARE(captions(*window), twice("Karman-Trefftz Airfoil Coordinates and Velocities"));
}

void CaptionTest::AboutShowsItsTitleAlone() {
    WorkingDir dir;
    dir.writeCatalog({kWorkedLine});
    auto window = openWindow();
    control<QAction>(*window, "Mn_About")->trigger();
    QWidget* about = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == "Form_About" && w->isVisible()) about = w;
    }
    QVERIFY(about);
    QCOMPARE(captions(*about), twice("About"));
    // The main window keeps its own caption beside it.
    QCOMPARE(captions(*window), twice("Karman-Trefftz Airfoil Coordinates and Velocities"));
}

void CaptionTest::MessageBoxShowsTheProgramName() {
    WorkingDir dir;
    dir.writeCatalog({kWorkedLine});
    auto window = openWindow();
    QStringList shown;
    const QStringList messages =
        answerMessages([&] { click(*window, "Command2"); }, [&](QMessageBox& box) { shown = captions(box); });
    QCOMPARE(messages, QStringList{vorta::kChooseAirfoilMessage});
    // Qt writes its fallback to _NET_WM_NAME alone and leaves the untitled box's WM_NAME empty;
    // window managers show _NET_WM_NAME where it is set.
    QCOMPARE(shown, (QStringList{"Vorta", ""}));
}

QTEST_MAIN(CaptionTest)
#include "caption_test.moc"
