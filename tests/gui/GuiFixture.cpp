#include "gui/GuiFixture.h"

#include <QCoreApplication>

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
    const QPointF global = widget.mapToGlobal(QPointF(local));
    QMouseEvent event(type, QPointF(local), global, button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
}

GuiFixture::GuiFixture()
{
    TestApplication();
}

void GuiFixture::WriteSkin(std::string_view leaveOut)
{
    struct Picture
    {
        std::string_view path;
        QSize size;
        QRgb colour;
    };
    const Picture pictures[] = {
        {"/main.png", {1000, 640}, kBackground},
        {"/button-save-normal.png", {57, 30}, kSaveNormalColour},
        {"/button-save-over.png", {57, 30}, kSaveOverColour},
        {"/Menu/Section-normal.png", {242, 20}, kHeaderColour},
        {"/Menu/Section-over.png", {242, 20}, kHeaderOverColour},
        {"/Menu/SectionOpen-normal.png", {242, 20}, kOpenHeaderColour},
        {"/Menu/SectionOpen-over.png", {242, 20}, kOpenHeaderColour},
        {"/Lighting/BK_Lighting.png", {242, 110}, kLightingColour},
        {"/ScrollThumb.png", {10, 60}, kThumbColour},
        {"/Help/HelpWindow.png", {166, 78}, kHelpColour},
    };
    for (const Picture& picture : pictures) {
        if (picture.path != leaveOut) {
            WritePicture(skinDir / std::filesystem::path(picture.path).relative_path(), picture.size,
                         QColor::fromRgba(picture.colour));
        }
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

QRgb GuiFixture::PixelAt(QWidget& widget, QPoint p)
{
    return widget.grab().toImage().pixel(p);
}

} // namespace veldrane::test
