#include "gui/GuiFixture.h"

#include <QCoreApplication>
#include <QInputDevice>
#include <QKeyEvent>
#include <QWindow>

#include <tuple>

namespace veldrane::test {

namespace {

QApplication* g_application = nullptr;

// The application ends with the tests, before the static objects of Qt go away.
class ApplicationEnvironment : public ::testing::Environment
{
public:
    void TearDown() override
    {
        delete g_application;
        g_application = nullptr;
    }
};

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

} // namespace

QApplication& TestApplication()
{
    static int argc = 1;
    static char name[] = "gui_tests";
    static char* argv[] = {name, nullptr};
    if (!g_application) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        // Qt's list of input devices must outlive the application, whose children include the
        // devices of synthetic events: taken before the application, it is destroyed after it.
        QInputDevice::devices();
        g_application = new QApplication(argc, argv);
    }
    return *g_application;
}

void WritePicture(const std::filesystem::path& file, QSize size, QColor colour)
{
    std::filesystem::create_directories(file.parent_path());
    QImage picture(size, QImage::Format_ARGB32);
    picture.fill(colour);
    ASSERT_TRUE(picture.save(QString::fromStdString(file.string()), "PNG")) << file;
}

void SendMouse(QWidget& widget, QEvent::Type type, QPoint local, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, QPointF(local), widget.mapToGlobal(QPointF(local)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
}

void Click(QWidget& widget, QPoint local)
{
    SendMouse(widget, QEvent::MouseButtonPress, local, Qt::LeftButton, Qt::LeftButton);
    SendMouse(widget, QEvent::MouseButtonRelease, local, Qt::LeftButton, Qt::NoButton);
}

void TapKey(QWidget& widget, int qtKey, std::uint32_t evdevCode)
{
    QObject* target = widget.windowHandle() ? static_cast<QObject*>(widget.windowHandle()) : &widget;
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, qtKey, Qt::NoModifier, evdevCode == 0 ? 0 : evdevCode + 8, 0, 0);
        QCoreApplication::sendEvent(target, &event);
    }
}

void GuiFixture::WriteSkin()
{
    const std::tuple<std::string_view, QSize, QRgb> pictures[] = {
        {"main.png", {1000, 640}, kBackground},
        {"button-save-normal.png", {57, 30}, 0xff0000ff},
        {"button-save-over.png", {57, 30}, kSaveOverColour},
        {"Menu/Section-normal.png", {242, 20}, kHeaderColour},
        {"Menu/Section-over.png", {242, 20}, 0xff00ff00},
        {"Menu/SectionOpen-normal.png", {242, 20}, kOpenHeaderColour},
        {"Menu/SectionOpen-over.png", {242, 20}, kOpenHeaderColour},
        {"Lighting/BK_Lighting.png", {242, 110}, kLightingColour},
        {"ScrollThumb.png", {10, 60}, 0xffffffff},
        {"DPISetting/BK_DPISetting.png", {242, 232}, 0xff202030},
        {"MouseAttribute/BK_ScrollSpeed.png", {242, 80}, 0xff202030},
        {"MouseAttribute/ScrollSpeed/ScrollLines.png", {48, 20}, 0xff101010},
    };
    for (const auto& [path, size, colour] : pictures) {
        WritePicture(skinDir / path, size, QColor::fromRgba(colour));
    }
}

CHidMouseDlg& GuiFixture::Window()
{
    if (!window) {
        window = std::make_unique<CHidMouseDlg>(guiContext, cache);
        window->show();
    }
    return *window;
}

} // namespace veldrane::test
